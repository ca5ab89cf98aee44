#pragma once
// A real-to-complex discrete Fourier transform of one even size and its inverse, over
// libavutil's transforms. The object owns aligned buffers of the size: fill Time(), call
// Forward() and read Spectrum() (Size() / 2 + 1 bins); or fill Spectrum(), call Inverse() and
// read Time(). Neither direction scales: a forward then inverse transform multiplies by Size().
// One object is used by one thread at a time.
#include <complex>

struct AVTXContext;

namespace dsp {

class RealFft {
  public:
    explicit RealFft(int size);
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    int Size() const { return size_; }
    int Bins() const { return size_ / 2 + 1; }
    float* Time() { return time_; }
    std::complex<float>* Spectrum() { return spectrum_; }

    void Forward();
    // Overwrites Spectrum() as it works.
    void Inverse();

  private:
    using Transform = void (*)(AVTXContext*, void*, void*, std::ptrdiff_t);
    int size_;
    float* time_;
    std::complex<float>* spectrum_;
    AVTXContext* forward_ = nullptr;
    AVTXContext* inverse_ = nullptr;
    Transform forwardFn_ = nullptr;
    Transform inverseFn_ = nullptr;
};

// The smallest size the transforms handle quickly (a power of two) that holds `samples`.
int FftSizeFor(int samples);

} // namespace dsp
