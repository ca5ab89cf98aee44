#include "platform/ui/detached_run.h"

#include "platform/ui/shell.h"

#include <QFileInfo>
#include <QProcess>

namespace ui {
namespace {

struct Located {
    QString path; // empty when nothing runnable was found
    int failure = SE_ERR_FNF;
};

// As exec looks: a name with a slash is a path, any other is searched along PATH. A file that
// is there but may not be run turns "not found" into "denied", as it does for exec.
Located Locate(const QString& program) {
    Located found;
    const auto runnable = [&found](const QString& candidate) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable()) {
            found.path = info.absoluteFilePath();
            return true;
        }
        if (info.exists())
            found.failure = SE_ERR_ACCESSDENIED;
        return false;
    };
    if (program.contains('/')) {
        runnable(program);
        return found;
    }
    if (program.isEmpty())
        return found;
    const QString path =
        qEnvironmentVariableIsSet("PATH") ? qEnvironmentVariable("PATH") : "/bin:/usr/bin";
    for (const QString& folder : path.split(':'))
        if (runnable((folder.isEmpty() ? QStringLiteral(".") : folder) + '/' + program))
            break;
    return found;
}

} // namespace

int StartDetached(const QStringList& command) {
    const Located program = Locate(command.value(0));
    if (program.path.isEmpty())
        return program.failure;
    return QProcess::startDetached(program.path, command.mid(1)) ? SE_OPENED : SE_ERR_BAD_FORMAT;
}

} // namespace ui
