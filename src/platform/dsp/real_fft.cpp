#include "platform/dsp/real_fft.h"

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/tx.h>
}

#include <new>

namespace dsp {

RealFft::RealFft(int size)
    : size_(size), time_(static_cast<float*>(av_malloc(sizeof(float) * (size + 2)))),
      spectrum_(static_cast<std::complex<float>*>(
          av_malloc(sizeof(std::complex<float>) * (size / 2 + 1)))) {
    const float scale = 1.0f;
    if (!time_ || !spectrum_ ||
        av_tx_init(&forward_, &forwardFn_, AV_TX_FLOAT_RDFT, 0, size, &scale, 0) < 0 ||
        av_tx_init(&inverse_, &inverseFn_, AV_TX_FLOAT_RDFT, 1, size, &scale, 0) < 0) {
        av_tx_uninit(&forward_);
        av_tx_uninit(&inverse_);
        av_free(time_);
        av_free(spectrum_);
        throw std::bad_alloc();
    }
}

RealFft::~RealFft() {
    av_tx_uninit(&forward_);
    av_tx_uninit(&inverse_);
    av_free(time_);
    av_free(spectrum_);
}

void RealFft::Forward() {
    forwardFn_(forward_, spectrum_, time_, sizeof(float));
    // A real signal's last bin is real; this version of the library leaves its imaginary
    // part unwritten.
    spectrum_[size_ / 2].imag(0.0f);
}

void RealFft::Inverse() {
    inverseFn_(inverse_, time_, spectrum_, sizeof(std::complex<float>));
}

int FftSizeFor(int samples) {
    int size = 2;
    while (size < samples)
        size *= 2;
    return size;
}

} // namespace dsp
