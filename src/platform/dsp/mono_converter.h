#pragma once
// Sound of any layout, sample format and rate to one channel of float samples at a chosen
// rate (the channels mixed down with equal weight, band-limited by libswresample). The
// converter is set up again whenever the input changes, so a stream whose layout changes
// midway converts on.
#include <cstdint>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
}

struct SwrContext;

namespace dsp {

class MonoConverter {
  public:
    explicit MonoConverter(int outputRate) : outputRate_(outputRate) {}
    ~MonoConverter();
    MonoConverter(const MonoConverter&) = delete;
    MonoConverter& operator=(const MonoConverter&) = delete;

    // Appends the converted samples of `count` input samples to `out`; false when sound of
    // this kind cannot be converted.
    bool Convert(const AVChannelLayout& layout, int format, int rate, const std::uint8_t* const* data,
                 int count, std::vector<float>* out);
    // Appends what the converter still holds.
    void Flush(std::vector<float>* out);

  private:
    bool SetUp(const AVChannelLayout& layout, int format, int rate, std::vector<float>* out);

    int outputRate_;
    SwrContext* swr_ = nullptr;
    AVChannelLayout layout_{};
    int format_ = -1;
    int rate_ = 0;
};

// Mono float samples at one rate taken to another.
std::vector<float> Resample(const std::vector<float>& mono, int fromRate, int toRate);

} // namespace dsp
