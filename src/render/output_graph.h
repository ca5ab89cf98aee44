#pragma once
// Writing a composition to a file. A render engine gives one output pin per group of the
// timeline; each goes through its compressor, if one is chosen, into the writer the output
// format asks for: the AVI multiplexer, the Windows Media ASF writer with a generated profile,
// or the multiplexer whose class identifier the settings hold. The graph then runs on its own
// threads and reports its end, or a failure, to the notify window as WM_GRAPHNOTIFY.
//
// Every failure is shown to the user (through ui::Prompts) as it happens, and leaves nothing
// running.
#include "options/output_settings.h"
#include "platform/editing/render_engine.h"
#include "platform/graph/writing/writer_interfaces.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QObject;

namespace render {

// The objects of a running conversion, from a successful start until it is ended.
struct Conversion {
    std::unique_ptr<editing::RenderEngine> pRenderEngine;
    graph::IMediaControl* pControl = nullptr;
    graph::IMediaEventEx* pEvent = nullptr;
    graph::IFileSinkFilter2* pSink = nullptr;

    bool Running() const { return pControl != nullptr; }
    // How far the file has been written, in output time; 0 when nothing runs.
    REFERENCE_TIME WrittenTime() const;
};

struct OutputParts {
    // The program's compressor objects; used when the settings' flags ask for them.
    std::shared_ptr<graph::BaseFilter> videoCompressor;
    std::shared_ptr<graph::BaseFilter> audioCompressor;
    // The stored "CurrentMuxerCLSID" of the custom multiplexer.
    QString muxerClassId;
    // Receives WM_GRAPHNOTIFY; may be null.
    QObject* notifyWindow = nullptr;
    // Called with the built graph just before it runs, when the output goes through a custom
    // multiplexer, so the user can set up its filters.
    std::function<void(graph::FilterGraph&)> beforeCustomRun;
    // When the picture is copied: the video, and its span the output shows.
    struct PictureCopy {
        std::string path;
        REFERENCE_TIME from = 0;
        REFERENCE_TIME to = 0;
    };
    std::optional<PictureCopy> pictureCopy;
};

// Whether the output's container stores each picture's own time, so a picture of uneven frame
// times can keep them; AVI and ASF count frames at one rate.
bool KeepsEachFrameTime(const OutputSettings& output, const OutputParts& parts);

// Builds the output graph of `timeline` for `output` and runs it; `conversion` then holds
// it. For WMV output the writer encodes by itself, so both compressor flags of `output`
// become 0. Returns the failing status after showing its message.
HRESULT RenderToFile(editing::Timeline* timeline, OutputSettings& output, const OutputParts& parts,
                     Conversion& conversion);

// For a run that failed, before it ends: the writer deletes what it wrote, so nothing
// incomplete takes the output file's name.
void DiscardOutput(Conversion& conversion);

// Stops the graph, lets go of its events and discards the engine; nothing runs afterwards.
// A run that was not discarded keeps what it wrote, under the output file's name.
void EndConversion(Conversion& conversion);

// The platform's text for a status, cut as a 160-byte buffer cuts it.
QString ErrorText(HRESULT hr);

// Why a running conversion failed with `hr`: the failing encoder's or writer's own words,
// else the status's text.
QString FailureReason(const Conversion& conversion, HRESULT hr);

// The summary of a conversion the user stopped once `reached` of the output was written.
QString StoppedSummary(REFERENCE_TIME reached, const QString& file);
// The summary of a failed conversion to `file`, once its output was discarded: whether a
// file of that name is still there, not replaced, or none was written.
QString FailedSummary(const QString& file);

} // namespace render
