#pragma once
// The output frame rate for a picture of uneven frame times (a phone's, a screen recorder's)
// written at its original rate into a container that counts frames at one rate: at its
// average rate, the pictures closer together than that would be lost.
#include "render/output_graph.h"

#include <QString>

#include <optional>
#include <string>

namespace render {

// The rate of the picture's two closest frames, at most twice its nominal rate, when that is
// above the rate chosen; none when the output keeps the picture's frames anyway (they are
// even, the container keeps each one's time, or the user chose a rate).
std::optional<double> RateKeepingEveryFrame(const OutputSettings& output, const OutputParts& parts,
                                            const std::string& video);

// Chooses that rate for `output` where there is one; then what to tell the user, else empty.
QString KeepEveryFrame(OutputSettings& output, const OutputParts& parts, const std::string& video);

} // namespace render
