// quellmark: the desktop program. Hands the arguments to the start routine.
#include <QApplication>

#include <string>
#include <vector>

#include "gui/app/startroutine.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quellmark");
    std::vector<std::string> args;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
    return qm::gui::startroutine(app, args);
}
