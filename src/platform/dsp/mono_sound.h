#pragma once
// A file's whole sound (its best sound stream) decoded to one channel at a chosen rate, as
// an analysis reads it. Sample i lies at media time i / rate after the file's start: sound
// that starts later than the file begins with silence. Memory: 4 bytes a sample (a 60-minute
// file at 8 kHz takes 115 MB).
#include "platform/core/status.h"

#include <functional>
#include <string>
#include <vector>

namespace dsp {

struct MonoSound {
    std::vector<float> samples;
    int rate = 0;
    double Seconds() const { return rate > 0 ? double(samples.size()) / rate : 0.0; }
};

// `progress` is told the fraction read (0..1) now and then and returns false to stop: the
// call then returns E_ABORT. VFW_E_NOT_FOUND when the file has no sound; the decoding
// failures of editing::MediaFile otherwise.
HRESULT DecodeMonoSound(const std::string& path, int rate,
                        const std::function<bool(double)>& progress, MonoSound* sound);

// The same sound handed to `take` block by block as it is decoded, for analyses of long files
// that keep only what they compute. A `rate` of 0 keeps the stream's own rate; `take` is told
// the rate in use with every block. Progress, stopping and failures as DecodeMonoSound.
using MonoBlockSink = std::function<void(int rate, const float* samples, std::size_t count)>;
HRESULT StreamMonoSound(const std::string& path, int rate,
                        const std::function<bool(double)>& progress, const MonoBlockSink& take);

} // namespace dsp
