#include <gtest/gtest.h>

#include <QCoreApplication>

// Platform code asks Qt for the application folder, settings paths and the event loop, which
// need a running QCoreApplication; this main provides one for every platform test.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
