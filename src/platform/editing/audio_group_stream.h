#pragma once
// The sound of a group at 44,100 Hz, 16-bit stereo. Each source's media span is resampled to
// exactly the samples of its timeline span; sample boundaries are counted from the start of
// the timeline, so no rounding adds up across sources. Times no source covers are silent, and
// so are the sources of files that have no sound; a source beside such silence fades out into
// it and in from it over a few milliseconds, so the cut does not click.
//
// With the pitch kept, a source played faster or slower is time-stretched instead of
// resampled, still exact at its first and last sample and where its sound starts suddenly; a
// source played at its own speed, or so near it that no pitch can be heard to move, is
// resampled as it would be without.
#include "platform/editing/audio_sample_reader.h"
#include "platform/editing/group_stream.h"
#include "platform/editing/pitch_keeping_stretch.h"
#include "platform/editing/placed_source.h"
#include "platform/editing/sinc_resampler.h"
#include "platform/editing/transient_scan.h"

#include <map>
#include <memory>

namespace editing {

class AudioGroupStream final : public GroupStream {
  public:
    static constexpr int kSampleRate = 44'100;

    // Opens every source file; the status of the first one that cannot be read.
    static HRESULT Create(std::vector<PlacedSource> sources, bool keepPitch,
                          std::unique_ptr<AudioGroupStream>* out);

    const graph::MediaType& Type() const override { return type_; }
    REFERENCE_TIME Length() const override { return length_; }
    void Seek(REFERENCE_TIME t) override;
    bool Next(graph::MediaSample& sample) override;
    HRESULT Failure() const override { return ReadersFailure(readers_); }
    void DecodeInBackground() const override { editing::DecodeInBackground(readers_); }

    // Output sample index of time t (rounded to the nearest sample).
    static std::int64_t SampleAt(REFERENCE_TIME t);

  private:
    struct Segment {
        std::int64_t first; // output samples [first, end)
        std::int64_t end;
        const PlacedSource* source;
        bool fadeIn = false;  // silence comes before it
        bool fadeOut = false; // silence comes after it
        bool stretched = false;
    };
    static void Fade(const Segment& segment, std::int64_t from, std::int64_t count, float* out);
    AudioGroupStream(std::vector<PlacedSource> sources, bool keepPitch);
    // Sets up the stretch and the scan for its sudden sounds of a stretched segment.
    void PrepareStretch(const Segment& segment);
    void Render(const Segment& segment, std::int64_t from, std::int64_t count, float* out);
    // A moment played from the source itself around output sample `at`: wholly over `before`
    // and `after` samples either side of it, faded in from the stretch and out into it over
    // `fade` samples beyond those.
    struct Hold {
        std::int64_t at;
        std::int64_t before;
        std::int64_t after;
        std::int64_t fade;
        std::int64_t First() const { return at - before - fade; }
        std::int64_t Last() const { return at + after + fade; }
        // How much of output sample j is the source's.
        double Weight(std::int64_t j) const;
    };
    // The moments of a stretched segment whose holds reach into output samples [from, to):
    // its points and where its sound starts suddenly.
    std::vector<Hold> HeldMoments(const Segment& segment, std::int64_t from, std::int64_t to);
    void HoldMoments(const Segment& segment, const std::vector<Hold>& held, std::int64_t from,
                     std::int64_t count, float* out);
    SourceLine LineOf(const Segment& segment) const;
    const SincKernel& KernelFor(double step);

    std::vector<PlacedSource> sources_;
    std::vector<Segment> segments_;
    std::map<std::string, std::unique_ptr<AudioSampleReader>> readers_; // one per file
    std::map<long, std::unique_ptr<SincKernel>> kernels_;                 // by cut-off
    REFERENCE_TIME length_;
    std::int64_t totalSamples_;
    graph::MediaType type_;
    std::int64_t next_ = 0;
    std::vector<float> held_; // the source as it is, around a held moment
    // The stretch of the stretched segment rendered last, and the scan for its sudden sounds;
    // only one is ever in use.
    std::unique_ptr<PitchKeepingStretch> stretch_;
    std::unique_ptr<TransientScan> scan_;
    const Segment* stretchOf_ = nullptr;
};

} // namespace editing
