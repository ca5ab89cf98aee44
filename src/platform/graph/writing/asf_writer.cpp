#include "platform/graph/writing/asf_writer.h"

#include "platform/graph/writing/stream_encoder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace graph {

namespace {

// ASF counts time in milliseconds.
constexpr AVRational kAsfTimeBase{1, 1000};
// The quantizer range of the WMV encoders: the worst quantizer a quality of 0 allows.
constexpr int kCoarsestQuantizer = 31;
constexpr int kFinestQuantizer = 2;

const AVCodec* EncoderFor(const AsfStreamConfig& stream) {
    const char* name = nullptr;
    if (stream.major == MajorType::Video) {
        if (stream.codec == FourCc("WMV1"))
            name = "wmv1";
        else if (stream.codec == FourCc("WMV2"))
            name = "wmv2";
    } else if (stream.major == MajorType::Audio) {
        if (stream.codec == WAVE_FORMAT_MSAUDIO1)
            name = "wmav1";
        else if (stream.codec == WAVE_FORMAT_WMAUDIO2)
            name = "wmav2";
    }
    return name ? avcodec_find_encoder_by_name(name) : nullptr;
}

HRESULT Check(const AsfStreamConfig& stream) {
    if (stream.number < 1 || stream.number > 63)
        return E_INVALIDARG;
    if (stream.major == MajorType::Audio) {
        if (stream.sampleRate == 0 || stream.channels == 0)
            return E_INVALIDARG;
    } else if (stream.major == MajorType::Video) {
        if (stream.width <= 0 || stream.height == 0 || stream.frameDuration <= 0)
            return E_INVALIDARG;
    } else {
        return E_INVALIDARG;
    }
    return EncoderFor(stream) ? S_OK : VFW_E_UNSUPPORTED_STREAM;
}

std::string InputName(const AsfStreamConfig& stream) {
    char name[32];
    std::snprintf(name, sizeof name, "%s Input %02d",
                  stream.major == MajorType::Video ? "Video" : "Audio", stream.number);
    return name;
}

} // namespace

HRESULT AsfWriter::Create(std::shared_ptr<AsfWriter>* out) {
    if (!out)
        return E_POINTER;
    if (!av_guess_format("asf", nullptr, nullptr))
        return VFW_E_UNSUPPORTED_STREAM;
    std::shared_ptr<AsfWriter> writer(new AsfWriter());
    *out = std::move(writer);
    return S_OK;
}

AsfWriter::AsfWriter()
    : Multiplexer(av_guess_format("asf", nullptr, nullptr), "WM ASF Writer", CLSID_WMAsfWriter,
                  false) {}

HRESULT AsfWriter::ConfigureFilterUsingProfile(const AsfWriterConfig& config) {
    if (State() != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    for (const Pin* pin : Pins()) {
        if (pin->IsConnected())
            return VFW_E_ALREADY_CONNECTED;
    }
    std::set<std::uint16_t> numbers;
    for (const AsfStreamConfig& stream : config.streams) {
        const HRESULT hr = Check(stream);
        if (FAILED(hr))
            return hr;
        if (!numbers.insert(stream.number).second)
            return E_INVALIDARG;
    }
    RemoveInputs();
    for (const AsfStreamConfig& stream : config.streams)
        AddInput(InputName(stream), stream.major);
    config_ = config;
    return S_OK;
}

const AsfStreamConfig* AsfWriter::StreamOf(const Pin& input) const {
    std::size_t n = 0;
    for (const Pin* pin : Pins()) {
        if (pin->Direction() != PinDirection::Input)
            continue;
        if (pin == &input)
            return n < config_.streams.size() ? &config_.streams[n] : nullptr;
        ++n;
    }
    return nullptr;
}

bool AsfWriter::AcceptsOn(const Pin& input, const MediaType& type) const {
    const AsfStreamConfig* stream = StreamOf(input);
    return stream && type.IsDecoded() && type.Major() == stream->major;
}

HRESULT AsfWriter::MakeCoder(const Pin& input, const MediaType& type,
                             std::unique_ptr<StreamCoder>* out) const {
    const AsfStreamConfig* stream = StreamOf(input);
    if (!stream)
        return E_UNEXPECTED;
    EncoderSetup setup{.codec = EncoderFor(*stream), .bitRate = stream->bitrate};
    if (stream->major == MajorType::Video) {
        setup.width = stream->width;
        setup.height = std::abs(stream->height);
        setup.frameDuration = stream->frameDuration;
        setup.timeBase = kAsfTimeBase;
        if (stream->keyFrameSpacing > 0)
            setup.keyFrameInterval = static_cast<int>(
                std::max<REFERENCE_TIME>(1, stream->keyFrameSpacing / stream->frameDuration));
        // Sharper pictures: the encoder may not coarsen its quantizer as far.
        const int quality = static_cast<int>(std::min<std::uint32_t>(stream->quality, 100));
        setup.maxQuantizer =
            kCoarsestQuantizer - quality * (kCoarsestQuantizer - kFinestQuantizer) / 100;
    } else {
        setup.sampleRate = static_cast<int>(stream->sampleRate);
        setup.channels = stream->channels;
        setup.silentLeadIn = true;
    }
    std::unique_ptr<StreamEncoder> encoder;
    const HRESULT hr = StreamEncoder::Open(setup, type, &encoder);
    *out = std::move(encoder);
    return hr;
}

} // namespace graph
