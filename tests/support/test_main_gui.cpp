#include <gtest/gtest.h>

#include <QApplication>

// View suites run under a QApplication on the offscreen platform.
int main(int argc, char** argv) {
    // Also when CTest lists the tests at build time, outside the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
