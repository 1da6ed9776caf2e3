#include <QCoreApplication>

#include <gtest/gtest.h>

// The driver's notifications arrive as queued signals: the tests need an application object for them.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
