#include <gtest/gtest.h>

#include <QCoreApplication>

// Core suites run under a QCoreApplication so that sockets and timers work without a display.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
