#include "platform/graph/writing/filter_options.h"

#include "platform/graph/av_util.h"

extern "C" {
#include <libavutil/avstring.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
}

#include <cstring>

namespace graph {

namespace {

// The options of one object that are on the page and differ from a fresh object's (the
// defaults of the codec or muxer itself), as escaped "name=value" pairs.
std::string SerializeOne(void* object, void* fresh, int flags) {
    std::string state;
    for (const AVOption* option = nullptr; (option = av_opt_next(object, option));) {
        if (option->type == AV_OPT_TYPE_CONST || (option->flags & flags) != flags)
            continue;
        uint8_t* value = nullptr;
        uint8_t* initial = nullptr;
        const bool differs =
            av_opt_get(object, option->name, 0, &value) >= 0 &&
            (av_opt_get(fresh, option->name, 0, &initial) < 0 || !value || !initial ||
             std::strcmp(reinterpret_cast<char*>(value), reinterpret_cast<char*>(initial)) != 0);
        char* name = nullptr;
        char* escaped = nullptr;
        if (differs && value &&
            av_escape(&name, option->name, ":=", AV_ESCAPE_MODE_BACKSLASH, 0) >= 0 &&
            av_escape(&escaped, reinterpret_cast<char*>(value), ":=", AV_ESCAPE_MODE_BACKSLASH,
                      0) >= 0)
            state += std::string(state.empty() ? "" : ":") + name + "=" + escaped;
        av_free(name);
        av_free(escaped);
        av_free(value);
        av_free(initial);
    }
    return state;
}

// The object's own options, then its private part's.
std::string Serialize(void* object, void* fresh, int flags) {
    std::string state = SerializeOne(object, fresh, flags);
    void* part = av_opt_child_next(object, nullptr);
    void* freshPart = av_opt_child_next(fresh, nullptr);
    if (part && freshPart) {
        const std::string more = SerializeOne(part, freshPart, flags);
        if (!more.empty())
            state += (state.empty() ? "" : ":") + more;
    }
    return state;
}

// The option values of one object, its private part's included, onto another of its kind.
HRESULT CopyOptions(void* from, void* to) {
    int error = av_opt_copy(to, from);
    void* fromPart = av_opt_child_next(from, nullptr);
    void* toPart = av_opt_child_next(to, nullptr);
    if (error >= 0 && fromPart && toPart)
        error = av_opt_copy(toPart, fromPart);
    return StatusFromAv(error);
}

} // namespace

std::unique_ptr<FilterOptions> FilterOptions::ForEncoder(const AVCodec* codec) {
    const int kind =
        codec->type == AVMEDIA_TYPE_VIDEO ? AV_OPT_FLAG_VIDEO_PARAM : AV_OPT_FLAG_AUDIO_PARAM;
    std::unique_ptr<FilterOptions> options(
        new FilterOptions(Kind::Encoder, codec, nullptr, AV_OPT_FLAG_ENCODING_PARAM | kind));
    options->object_ = options->MakeObject();
    return options->object_ ? std::move(options) : nullptr;
}

std::unique_ptr<FilterOptions> FilterOptions::ForMultiplexer(const AVOutputFormat* format) {
    std::unique_ptr<FilterOptions> options(
        new FilterOptions(Kind::Multiplexer, format, nullptr, AV_OPT_FLAG_ENCODING_PARAM));
    options->object_ = options->MakeObject();
    return options->object_ ? std::move(options) : nullptr;
}

FilterOptions::FilterOptions(Kind kind, const void* what, void* object, int flags)
    : kind_(kind), what_(what), object_(object), flags_(flags) {}

FilterOptions::~FilterOptions() {
    FreeObject(object_);
}

void* FilterOptions::MakeObject() const {
    if (kind_ == Kind::Encoder)
        return avcodec_alloc_context3(static_cast<const AVCodec*>(what_));
    AVFormatContext* format = nullptr;
    avformat_alloc_output_context2(&format, static_cast<const AVOutputFormat*>(what_), nullptr,
                                   nullptr);
    return format;
}

void FilterOptions::FreeObject(void* object) const {
    if (kind_ == Kind::Encoder) {
        auto* codec = static_cast<AVCodecContext*>(object);
        avcodec_free_context(&codec);
    } else {
        avformat_free_context(static_cast<AVFormatContext*>(object));
    }
}

std::string FilterOptions::State() const {
    void* fresh = MakeObject();
    if (!fresh)
        return {};
    std::string state = Serialize(object_, fresh, flags_);
    FreeObject(fresh);
    return state;
}

HRESULT FilterOptions::SetState(std::string_view state) {
    void* fresh = MakeObject();
    if (!fresh)
        return E_OUTOFMEMORY;
    const std::string text(state);
    HRESULT hr = S_OK;
    if (!text.empty() && av_set_options_string(fresh, text.c_str(), "=", ":") < 0)
        hr = E_INVALIDARG;
    // Copied over rather than swapped, so the object a settings page holds stays valid.
    if (SUCCEEDED(hr))
        hr = CopyOptions(fresh, object_);
    FreeObject(fresh);
    return hr;
}

HRESULT FilterOptions::CopyTo(void* object) const {
    return CopyOptions(object_, object);
}

} // namespace graph
