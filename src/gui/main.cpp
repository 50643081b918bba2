// quellmark: the desktop program. Hands the arguments to the start routine.
#include <QApplication>

#include <string>
#include <vector>

#include "gui/app/startoptions.h"
#include "gui/app/startroutine.h"

int main(int argc, char** argv) {
    // A question for the terminal is answered before Qt looks for a display. Other arguments
    // wait for QApplication, which takes its own options (-platform, -style) out of them first.
    const std::vector<std::string> raw(argv + 1, argv + argc);
    const qm::gui::ParsedStart early = qm::gui::parsestartoptions(raw);
    if (early.ok && (early.options.help || early.options.version)) {
        return qm::gui::answeronterminal(raw).value_or(0);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quellmark");
    // The installed desktop entry, whose icon the desktop shows for the window.
    QGuiApplication::setDesktopFileName("org.quellmark.Quellmark");
    std::vector<std::string> args;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
    return qm::gui::startroutine(app, args);
}
