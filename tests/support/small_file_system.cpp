#include "support/small_file_system.h"

#include "support/test_environment.h"

#include <QFile>
#include <QProcess>

namespace testsupport {

namespace {

bool Succeeds(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

SmallFileSystem::SmallFileSystem(int kilobytes) : path_(TemporaryFolder()) {
    mounted_ = Succeeds("mount", {"-t", "tmpfs", "-o", QStringLiteral("size=%1k").arg(kilobytes),
                                  "tmpfs", path_});
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_)
        Succeeds("umount", {path_});
}

void SmallFileSystem::Fill() {
    QFile filler(path_ + "/filler");
    if (!filler.open(QIODevice::WriteOnly))
        return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    // The last bytes a page could not take.
    while (filler.write("x", 1) == 1 && filler.flush()) {
    }
}

bool SmallFileSystem::MakeReadOnly() {
    return Succeeds("mount", {"-o", "remount,ro", path_});
}

} // namespace testsupport
