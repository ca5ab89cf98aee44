#pragma once
// What the sync view shows close up, read on a thread of its own so that zooming and scrolling
// never decode on the window's thread: small pictures of the frames in view, and the sound's
// own samples where a column is narrower than the waveform pyramid's finest pair. The view
// says what it wants now (a new wish replaces the last); the reader decodes it and calls
// `ready` from its thread after each piece, so the view can repaint. The view owns the reader;
// its calls come from the window's thread.
#include "platform/core/reftime.h"

#include <QImage>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace syncview {

// Mono samples from sample `first` of the sound, at its own rate.
struct SampleSpan {
    std::int64_t first = 0;
    int rate = 0;
    std::vector<float> samples;
};

class DetailReader {
  public:
    DetailReader(std::string videoPath, std::string soundPath, int thumbnailHeight,
                 std::function<void()> ready);
    ~DetailReader();
    DetailReader(const DetailReader&) = delete;
    DetailReader& operator=(const DetailReader&) = delete;

    // The frames in view, by their start times, nearest first.
    void WantFrames(std::vector<REFERENCE_TIME> starts);
    // The frame's picture, once read; null before.
    QImage Thumbnail(REFERENCE_TIME start) const;
    void WantSamples(std::int64_t first, std::int64_t count);
    SampleSpan Samples() const;

  private:
    struct Decoders;
    void Run();
    void ReadFrame(REFERENCE_TIME start);
    void ReadSamples(std::int64_t first, std::int64_t count);

    const std::string videoPath_;
    const std::string soundPath_;
    const int thumbnailHeight_;
    const std::function<void()> ready_;

    // Everything below under mutex_, except what only the reader's thread touches.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::vector<REFERENCE_TIME> wantedFrames_;
    std::optional<std::pair<std::int64_t, std::int64_t>> wantedSamples_;
    std::map<REFERENCE_TIME, QImage> thumbnails_;
    SampleSpan samples_;
    // The reader's thread's own.
    std::unique_ptr<Decoders> decoders_;
    std::thread thread_;
};

} // namespace syncview
