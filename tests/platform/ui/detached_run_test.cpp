#include "platform/ui/detached_run.h"
#include "platform/ui/shell.h"
#include "support/desktop_fixtures.h"
#include "support/test_environment.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(StartDetached, SaysWhyAProgramDidNotStart) {
    const QString folder = testsupport::TemporaryFolder();
    testsupport::WriteTextFile(folder + "/plain-text", "#!/bin/sh\n");
    testsupport::WriteTextFile(folder + "/garbage", QByteArray("\x7f\x01\x02garbage", 10));
    QFile::setPermissions(folder + "/garbage", QFile::ReadOwner | QFile::ExeOwner);

    EXPECT_EQ(ui::StartDetached({folder + "/missing", "x"}), ui::SE_ERR_FNF);
    EXPECT_EQ(ui::StartDetached({"quillet-no-such-program-anywhere"}), ui::SE_ERR_FNF);
    EXPECT_EQ(ui::StartDetached({folder + "/plain-text"}), ui::SE_ERR_ACCESSDENIED);
    EXPECT_EQ(ui::StartDetached({folder}), ui::SE_ERR_ACCESSDENIED);
    EXPECT_EQ(ui::StartDetached({folder + "/garbage"}), ui::SE_ERR_BAD_FORMAT);
}

TEST(StartDetached, LooksAlongThePathPastFilesThatMayNotRun) {
    const QString output = testsupport::TemporaryFolder() + "/arguments";
    const QFileInfo recorder(testsupport::ArgumentRecorder(output));
    const QString blocked = testsupport::TemporaryFolder();
    testsupport::WriteTextFile(blocked + '/' + recorder.fileName(), "not a program\n");

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", (blocked + ':' + recorder.path()).toUtf8() + ':' + path);
    const int result = ui::StartDetached({recorder.fileName(), "one two", ""});
    qputenv("PATH", path);

    EXPECT_EQ(result, ui::SE_OPENED);
    EXPECT_EQ(testsupport::RecordedArguments(output), QStringList({"one two", ""}));
}
