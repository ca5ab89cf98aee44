#pragma once
// Plays decoded sound through the system sound server and serves as the graph's clock. The
// first sample after a seek is cut at the exact sample of the target, gaps in the stream are
// filled with silence and overlaps cut, so the sound heard is always at the clock's
// position. Without a sound device the renderer discards the sound at its time on the
// output's clock, which then runs with the system clock.
// Owned by its graph. The graph's calls and the volume come on the user-interface thread,
// samples on the decoder's streaming thread.
#include "platform/graph/playback/sound_output.h"
#include "platform/graph/render_controls.h"
#include "platform/graph/renderer.h"

#include <QByteArray>

#include <atomic>
#include <memory>

struct SwrContext;

namespace graph {

class AudioRenderer final : public Renderer, public VolumeControl {
  public:
    // Plays on the system's sound server.
    AudioRenderer();
    explicit AudioRenderer(std::unique_ptr<SoundOutput> output);
    ~AudioRenderer() override;

    bool Accepts(const Pin& input, const MediaType& type) const override;
    // The sound output's: it moves with the sound heard, or with the system clock when
    // there is no device.
    std::shared_ptr<const ReferenceClock> Clock() override { return output_->Clock(); }
    HRESULT Stop() override;
    HRESULT Pause() override;
    HRESULT Run() override;

    void SetVolume(long volume) override;
    long Volume() const override { return volume_; }

  protected:
    void Present(MediaSample& sample, bool first) override;
    void OnEndFlush() override;
    void OnEndOfStream() override;

  private:
    bool Convert(const AVFrame* frame);
    void WriteSilence(std::int64_t frames);

    std::unique_ptr<SoundOutput> output_;
    QAudioFormat format_; // user-interface thread, before streaming starts
    long volume_ = 0;     // user-interface thread
    // Streaming thread only.
    SwrContext* resampler_ = nullptr;
    int inRate_ = 0;
    int inFormat_ = -1;
    int inChannels_ = 0;
    std::int64_t framesInSegment_ = 0; // sample frames written since the segment started
    QByteArray converted_;
    // Written by the user-interface thread before streaming starts, read by the streaming
    // thread.
    std::atomic<bool> silent_{true};
};

} // namespace graph
