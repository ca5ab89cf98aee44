// The main window's tests run under its own application object, with the home folder and the
// settings in private folders so nothing of the user's is read or written.
#include "app/vellum_app.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testsupport::PrepareHeadless();
    testsupport::UsePrivateHome();
    CVellumApp app(argc, argv);
    testsupport::AfterApplicationStarted();
    const int result = RUN_ALL_TESTS();
    // Every test has run and reported. The sound server's client library can abort while the
    // toolkit's sound engine is torn down at exit (a pending event of its main loop), which
    // would turn a passed run into a failed one: the program ends here, without that teardown.
    testsupport::RemoveTemporaryFolders();
    std::fflush(nullptr);
    std::_Exit(result);
}
