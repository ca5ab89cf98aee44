#pragma once
// A multiplexer that writes a file through a libavformat muxer: the end of a conversion
// graph's branches. It has one input per stream and always one free input more: connecting
// the free one adds the next. An input takes compressed packets of a codec the container
// holds, or decoded pictures and sound, which it stores uncompressed (in AVI as Windows
// does: bottom-up 24-bit BGR pictures and 16-bit PCM sound; elsewhere 16-bit PCM and 24-bit
// BGR pictures, or 4:2:0 ones where the container has no name for BGR, as Matroska). The
// container's header is written once every stream has sent its first packet, with the codec
// parameters that packet announced (an encoder settles them only when it starts).
//
// It writes as fast as its inputs deliver, never waiting for the presentation clock. With
// INTERLEAVE_FULL a stream that runs ahead of the others waits for them, so the file
// interleaves closely. When every input has ended and the file is complete it reports the
// end of its branch, which completes the graph (EC_COMPLETE). A failure to write (a full
// disk, a device error) is reported once as EC_ERRORABORT with its status; what was written
// is deleted, a file it was to replace stays as it was, and the inputs refuse further
// samples. Stop finishes the file, so what was written so far plays under the file's name.
//
// Threads: settings, connections, Pause and Stop on the user-interface thread; each input's
// samples on the streaming thread of the filter upstream of it, several at once.
//
//   std::shared_ptr<graph::Multiplexer> avi;
//   graph::Multiplexer::Create(av_guess_format("avi", nullptr, nullptr), "AVI Mux", &avi);
//   avi->SetFileName("/tmp/out.avi");
//   avi->SetMode(graph::AM_FILE_OVERWRITE);
//   avi->put_Mode(graph::INTERLEAVE_FULL);
// Owned by its graph (and by the program while it configures it).
#include "platform/graph/filter.h"
#include "platform/graph/writing/filter_options.h"
#include "platform/graph/writing/stream_coder.h"
#include "platform/graph/writing/writer_interfaces.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct AVOutputFormat;

namespace graph {

class MuxFile;

// The class identifier of a multiplexer over this muxer: from its FFmpeg name, told apart
// by its long name when an earlier muxer has the same short name.
CLSID MultiplexerClassId(const AVOutputFormat* format);

// Whether a file of this container can hold a stream of this codec: no only when the muxer
// says so plainly (one that cannot tell is given the chance).
bool ContainerHolds(const AVOutputFormat* format, AVCodecID codec);

// Whether files of the container keep only the order of the pictures, not their showing
// times (AVI): a player shows pictures coded out of order late by the reordering.
bool KeepsNoShowingTimes(const AVOutputFormat* format);

class Multiplexer : public BaseFilter,
                    public IConfigInterleaving,
                    public IFileSinkFilter2,
                    public ISpecifyPropertyPages {
  public:
    // E_POINTER for no format; VFW_E_UNSUPPORTED_STREAM for a muxer that writes no file of
    // its own. The class identifier comes from the muxer's FFmpeg name.
    static HRESULT Create(const AVOutputFormat* format, std::string name,
                          std::shared_ptr<Multiplexer>* out);
    ~Multiplexer() override;

    const AVOutputFormat* Format() const { return format_; }
    // Whether an encoder feeding it should keep its codec data apart from the packets (the
    // container stores it in its header).
    bool WantsGlobalHeaders() const;
    // Whether the file keeps each picture's showing time (AVI keeps only the order).
    bool KeepsShowingTimes() const;

    // IConfigInterleaving
    HRESULT put_Mode(long mode) override;
    HRESULT get_Mode(long* mode) const override;
    // IFileSinkFilter2
    HRESULT SetFileName(const std::string& path) override;
    HRESULT GetCurFile(std::string* path) const override;
    HRESULT SetMode(unsigned long flags) override;
    HRESULT GetMode(unsigned long* flags) const override;
    void DiscardFile() override;
    // ISpecifyPropertyPages: the muxer's options.
    FilterOptions& Options() override { return *options_; }

    bool EndsBranch() const final { return true; }
    // How far every stream of the file has been written, in media time from the start of
    // the run; any thread. Through the graph's IMediaSeeking::GetCurrentPosition it is the
    // progress of a conversion.
    bool WrittenPosition(REFERENCE_TIME* position) const final;
    bool Accepts(const Pin& input, const MediaType& type) const override;
    HRESULT CompleteConnect(Pin& pin, Pin& peer) override;
    // Opens the file (E_FILE_EXISTS without the overwrite mode when it exists, the status of
    // a file that cannot be created) and readies the streams of the connected inputs;
    // VFW_E_NOT_CONNECTED when no input is connected.
    HRESULT Pause() override;
    HRESULT Stop() override;

    HRESULT Receive(Pin& input, MediaSample sample) override;
    void EndOfStream(Pin& input) override;
    void BeginFlush(Pin& input) override;
    void EndFlush(Pin& input) override;
    void NewSegment(Pin& input, REFERENCE_TIME start) override;

  protected:
    // `growsInputs`: a free input is added whenever the last free one is connected.
    Multiplexer(const AVOutputFormat* format, std::string name, const CLSID& classId,
                bool growsInputs);
    Pin* AddInput(std::string name, MajorType major);
    // Whether an input takes the type: by default packets of a codec the container holds,
    // or decoded samples whose uncompressed form it holds.
    virtual bool AcceptsOn(const Pin& input, const MediaType& type) const;
    // What turns an input's decoded samples into packets; by default the uncompressed forms.
    virtual HRESULT MakeCoder(const Pin& input, const MediaType& type,
                              std::unique_ptr<StreamCoder>* out) const;

    // Takes every input away (they must be disconnected); the user-interface thread, while
    // stopped.
    void RemoveInputs();

  private:
    struct Input {
        Pin* pin = nullptr;
        int stream = -1; // in the file, while running
        // For decoded input: made by Pause, used by the input's streaming thread alone and
        // without the lock, freed by Stop once no sample is in progress (busy_).
        std::unique_ptr<StreamCoder> coder;
        bool ended = false;
        REFERENCE_TIME reached = 0; // the end of its last packet written
        REFERENCE_TIME next = 0;    // the start of the packet it is about to write
        bool held = false;          // waiting for the others to catch up
        REFERENCE_TIME goOnAt = 0;  // while held: how far the others must have come
    };

    HRESULT Start();
    Input* InputOf(const Pin& pin);
    HRESULT Write(Input& input, MediaSample packet);
    // Lets a stream go on only while no other is further behind than the interleaving
    // window (bounded: a stalled stream holds the others up for a while only).
    void WaitForOthers(std::unique_lock<std::mutex>& lock, Input& input, REFERENCE_TIME time);
    // Whether another stream, not ended, has not come as far as `time`.
    bool Behind(const Input& input, REFERENCE_TIME time) const;
    // Wakes the streams held back once the others have come far enough for one of them.
    void WakeStreamsFreeToGoOn();
    void UpdateWrittenTime();
    // Writes the rest of the file and closes it; the status of the first failure.
    HRESULT FinishFile();
    // Reports the first failure, and deletes what was written.
    void Fail(HRESULT hr);
    bool Refusing() const;
    HRESULT RefusalStatus() const;

    const AVOutputFormat* format_;
    const bool growsInputs_;
    std::unique_ptr<FilterOptions> options_;

    // Settings: user-interface thread, while stopped.
    std::string path_;
    unsigned long fileMode_ = 0;
    long interleaving_ = INTERLEAVE_CAPTURE;

    // Connections (inputs_ and its pins) change on the user-interface thread while stopped;
    // the streaming threads start afterwards. The rest of inputs_ (but the coders) and the
    // fields below are under mutex_: written by the user-interface thread (Pause, Stop) and
    // the streaming threads (samples, ends, failures).
    std::vector<Input> inputs_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<MuxFile> file_;
    REFERENCE_TIME origin_ = 0; // the media time the file starts at
    bool originFixed_ = false;  // a packet has been written since the start
    bool stopping_ = false;
    bool flushing_ = false;
    bool finished_ = false;
    HRESULT failure_ = S_OK;
    int busy_ = 0; // samples being coded or written

    // Written under mutex_, read by any thread.
    std::atomic<REFERENCE_TIME> written_{0};
};

} // namespace graph
