#include "align/sinc_reading.h"

#include "platform/editing/sinc_resampler.h"

#include <cmath>

namespace aligntest {

std::vector<float> ReadWithSinc(const std::vector<float>& source, double first, double step, long count,
                                double cutoff) {
    const editing::SincKernel kernel(cutoff);
    std::vector<float> out(static_cast<std::size_t>(count));
    for (long n = 0; n < count; ++n) {
        const double position = first + double(n) * step;
        const long centre = long(std::floor(position));
        double sum = 0;
        for (long i = centre - kernel.Reach() + 1; i <= centre + kernel.Reach(); ++i)
            if (i >= 0 && i < long(source.size()))
                sum += kernel.Weight(position - double(i)) * source[i];
        out[n] = float(sum);
    }
    return out;
}

} // namespace aligntest
