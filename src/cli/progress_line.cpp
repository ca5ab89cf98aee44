#include "cli/progress_line.h"

#include <QString>

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace cli {
namespace {

QString Clock(qint64 seconds) {
    return QString::asprintf("%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                             seconds % 60);
}

} // namespace

ProgressLine::ProgressLine(REFERENCE_TIME total)
    : enabled_(isatty(STDERR_FILENO) == 1), total_(total) {
    clock_.start();
}

void ProgressLine::Show(REFERENCE_TIME written) {
    if (!enabled_ || total_ <= 0)
        return;
    const double done = std::clamp(double(written) / double(total_), 0.0, 1.0);
    // The pace is not known before a little has been written.
    QString left = "--:--:--";
    if (done > 0.01)
        left = Clock(static_cast<qint64>(clock_.elapsed() / 1000.0 * (1 - done) / done));
    const QByteArray line =
        QString::asprintf("\r%5.1f%%  %s left ", done * 100, left.toUtf8().constData()).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressLine::Break() {
    if (!drawn_)
        return;
    std::fputc('\n', stderr);
    drawn_ = false;
}

} // namespace cli
