#pragma once
// Reading sound at fractional positions and at another pace through a windowed-sinc kernel,
// exactly enough that a test knows where every sample came from.
#include <vector>

namespace aligntest {

// `count` samples of `source` at positions first, first + step, first + 2 × step ...
// (silence outside it), low-passed to `cutoff` (1 = the source's Nyquist frequency).
std::vector<float> ReadWithSinc(const std::vector<float>& source, double first, double step, long count,
                                double cutoff);

} // namespace aligntest
