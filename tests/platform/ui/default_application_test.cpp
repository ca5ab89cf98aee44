#include "platform/ui/default_application.h"
#include "support/desktop_fixtures.h"
#include "support/test_environment.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class DefaultApplicationTest : public ::testing::Test {
  protected:
    // The four kinds of folder, most important first: user's config, system config, user's
    // data, system data.
    void SetUp() override {
        const QString root = testsupport::TemporaryFolder();
        folders.config = {root + "/config-home", root + "/config-dir"};
        folders.data = {root + "/data-home", root + "/data-dir"};
    }
    void Write(const QString& path, const QByteArray& text) {
        testsupport::WriteTextFile(path, text);
    }
    void Entry(const QString& data, const QString& id, const QByteArray& keys) {
        Write(data + "/applications/" + id, "[Desktop Entry]\nType=Application\n" + keys);
    }
    std::optional<QString> Html() { return ui::DefaultApplicationExec("text/html", folders); }

    ui::XdgFolders folders;
};

} // namespace

TEST_F(DefaultApplicationTest, TheUsersChoiceComesBeforeTheSystems) {
    Entry(folders.data[1], "system.desktop", "Exec=system-browser %u\n");
    Entry(folders.data[0], "user.desktop", "Exec=user-browser %u\n");
    Entry(folders.data[0], "desk.desktop", "Exec=desk-browser %u\n");
    Write(folders.data[1] + "/applications/mimeapps.list",
          "[Default Applications]\ntext/html=system.desktop;\n");
    EXPECT_EQ(Html(), "system-browser %u");

    Write(folders.config[0] + "/mimeapps.list",
          "# chosen by the user\n[Default Applications]\nimage/png=desk.desktop\n"
          "text/html = user.desktop;system.desktop;\n");
    EXPECT_EQ(Html(), "user-browser %u");

    folders.desktops = {"quilt"};
    Write(folders.config[1] + "/quilt-mimeapps.list",
          "[Default Applications]\ntext/html=desk.desktop\n");
    EXPECT_EQ(Html(), "user-browser %u");
    QFile::remove(folders.config[0] + "/mimeapps.list");
    EXPECT_EQ(Html(), "desk-browser %u");
}

TEST_F(DefaultApplicationTest, ApplicationsThatAreNotInstalledArePassedOver) {
    // A hidden entry of the user's hides the system's entry of that name too.
    Entry(folders.data[0], "hidden.desktop", "Hidden=true\nExec=hidden %u\n");
    Entry(folders.data[1], "hidden.desktop", "Exec=hidden %u\n");
    Entry(folders.data[1], "noexec.desktop", "Name=Nothing to run\n");
    Entry(folders.data[1], "vendor/web.desktop", "Exec=vendor-web %u\n");
    Write(folders.config[0] + "/mimeapps.list",
          "[Default Applications]\n"
          "text/html=missing.desktop;hidden.desktop;noexec.desktop;vendor-web.desktop\n");
    EXPECT_EQ(Html(), "vendor-web %u");
    Write(folders.config[0] + "/mimeapps.list",
          "[Default Applications]\ntext/html=missing.desktop;hidden.desktop;noexec.desktop\n");
    EXPECT_EQ(Html(), std::nullopt);
    EXPECT_EQ(ui::DefaultApplicationExec("text/plain", folders), std::nullopt);
}

TEST_F(DefaultApplicationTest, AddedAssociationsServeWhenNoDefaultIsInstalled) {
    Entry(folders.data[1], "removed.desktop", "Exec=removed %u\n");
    Entry(folders.data[1], "added.desktop", "Exec=added %u\n");
    Entry(folders.data[1], "legacy.desktop", "Exec=legacy %u\n");
    Write(folders.config[0] + "/mimeapps.list",
          "[Default Applications]\ntext/html=missing.desktop\n"
          "[Removed Associations]\ntext/html=removed.desktop\n");
    Write(folders.data[1] + "/applications/mimeapps.list",
          "[Added Associations]\ntext/html=removed.desktop;added.desktop;\n");
    EXPECT_EQ(Html(), "added %u");
    Write(folders.data[1] + "/applications/defaults.list",
          "[Default Applications]\ntext/html=legacy.desktop\n");
    EXPECT_EQ(Html(), "legacy %u");
}

TEST_F(DefaultApplicationTest, TheExecLineComesWithItsStringEscapesUndone) {
    Entry(folders.data[0], "web.desktop",
          R"(Exec=web\sbrowser "C:\\\\Web" \$HOME\ttab "%u")"
          "\nExec=second %u\n");
    Write(folders.config[0] + "/mimeapps.list", "[Default Applications]\ntext/html=web.desktop\n");
    EXPECT_EQ(Html(), "web browser \"C:\\\\Web\" \\$HOME\ttab \"%u\"");
}

TEST_F(DefaultApplicationTest, TheEnvironmentNamesTheFolders) {
    testsupport::DesktopScope desktop;
    qputenv("XDG_CURRENT_DESKTOP", "Quilt:GNOME");
    const ui::XdgFolders fromEnvironment = ui::XdgFolders::FromEnvironment();
    EXPECT_EQ(fromEnvironment.config.value(0), desktop.configHome);
    EXPECT_EQ(fromEnvironment.data.value(0), desktop.dataHome);
    EXPECT_EQ(fromEnvironment.config.size(), 2);
    EXPECT_EQ(fromEnvironment.data.size(), 2);
    EXPECT_EQ(fromEnvironment.desktops, QStringList({"quilt", "gnome"}));
}
