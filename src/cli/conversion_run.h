#pragma once
// Waiting for a running conversion to end, in an event loop: the graph posts WM_GRAPHNOTIFY
// to a receiver here, which reads the graph's events and ends the loop on completion or on
// a failure; Ctrl-C or SIGTERM ends it as a stop. Meanwhile a timer redraws the progress
// line.
#include "render/output_graph.h"

#include <QObject>

#include <functional>

namespace cli {

enum class RunEnd { Completed, Failed, Stopped };

class ConversionRun : public QObject {
    Q_OBJECT
  public:
    explicit ConversionRun(render::Conversion& conversion);

    // The receiver RenderToFile posts the graph's events to.
    QObject* NotifyWindow() { return this; }
    // Runs the event loop until the graph completes, fails or the user interrupts the
    // program; `progress` is called with the written output time a few times a second.
    RunEnd Wait(const std::function<void(REFERENCE_TIME)>& progress);
    // Why the run failed, in the failing part's own words.
    const QString& FailureReason() const { return failureReason_; }

  protected:
    bool event(QEvent* event) override;

  private:
    void ReadEvents();

    render::Conversion& conversion_;
    std::function<void(RunEnd)> finish_;
    QString failureReason_;
};

} // namespace cli
