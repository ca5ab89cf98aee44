// The install into a prefix of the test's own: the files where the desktop and the program
// look for them, valid desktop metadata, and the installed program finding its language files
// and help page there.
#include "app/help_page.h"
#include "language/language.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Runs a program to its end; its exit code, or -1 when it could not run.
int RunProgram(const QString& program, const QStringList& arguments, QString* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

class InstallTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        prefix = new QString(testsupport::TemporaryFolder() + "/prefix");
        QString output;
        installed = RunProgram(QUILLET_CMAKE_COMMAND,
                        {"--install", QUILLET_BUILD_DIR, "--prefix", *prefix}, &output) == 0;
        if (!installed)
            ADD_FAILURE() << output.toStdString();
    }
    void SetUp() override { ASSERT_TRUE(installed); }

    static QString Path(const QString& relative) { return *prefix + "/" + relative; }
    static const QString kId;
    static inline QString* prefix = nullptr;
    static inline bool installed = false;
};

const QString InstallTest::kId = QUILLET_APP_ID;

} // namespace

TEST_F(InstallTest, FilesGoWhereTheDesktopLooksForThem) {
    for (const char* program : {"bin/quillet", "bin/quillet-convert"})
        EXPECT_TRUE(QFileInfo(Path(program)).isExecutable()) << program;
    for (const QString& file :
         {QString("share/quillet/help/Introduction.html"), "share/applications/" + kId + ".desktop",
          "share/metainfo/" + kId + ".metainfo.xml",
          "share/icons/hicolor/scalable/apps/" + kId + ".svg"})
        EXPECT_TRUE(QFileInfo(Path(file)).isFile()) << file.toStdString();
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(Path(QStringLiteral("share/icons/hicolor/%1x%1/apps/").arg(side) + kId + ".png"));
        EXPECT_EQ(icon.size(), QSize(side, side)) << side;
    }
    // The shipped language files, every one.
    const QStringList shipped = QDir(QUILLET_SOURCE_DIR "/data/language").entryList({"*.ini"}, QDir::Files);
    ASSERT_FALSE(shipped.isEmpty());
    EXPECT_EQ(QDir(Path("share/quillet/language")).entryList({"*.ini"}, QDir::Files), shipped);

    // The installed converter runs from there.
    EXPECT_EQ(RunProgram(Path("bin/quillet-convert"), {"--help"}), 0);
}

TEST_F(InstallTest, TheInstalledProgramFindsItsLanguagesAndHelp) {
    const QString programFolder = Path("bin");
    const QString base = CLanguage::FindBaseDirectory(programFolder);
    EXPECT_EQ(base, Path("share/quillet"));
    CLanguage language;
    ASSERT_TRUE(language.Init(base, "english"));
    EXPECT_EQ(language.languageNames.size(),
              QDir(Path("share/quillet/language")).entryList({"*.ini"}, QDir::Files).size());
    EXPECT_EQ(HelpPage(programFolder), Path("share/quillet/help/Introduction.html"));
}

TEST_F(InstallTest, DesktopEntryAndMetadataValidate) {
    const QString desktopEntry = Path("share/applications/" + kId + ".desktop");
    const QString metadata = Path("share/metainfo/" + kId + ".metainfo.xml");
    // "Open with" offers the program for the common video types.
    QFile entry(desktopEntry);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    for (const char* type : {"video/mp4;", "video/x-matroska;", "video/x-msvideo;", "video/quicktime;"})
        EXPECT_TRUE(text.contains(type)) << type;
    EXPECT_TRUE(text.contains("Exec=quillet %f"));

    QString output;
    const QString validateEntry = QStandardPaths::findExecutable("desktop-file-validate");
    if (!validateEntry.isEmpty()) {
        EXPECT_EQ(RunProgram(validateEntry, {desktopEntry}, &output), 0) << output.toStdString();
    }
    const QString appstream = QStandardPaths::findExecutable("appstreamcli");
    if (!appstream.isEmpty()) {
        EXPECT_EQ(RunProgram(appstream, {"validate", "--no-net", metadata}, &output), 0)
            << output.toStdString();
    }
    if (validateEntry.isEmpty() || appstream.isEmpty())
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed";
}
