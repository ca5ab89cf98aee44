#pragma once
// One piece of long work on a thread of its own: the owner's thread starts it, reads how far it
// got and whether it is done, and can stop it; destroying the job stops it. The work is told
// the fraction done now and then and hears false once it is to stop. What the work makes is
// the owner's to publish before the work returns: Done() orders it for the reader.
#include <atomic>
#include <functional>
#include <thread>

namespace syncview {

class BackgroundJob {
  public:
    using Progress = std::function<bool(double fraction)>;

    BackgroundJob() = default;
    ~BackgroundJob() { Stop(); }
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // Stops any work under way, then runs `work`.
    void Start(std::function<void(const Progress& progress)> work) {
        Stop();
        stop_ = false;
        done_ = false;
        progress_ = 0;
        thread_ = std::thread([this, work = std::move(work)] {
            work([this](double fraction) {
                progress_ = fraction;
                return !stop_.load();
            });
            progress_ = 1;
            done_ = true;
        });
    }
    void Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    double Fraction() const { return progress_.load(); }
    bool Done() const { return done_.load(); }

  private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::atomic<double> progress_{0};
};

} // namespace syncview
