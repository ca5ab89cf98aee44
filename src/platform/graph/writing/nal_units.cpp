#include "platform/graph/writing/nal_units.h"

extern "C" {
#include <libavcodec/codec_par.h>
}

#include <iterator>

namespace graph {

namespace {

bool HasUnits(const AVCodecParameters* p) {
    return p && (p->codec_id == AV_CODEC_ID_H264 || p->codec_id == AV_CODEC_ID_HEVC);
}

void PutLength(std::vector<std::uint8_t>& out, std::size_t length, int lengthSize) {
    for (int shift = 8 * (lengthSize - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(length >> shift));
}

// The units of an avcC or hvcC record, each behind a length of `lengthSize` bytes.
std::vector<std::uint8_t> RecordUnits(const AVCodecParameters* p, int lengthSize) {
    const std::uint8_t* data = p->extradata;
    const int size = p->extradata_size;
    std::vector<std::uint8_t> out;
    int at = 0;
    const auto unit = [&] {
        if (at + 2 > size)
            return false;
        const int length = data[at] << 8 | data[at + 1];
        at += 2;
        if (at + length > size)
            return false;
        PutLength(out, length, lengthSize);
        out.insert(out.end(), data + at, data + at + length);
        at += length;
        return true;
    };
    if (p->codec_id == AV_CODEC_ID_H264) {
        if (size < 6)
            return {};
        at = 6;
        for (int n = data[5] & 0x1f; n > 0; --n)
            if (!unit())
                return {};
        if (at >= size)
            return out;
        for (int n = data[at++]; n > 0; --n)
            if (!unit())
                return {};
        return out;
    }
    if (size < 23)
        return {};
    at = 23;
    for (int arrays = data[22]; arrays > 0; --arrays) {
        if (at + 3 > size)
            return {};
        int n = data[at + 1] << 8 | data[at + 2];
        at += 3;
        for (; n > 0; --n)
            if (!unit())
                return {};
    }
    return out;
}

} // namespace

int UnitLengthSize(const AVCodecParameters* p) {
    if (!HasUnits(p) || p->extradata_size < 5 || p->extradata[0] != 1)
        return 0;
    // avcC keeps it in byte 4, hvcC in byte 21.
    const int at = p->codec_id == AV_CODEC_ID_H264 ? 4 : 21;
    return at < p->extradata_size ? (p->extradata[at] & 3) + 1 : 0;
}

std::vector<std::uint8_t> StartCodesToLengths(const std::uint8_t* data, int size, int lengthSize) {
    std::vector<std::uint8_t> out;
    // Where each unit begins: just after a 00 00 01.
    std::vector<int> starts;
    for (int i = 0; i + 2 < size; ++i) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
            starts.push_back(i + 3);
            i += 2;
        }
    }
    for (std::size_t k = 0; k < starts.size(); ++k) {
        int end = k + 1 < starts.size() ? starts[k + 1] - 3 : size;
        // The zeros before the next start code belong to no unit.
        while (end > starts[k] && data[end - 1] == 0)
            --end;
        PutLength(out, end - starts[k], lengthSize);
        out.insert(out.end(), data + starts[k], data + end);
    }
    return out;
}

std::vector<std::uint8_t> LengthsToStartCodes(const std::uint8_t* data, int size, int lengthSize) {
    static constexpr std::uint8_t kStartCode[] = {0, 0, 0, 1};
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(size) + 16);
    int at = 0;
    while (at + lengthSize <= size) {
        std::size_t length = 0;
        for (int i = 0; i < lengthSize; ++i)
            length = length << 8 | data[at + i];
        at += lengthSize;
        if (length > static_cast<std::size_t>(size - at))
            break;
        out.insert(out.end(), std::begin(kStartCode), std::end(kStartCode));
        out.insert(out.end(), data + at, data + at + length);
        at += static_cast<int>(length);
    }
    return out;
}

std::vector<std::uint8_t> ParameterSetBytes(const AVCodecParameters* p) {
    if (!p || p->extradata_size <= 0)
        return {};
    if (const int lengthSize = UnitLengthSize(p))
        return RecordUnits(p, lengthSize);
    return {p->extradata, p->extradata + p->extradata_size};
}

} // namespace graph
