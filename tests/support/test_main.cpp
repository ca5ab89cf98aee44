// The main of every test program that needs no main window: a headless QApplication, a
// private home, the C numeric locale, and a private settings root.
#include "support/test_environment.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testsupport::PrepareHeadless();
    testsupport::UsePrivateHome();
    QApplication app(argc, argv);
    testsupport::AfterApplicationStarted();
    return RUN_ALL_TESTS();
}
