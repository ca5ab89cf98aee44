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

ProgressLine::ProgressLine(REFERENCE_TIME total, bool json)
    : enabled_(json || isatty(STDERR_FILENO) == 1), json_(json), total_(total) {
    clock_.start();
}

void ProgressLine::Show(REFERENCE_TIME written) {
    if (!enabled_ || total_ <= 0)
        return;
    const double done = std::clamp(double(written) / double(total_), 0.0, 1.0);
    // The pace is not known before a little has been written.
    const bool paced = done > 0.01;
    const double secondsLeft = paced ? clock_.elapsed() / 1000.0 * (1 - done) / done : 0;
    QByteArray line;
    if (json_) {
        const qint64 now = clock_.elapsed();
        if (done < 1 && lastJson_ >= 0 && now - lastJson_ < 1000)
            return;
        lastJson_ = now;
        line = QString::asprintf("{\"fraction\":%.4f,\"secondsLeft\":", done).toUtf8() +
               (paced ? QByteArray::number(secondsLeft, 'f', 1) : QByteArray("null")) + "}\n";
    } else {
        const QString left = paced ? Clock(static_cast<qint64>(secondsLeft)) : "--:--:--";
        line = QString::asprintf("\r%5.1f%%  %s left ", done * 100, left.toUtf8().constData())
                   .toUtf8();
    }
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
    drawn_ = !json_;
}

void ProgressLine::Break() {
    if (!drawn_)
        return;
    std::fputc('\n', stderr);
    drawn_ = false;
}

} // namespace cli
