#pragma once
// The progress line of a conversion on a terminal: the part of the output written and the
// time left at the pace so far, redrawn in place on standard error. Off the terminal
// (a pipe, a file, a test) it prints nothing, so logs keep only the messages. For job
// runners it prints instead one JSON line a second, {"fraction":0.25,"secondsLeft":12.5}
// (secondsLeft null until the pace is known), and one more when the output is complete.
#include "platform/core/reftime.h"

#include <QElapsedTimer>

namespace cli {

class ProgressLine {
  public:
    // total: the output's length.
    ProgressLine(REFERENCE_TIME total, bool json);

    void Show(REFERENCE_TIME written);
    // Ends the line, so that a message or the shell prompt starts on a fresh one.
    void Break();

  private:
    bool enabled_;
    bool json_;
    bool drawn_ = false;
    REFERENCE_TIME total_;
    QElapsedTimer clock_;
    qint64 lastJson_ = -1; // ms on clock_
};

} // namespace cli
