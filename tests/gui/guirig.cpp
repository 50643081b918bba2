#include "guirig.h"

#include <QLabel>
#include <QPushButton>

#include "gui/app/elidedlabel.h"
#include "gui/dialogs/messagebox.h"

namespace qm::gui::test {

QString GuiRig::text(const char* name) const {
    if (const auto* elided = qobject_cast<const ElidedLabel*>(window->findChild<QLabel*>(name)))
        return elided->fulltext();
    const QLabel* label = find<QLabel>(name);
    return label != nullptr ? label->text() : QString();
}

void GuiRig::click(const char* name) const {
    if (auto* widget = find<QWidget>(name)) QTest::mouseClick(widget, Qt::LeftButton);
}

void acceptmessage(SeenBox& seen) {
    whenmodal<MessageBox>([&seen](MessageBox* box) {
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->findChild<QLabel*>("lab_title")->text();
        QTest::mouseClick(box->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
}

BoxWatch::BoxWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (auto* box = qobject_cast<MessageBox*>(QApplication::activeModalWidget())) {
            texts_ << box->findChild<QLabel*>("lab_title")->text();
            box->close();
        }
    });
    timer_.start(5);
}

}  // namespace qm::gui::test
