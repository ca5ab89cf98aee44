#include "support/test_environment.h"

#include "platform/settings/store.h"

#include <QTemporaryDir>

#include <clocale>
#include <fstream>
#include <sstream>
#include <cstdlib>
#include <memory>
#include <vector>

namespace testsupport {

void PrepareHeadless() {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void UsePrivateHome() {
    const QString home = TemporaryFolder();
    setenv("HOME", home.toUtf8().constData(), 1);
    for (auto [variable, folder] : {std::pair{"XDG_CONFIG_HOME", "/.config"},
                                    {"XDG_CACHE_HOME", "/.cache"},
                                    {"XDG_DATA_HOME", "/.local/share"}})
        setenv(variable, (home + folder).toUtf8().constData(), 1);
    if (!std::getenv("XDG_RUNTIME_DIR"))
        setenv("XDG_RUNTIME_DIR", TemporaryFolder().toUtf8().constData(), 1);
}

void AfterApplicationStarted() {
    std::setlocale(LC_NUMERIC, "C");
    UseTemporarySettings();
}

namespace {
std::vector<std::unique_ptr<QTemporaryDir>>& Folders() {
    static std::vector<std::unique_ptr<QTemporaryDir>> folders;
    return folders;
}
} // namespace

QString TemporaryFolder() {
    Folders().push_back(std::make_unique<QTemporaryDir>());
    return Folders().back()->path();
}

void RemoveTemporaryFolders() {
    Folders().clear();
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

QString UseTemporarySettings() {
    const QString root = TemporaryFolder();
    settings::SetProfile(std::make_unique<settings::Store>(root, "Morvane", "quillet"));
    return root;
}

} // namespace testsupport
