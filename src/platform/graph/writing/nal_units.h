#pragma once
// The two ways H.264 and HEVC packets hold their units: behind start codes (Annex B: raw
// streams, transport streams) or behind a length (MP4, Matroska, whose codec data is then an
// avcC or hvcC record). Pictures spliced into a copied stream must take the stream's way; a
// copy into a container whose readers know no such record (AVI) takes start codes.
// Functions of the caller's packets, on the caller's thread.
#include <cstdint>
#include <vector>

struct AVCodecParameters;

namespace graph {

// The bytes of each unit's length, when the stream's packets hold their units behind a
// length; 0 when they use start codes or the codec has no such units.
int UnitLengthSize(const AVCodecParameters* parameters);

// Units behind start codes rewritten behind lengths of `lengthSize` bytes.
std::vector<std::uint8_t> StartCodesToLengths(const std::uint8_t* data, int size, int lengthSize);

// Units behind lengths of `lengthSize` bytes rewritten behind start codes; a damaged length
// ends the units.
std::vector<std::uint8_t> LengthsToStartCodes(const std::uint8_t* data, int size, int lengthSize);

// The stream's parameter sets (its codec data) as packet bytes in the stream's own way, to
// put before a key frame that must stand on its own; empty when there are none.
std::vector<std::uint8_t> ParameterSetBytes(const AVCodecParameters* parameters);

} // namespace graph
