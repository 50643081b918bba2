#include <gtest/gtest.h>

#include <QApplication>

// Widgets need a QApplication. Without a display the windows are drawn offscreen, also when the
// test list is read by CTest before any test runs.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
