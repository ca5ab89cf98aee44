#include "platform/graph/writing/multiplexer.h"

#include "platform/graph/event_queue.h"
#include "platform/graph/filter_graph.h"
#include "platform/graph/library_log.h"
#include "platform/graph/writing/bitmap_packer.h"
#include "platform/graph/writing/mux_file.h"
#include "platform/graph/writing/stream_encoder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace graph {

namespace {

// With full interleaving no stream runs further ahead of the others than this.
constexpr REFERENCE_TIME kInterleaveWindow = UNITS;
// The longest a stream waits for the others to catch up; a stream that stalls longer (a
// source that cannot be read on) must not hold up the file for ever.
constexpr auto kCatchUpLimit = std::chrono::seconds(10);
// The longest Stop waits for samples being coded or written to leave.
constexpr auto kStopLimit = std::chrono::seconds(30);

std::string InputName(int n) {
    char name[24];
    std::snprintf(name, sizeof name, "Input %02d", n);
    return name;
}

// Uncompressed pictures outside AVI: 24-bit BGR where the container names that layout,
// else 4:2:0 where it names that (Matroska), else 24-bit BGR under the container's own name.
AVPixelFormat RawPixelFormat(const AVOutputFormat* format) {
    for (AVPixelFormat pixels : {AV_PIX_FMT_BGR24, AV_PIX_FMT_YUV420P}) {
        const unsigned tag = avcodec_pix_fmt_to_codec_tag(pixels);
        if (!format->codec_tag || av_codec_get_id(format->codec_tag, tag) == AV_CODEC_ID_RAWVIDEO)
            return pixels;
    }
    return AV_PIX_FMT_BGR24;
}

} // namespace

CLSID MultiplexerClassId(const AVOutputFormat* format) {
    // Muxers that share a short name (Matroska and Matroska audio) are told apart by their
    // long names, except the first of them.
    int sameNameBefore = 0;
    void* state = nullptr;
    while (const AVOutputFormat* other = av_muxer_iterate(&state)) {
        if (other == format)
            break;
        sameNameBefore += std::strcmp(other->name, format->name) == 0;
    }
    std::string key = format->name;
    if (sameNameBefore > 0)
        key += std::string("/") + (format->long_name ? format->long_name : "");
    return ClassIdOf(FilterKind::Multiplexer, key);
}

HRESULT Multiplexer::Create(const AVOutputFormat* format, std::string name,
                            std::shared_ptr<Multiplexer>* out) {
    if (!out || !format)
        return E_POINTER;
    if (format->flags & AVFMT_NOFILE)
        return VFW_E_UNSUPPORTED_STREAM;
    std::shared_ptr<Multiplexer> mux(
        new Multiplexer(format, std::move(name), MultiplexerClassId(format), true));
    if (!mux->options_)
        return E_OUTOFMEMORY;
    *out = std::move(mux);
    return S_OK;
}

Multiplexer::Multiplexer(const AVOutputFormat* format, std::string name, const CLSID& classId,
                         bool growsInputs)
    : BaseFilter(std::move(name), classId), format_(format), growsInputs_(growsInputs),
      options_(FilterOptions::ForMultiplexer(format)) {
    if (growsInputs_)
        AddInput(InputName(1), MajorType::Other);
}

Multiplexer::~Multiplexer() {
    Stop();
}

Pin* Multiplexer::AddInput(std::string name, MajorType major) {
    Pin* pin = AddPin(PinDirection::Input, std::move(name), MediaType(major));
    Input input;
    input.pin = pin;
    inputs_.push_back(std::move(input));
    return pin;
}

void Multiplexer::RemoveInputs() {
    RemovePins(PinDirection::Input);
    inputs_.clear();
}

bool KeepsNoShowingTimes(const AVOutputFormat* format) {
    return format && std::strcmp(format->name, "avi") == 0;
}

bool Multiplexer::KeepsShowingTimes() const {
    return !KeepsNoShowingTimes(format_);
}

bool Multiplexer::WantsGlobalHeaders() const {
    return format_->flags & AVFMT_GLOBALHEADER;
}

bool Multiplexer::WrittenPosition(REFERENCE_TIME* position) const {
    *position = written_.load();
    return true;
}

HRESULT Multiplexer::put_Mode(long mode) {
    if (State() != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    if (mode < INTERLEAVE_NONE || mode > INTERLEAVE_NONE_BUFFERED)
        return E_INVALIDARG;
    interleaving_ = mode;
    return S_OK;
}

HRESULT Multiplexer::get_Mode(long* mode) const {
    if (!mode)
        return E_POINTER;
    *mode = interleaving_;
    return S_OK;
}

HRESULT Multiplexer::SetFileName(const std::string& path) {
    if (State() != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    if (path.empty())
        return E_INVALIDARG;
    path_ = path;
    return S_OK;
}

HRESULT Multiplexer::GetCurFile(std::string* path) const {
    if (!path)
        return E_POINTER;
    *path = path_;
    return path_.empty() ? S_FALSE : S_OK;
}

HRESULT Multiplexer::SetMode(unsigned long flags) {
    if (State() != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    if (flags & ~AM_FILE_OVERWRITE)
        return E_INVALIDARG;
    fileMode_ = flags;
    return S_OK;
}

HRESULT Multiplexer::GetMode(unsigned long* flags) const {
    if (!flags)
        return E_POINTER;
    *flags = fileMode_;
    return S_OK;
}

bool ContainerHolds(const AVOutputFormat* format, AVCodecID codec) {
    return avformat_query_codec(format, codec, FF_COMPLIANCE_NORMAL) != 0;
}

bool Multiplexer::Accepts(const Pin& input, const MediaType& type) const {
    return AcceptsOn(input, type);
}

bool Multiplexer::AcceptsOn(const Pin&, const MediaType& type) const {
    const AVCodecParameters* p = type.Parameters();
    if (!p || (type.Major() != MajorType::Video && type.Major() != MajorType::Audio))
        return false;
    AVCodecID codec = p->codec_id;
    if (type.IsDecoded())
        codec = type.Major() == MajorType::Video ? AV_CODEC_ID_RAWVIDEO : AV_CODEC_ID_PCM_S16LE;
    return ContainerHolds(format_, codec);
}

HRESULT Multiplexer::CompleteConnect(Pin& pin, Pin&) {
    if (pin.Direction() != PinDirection::Input || !growsInputs_)
        return S_OK;
    for (const Input& input : inputs_) {
        if (!input.pin->IsConnected() && input.pin != &pin)
            return S_OK;
    }
    AddInput(InputName(static_cast<int>(inputs_.size()) + 1), MajorType::Other);
    return S_OK;
}

HRESULT Multiplexer::MakeCoder(const Pin&, const MediaType& type,
                               std::unique_ptr<StreamCoder>* out) const {
    HRESULT hr = S_OK;
    if (type.Major() == MajorType::Video && StoresWindowsBitmaps(format_)) {
        std::unique_ptr<BitmapPacker> packer;
        hr = BitmapPacker::Create(type, &packer);
        *out = std::move(packer);
        return hr;
    }
    const bool video = type.Major() == MajorType::Video;
    std::unique_ptr<StreamEncoder> encoder;
    hr = StreamEncoder::Open(
        {.codec = avcodec_find_encoder(video ? AV_CODEC_ID_RAWVIDEO : AV_CODEC_ID_PCM_S16LE),
         .pixelFormat = RawPixelFormat(format_),
         .globalHeader = WantsGlobalHeaders()},
        type, &encoder);
    *out = std::move(encoder);
    return hr;
}

Multiplexer::Input* Multiplexer::InputOf(const Pin& pin) {
    for (Input& input : inputs_) {
        if (input.pin == &pin)
            return &input;
    }
    return nullptr;
}

HRESULT Multiplexer::Pause() {
    if (State() == FilterState::Stopped) {
        const LibraryLogCapture capture;
        const HRESULT hr = Start();
        if (FAILED(hr)) {
            NoteFailure(hr);
            return hr;
        }
    }
    return BaseFilter::Pause();
}

HRESULT Multiplexer::Start() {
    if (std::none_of(inputs_.begin(), inputs_.end(),
                     [](const Input& input) { return input.pin->IsConnected(); }))
        return VFW_E_NOT_CONNECTED;
    if (path_.empty())
        return E_INVALIDARG;
    std::unique_ptr<MuxFile> file;
    HRESULT hr = MuxFile::Open(format_, *options_, path_, fileMode_ & AM_FILE_OVERWRITE, &file);
    if (FAILED(hr))
        return hr;
    std::lock_guard lock(mutex_);
    for (Input& input : inputs_) {
        Input fresh;
        fresh.pin = input.pin;
        input = std::move(fresh);
        MediaType type;
        if (FAILED(input.pin->ConnectionMediaType(&type)))
            continue;
        if (type.IsDecoded()) {
            hr = MakeCoder(*input.pin, type, &input.coder);
            if (FAILED(hr))
                return hr;
            type = input.coder->OutputType();
        }
        input.stream = file->AddStream(type);
        if (input.stream < 0)
            return E_OUTOFMEMORY;
    }
    file_ = std::move(file);
    origin_ = 0;
    originFixed_ = false;
    stopping_ = false;
    flushing_ = false;
    finished_ = false;
    failure_ = S_OK;
    written_ = 0;
    return S_OK;
}

void Multiplexer::DiscardFile() {
    std::lock_guard lock(mutex_);
    if (!file_ || finished_)
        return;
    if (!FAILED(failure_))
        failure_ = E_ABORT;
    file_->Abandon();
    changed_.notify_all();
}

HRESULT Multiplexer::Stop() {
    HRESULT hr = S_OK;
    {
        std::unique_lock lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
        const bool idle = changed_.wait_for(lock, kStopLimit, [this] { return busy_ == 0; });
        // What was written so far stays a complete file.
        if (file_ && !finished_ && failure_ == S_OK)
            hr = FinishFile();
        file_.reset();
        for (Input& input : inputs_) {
            // A coder still in use by a stuck streaming thread is left to it.
            if (idle)
                input.coder.reset();
            input.stream = -1;
        }
    }
    if (FAILED(hr))
        std::fprintf(stderr, "%s: %s\n", Name().c_str(), core::StatusText(hr).c_str());
    BaseFilter::Stop();
    return hr;
}

bool Multiplexer::Refusing() const {
    return stopping_ || flushing_ || finished_ || FAILED(failure_) || !file_;
}

HRESULT Multiplexer::RefusalStatus() const {
    return FAILED(failure_) ? failure_ : VFW_E_WRONG_STATE;
}

HRESULT Multiplexer::Receive(Pin& pin, MediaSample sample) {
    Input* input = InputOf(pin);
    {
        std::lock_guard lock(mutex_);
        if (Refusing() || !input || input->stream < 0 || input->ended)
            return RefusalStatus();
        ++busy_;
    }
    // Coding runs outside the lock, so the streams are coded side by side.
    const LibraryLogCapture capture;
    HRESULT hr = E_POINTER;
    if (input->coder)
        hr = input->coder->Encode(
            sample, [&](MediaSample packet) { return Write(*input, std::move(packet)); });
    else if (sample.packet)
        hr = Write(*input, std::move(sample));
    std::lock_guard lock(mutex_);
    --busy_;
    // Only Stop waits for the samples in progress; waking it for every sample would cost the
    // thread that codes them a system call each time.
    if (stopping_ && busy_ == 0)
        changed_.notify_all();
    if (FAILED(hr) && hr != VFW_E_WRONG_STATE)
        Fail(hr);
    return hr;
}

HRESULT Multiplexer::Write(Input& input, MediaSample packet) {
    std::unique_lock lock(mutex_);
    if (interleaving_ == INTERLEAVE_FULL)
        WaitForOthers(lock, input, packet.start);
    if (Refusing())
        return RefusalStatus();
    if (!originFixed_) {
        originFixed_ = true;
        for (Input& each : inputs_)
            each.reached = origin_;
    }
    const REFERENCE_TIME end = std::max(packet.start, packet.stop);
    const HRESULT hr = file_->Write(input.stream, std::move(packet), origin_);
    if (FAILED(hr)) {
        Fail(hr);
        return hr;
    }
    input.reached = std::max(input.reached, end);
    UpdateWrittenTime();
    WakeStreamsFreeToGoOn();
    return S_OK;
}

void Multiplexer::WakeStreamsFreeToGoOn() {
    if (std::any_of(inputs_.begin(), inputs_.end(),
                    [this](const Input& each) { return each.held && !Behind(each, each.goOnAt); }))
        changed_.notify_all();
}

bool Multiplexer::Behind(const Input& input, REFERENCE_TIME time) const {
    return std::any_of(inputs_.begin(), inputs_.end(), [&](const Input& other) {
        return &other != &input && other.stream >= 0 && !other.ended &&
               std::max(other.reached, other.next) < time;
    });
}

void Multiplexer::WaitForOthers(std::unique_lock<std::mutex>& lock, Input& input,
                                REFERENCE_TIME time) {
    input.next = time;
    // A stream that jumps ahead (after a gap in it) may let one held back go on.
    WakeStreamsFreeToGoOn();
    if (!Behind(input, time - kInterleaveWindow))
        return;
    // A stream held back goes on once the others are within half the window, and then writes
    // a run of packets: woken for every packet of the others, it would cost them a system
    // call each.
    input.held = true;
    input.goOnAt = time - kInterleaveWindow / 2;
    changed_.wait_for(lock, kCatchUpLimit,
                      [&] { return Refusing() || !Behind(input, input.goOnAt); });
    input.held = false;
}

void Multiplexer::UpdateWrittenTime() {
    REFERENCE_TIME slowest = INT64_MAX;
    REFERENCE_TIME furthest = origin_;
    for (const Input& input : inputs_) {
        if (input.stream < 0)
            continue;
        furthest = std::max(furthest, input.reached);
        if (!input.ended)
            slowest = std::min(slowest, input.reached);
    }
    written_ = std::max<REFERENCE_TIME>(0, (slowest == INT64_MAX ? furthest : slowest) - origin_);
}

void Multiplexer::EndOfStream(Pin& pin) {
    Input* input = InputOf(pin);
    {
        std::lock_guard lock(mutex_);
        if (Refusing() || !input || input->stream < 0 || input->ended)
            return;
        ++busy_;
    }
    const LibraryLogCapture capture;
    HRESULT hr = S_OK;
    if (input->coder)
        hr = input->coder->Finish(
            [&](MediaSample packet) { return Write(*input, std::move(packet)); });
    bool complete = false;
    {
        std::lock_guard lock(mutex_);
        --busy_;
        changed_.notify_all();
        if (FAILED(hr)) {
            if (hr != VFW_E_WRONG_STATE)
                Fail(hr);
            return;
        }
        if (Refusing())
            return;
        input->ended = true;
        hr = file_->EndStream(input->stream);
        UpdateWrittenTime();
        if (SUCCEEDED(hr) && std::all_of(inputs_.begin(), inputs_.end(), [](const Input& each) {
                return each.stream < 0 || each.ended;
            })) {
            if (Graph() && Graph()->RunFailed()) {
                // Streams a failure elsewhere ended early (a source cut short) are not the
                // whole output: what was written does not take the file's name.
                failure_ = E_ABORT;
                file_->Abandon();
                return;
            }
            hr = FinishFile();
            complete = SUCCEEDED(hr);
            finished_ = complete;
        }
        if (FAILED(hr))
            Fail(hr);
    }
    if (complete && Graph())
        Graph()->BranchEnded();
}

HRESULT Multiplexer::FinishFile() {
    return file_ ? file_->Finish() : S_OK;
}

void Multiplexer::Fail(HRESULT hr) {
    if (FAILED(failure_))
        return;
    failure_ = hr;
    NoteFailure(hr);
    // A file that failed is not the whole video: it does not take the name.
    if (file_)
        file_->Abandon();
    NotifyEvent(EC_ERRORABORT, hr, 0);
    changed_.notify_all();
}

void Multiplexer::BeginFlush(Pin&) {
    std::lock_guard lock(mutex_);
    flushing_ = true;
    changed_.notify_all();
}

void Multiplexer::EndFlush(Pin&) {
    std::lock_guard lock(mutex_);
    flushing_ = false;
}

void Multiplexer::NewSegment(Pin&, REFERENCE_TIME start) {
    std::lock_guard lock(mutex_);
    // The file starts where the first segment does; later segments go on after it.
    if (!originFixed_)
        origin_ = start;
}

} // namespace graph
