#pragma once
// Finding points runs for seconds on long recordings, so it runs on a thread of its own while
// this small modal dialog shows how far it got and offers Cancel; the window keeps painting.
#include "align/alignment.h"

#include <QDialog>

#include <atomic>
#include <functional>

class QProgressBar;
class QPushButton;

class FindPointsProgress : public QDialog {
    Q_OBJECT
  public:
    // A search, told the fraction done now and then; it stops when told false.
    using Search = std::function<align::Alignment(const std::function<bool(double)>& progress)>;
    // `command`: the menu command that started it, whose text is the caption; `doing`: the
    // string that says what it does.
    FindPointsProgress(Search search, int command, int doing, QWidget* parent);
    // Searches while the dialog runs modally; returns once the search has ended. A search the
    // user cancelled comes back cancelled, even when it had just finished.
    align::Alignment Run();
    // The caption of the search started by `command` in the user's language, also that of its
    // messages.
    static QString Caption(int command);

    QPushButton* CancelButton() const { return cancel_; }

  public slots:
    // Escape and the title bar's close ask the search to stop; the dialog closes when it has.
    void reject() override;

  private:
    const Search search_;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    // Written by the search thread, read by the poll timer on the user-interface thread.
    std::atomic<double> fraction_{0};
    // Written on the user-interface thread, read by the search thread at each progress report.
    std::atomic<bool> cancelRequested_{false};
    // Written by the search thread; read on the user-interface thread only after the thread
    // has finished (QThread::wait orders the two).
    align::Alignment result_;
};
