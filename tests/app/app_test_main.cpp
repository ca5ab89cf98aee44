// The main window's tests run under its own application object, with the home folder and the
// settings in private folders so nothing of the user's is read or written.
#include "app/vellum_app.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testsupport::PrepareHeadless();
    testsupport::UsePrivateHome();
    CVellumApp app(argc, argv);
    testsupport::AfterApplicationStarted();
    return RUN_ALL_TESTS();
}
