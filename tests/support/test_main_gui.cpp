#include <gtest/gtest.h>

#include <QApplication>

// View suites run under a QApplication on the offscreen platform.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
