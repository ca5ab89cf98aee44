// The main window's tests run under its own application object, with the home folder and the
// settings in private folders so nothing of the user's is read or written.
#include "app/vellum_app.h"
#include "support/test_environment.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testsupport::PrepareHeadless();
    QTemporaryDir home;
    setenv("HOME", home.path().toUtf8().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8().constData(), 1);
    CVellumApp app(argc, argv);
    testsupport::AfterApplicationStarted();
    return RUN_ALL_TESTS();
}
