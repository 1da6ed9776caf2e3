#include <QApplication>

#include <gtest/gtest.h>

#include "testsupport/ScriptedPromptsGtest.h"

#include <cstdlib>

// The main() of every window-test executable. Test discovery runs the binary at build time,
// where no display may exist, so the offscreen platform is chosen unless one is set.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
