#include "support/desktop_fixtures.h"

#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cstdlib>

namespace testsupport {

DesktopScope::DesktopScope() : configHome(TemporaryFolder()), dataHome(TemporaryFolder()) {
    const std::pair<const char*, QString> values[] = {
        {"XDG_CONFIG_HOME", configHome}, {"XDG_CONFIG_DIRS", TemporaryFolder()},
        {"XDG_DATA_HOME", dataHome},     {"XDG_DATA_DIRS", TemporaryFolder()},
        {"XDG_CURRENT_DESKTOP", {}},
    };
    for (const auto& [name, value] : values) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<QByteArray>(old) : std::nullopt);
        qputenv(name, value.toUtf8());
    }
}

DesktopScope::~DesktopScope() {
    for (const auto& [name, value] : saved_)
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
}

void DesktopScope::InstallApplication(const QString& id, const QString& exec) const {
    WriteTextFile(dataHome + "/applications/" + id,
                  "[Desktop Entry]\nType=Application\nName=Browser\nExec=" + exec.toUtf8() + '\n');
}

void DesktopScope::SetDefaultApplication(const QString& mimeType, const QString& id) const {
    WriteTextFile(configHome + "/mimeapps.list",
                  "[Default Applications]\n" + mimeType.toUtf8() + '=' + id.toUtf8() + ";\n");
}

void WriteTextFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}

QString ArgumentRecorder(const QString& output) {
    const QString script = TemporaryFolder() + "/record-arguments";
    WriteTextFile(script, "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + output.toUtf8() +
                              ".part' && mv '" + output.toUtf8() + ".part' '" + output.toUtf8() +
                              "'\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

std::optional<QStringList> RecordedArguments(const QString& output) {
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(output); }, 10'000))
        return std::nullopt;
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList arguments;
    for (const QByteArray& argument : file.readAll().split('\0'))
        arguments << QString::fromUtf8(argument);
    arguments.removeLast(); // after the last terminator
    return arguments;
}

} // namespace testsupport
