// Encoders and writers on decoded files: the files written open with the right streams,
// settings reach the encoder and stay with it from graph to graph, and failures to write end
// the run with a status that says why.
#include "support/media_fixtures.h"
#include "support/small_file_system.h"
#include "writer_helpers.h"

#include "platform/graph/event_queue.h"
#include "platform/graph/writing/capture_graph_builder.h"
#include "platform/graph/writing/encoder.h"
#include "platform/graph/writing/multiplexer.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace graph;
using namespace writertest;
using testsupport::ClipKind;

constexpr int kRunLimitMs = 60000;

// A graph from a file through optional compressors into the writer of `kind`.
struct Conversion {
    FilterGraph graph;
    CaptureGraphBuilder2 builder;
    BaseFilter* mux = nullptr;
    IFileSinkFilter2* sink = nullptr;
    IMediaControl* control = nullptr;

    Conversion(const std::string& source, const GUID& kind, const std::string& output) {
        graph.QueryInterface(&control);
        builder.SetFiltergraph(&graph);
        EXPECT_EQ(builder.SetOutputFileName(kind, output, &mux, &sink), S_OK);
        sink->SetMode(AM_FILE_OVERWRITE);
        pins = DecodeFile(graph, source);
    }
    // Connects the n-th decoded stream, through the compressor when there is one.
    HRESULT Connect(std::size_t n, const std::shared_ptr<BaseFilter>& compressor,
                    const std::string& name) {
        if (compressor) {
            const HRESULT hr = graph.AddFilter(compressor, name);
            if (FAILED(hr))
                return hr;
        }
        return builder.RenderStream(pins.at(n), compressor.get(), mux);
    }
    Ending Run() {
        if (FAILED(control->Run()))
            return {};
        const Ending ending = WaitForEnd(graph, kRunLimitMs);
        control->Stop();
        return ending;
    }

    std::vector<Pin*> pins;
};

TEST(EncoderWriter, AviWithDivxAndMicrosoftAdpcmCompletesAndHoldsBothStreams) {
    const std::string path = OutputPath("compressed.avi");
    Conversion conversion(testsupport::Clip(ClipKind::H264Aac), MEDIASUBTYPE_Avi, path);
    ASSERT_EQ(conversion.pins.size(), 2u);
    ASSERT_EQ(conversion.Connect(0, Compressor("mpeg4"), "VideoCompressor"), S_OK);
    ASSERT_EQ(conversion.Connect(1, Compressor("adpcm_ms"), "AudioCompressor"), S_OK);
    EXPECT_EQ(conversion.mux->Name(), "AVI Mux");

    const Ending ending = conversion.Run();
    EXPECT_EQ(ending.code, EC_COMPLETE);
    REFERENCE_TIME written = 0;
    EXPECT_EQ(conversion.graph.GetCurrentPosition(&written), S_OK);
    EXPECT_NEAR(written, testsupport::kClipSeconds * UNITS, UNITS / 10);

    const ProbedFile file = Probe(path);
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.format, "avi");
    const ProbedStream* video = file.Stream("video");
    const ProbedStream* audio = file.Stream("audio");
    ASSERT_TRUE(video && audio);
    EXPECT_EQ(video->codec, "mpeg4");
    EXPECT_EQ(video->width, testsupport::kClipWidth);
    EXPECT_EQ(video->height, testsupport::kClipHeight);
    EXPECT_NEAR(video->frameRate, testsupport::kClipFps, 0.01);
    EXPECT_EQ(video->packets, testsupport::kClipSeconds * testsupport::kClipFps);
    EXPECT_EQ(audio->codec, "adpcm_ms");
    EXPECT_EQ(audio->sampleRate, testsupport::kClipSampleRate);
    EXPECT_EQ(audio->channels, 2);
    EXPECT_NEAR(file.duration, testsupport::kClipSeconds, 0.1);
    EXPECT_EQ(DecodeErrors(path), "");
}

TEST(EncoderWriter, SettingsReachTheEncoderAndStayWithItAcrossGraphs) {
    std::shared_ptr<BaseFilter> compressor = Compressor("mpeg4");
    auto* pages = QueryFilterInterface<ISpecifyPropertyPages>(compressor.get());
    ASSERT_NE(pages, nullptr);
    FilterOptions& options = pages->Options();
    ASSERT_GE(av_opt_set(options.Object(), "g", "10", AV_OPT_SEARCH_CHILDREN), 0);
    ASSERT_GE(av_opt_set(options.Object(), "mpeg_quant", "1", AV_OPT_SEARCH_CHILDREN), 0);
    // Every picture of the clip differs from the last: no key frames at scene changes.
    ASSERT_GE(av_opt_set(options.Object(), "sc_threshold", "1000000000", AV_OPT_SEARCH_CHILDREN),
              0);
    EXPECT_NE(options.State().find("g=10"), std::string::npos);
    EXPECT_NE(options.State().find("mpeg_quant=1"), std::string::npos);

    for (int gop : {10, 50}) {
        if (gop == 50) {
            ASSERT_GE(av_opt_set(options.Object(), "g", "50", AV_OPT_SEARCH_CHILDREN), 0);
        }
        const std::string path = OutputPath("gop.avi");
        {
            Conversion conversion(testsupport::Clip(ClipKind::PictureOnly), MEDIASUBTYPE_Avi, path);
            ASSERT_EQ(conversion.Connect(0, compressor, "VideoCompressor"), S_OK);
            EXPECT_EQ(compressor->Name(), "VideoCompressor");
            EXPECT_EQ(conversion.Run().code, EC_COMPLETE);
        }
        // The graph has let the compressor go, settings and all.
        EXPECT_EQ(compressor->Graph(), nullptr);
        const int frames = testsupport::kClipSeconds * testsupport::kClipFps;
        EXPECT_EQ(KeyFrames(path).size(), static_cast<std::size_t>((frames + gop - 1) / gop))
            << "GOP " << gop;
    }
    EXPECT_NE(options.State().find("mpeg_quant=1"), std::string::npos);
}

TEST(EncoderWriter, AStateReadsBackIntoAnotherEncoderAndABadOneChangesNothing) {
    std::shared_ptr<BaseFilter> first = Compressor("libx264");
    std::shared_ptr<BaseFilter> second = Compressor("libx264");
    ASSERT_TRUE(first && second);
    FilterOptions& a = QueryFilterInterface<ISpecifyPropertyPages>(first.get())->Options();
    FilterOptions& b = QueryFilterInterface<ISpecifyPropertyPages>(second.get())->Options();
    // An encoder's own defaults (libx264's differ from the generic ones) are no change.
    EXPECT_EQ(a.State(), "");
    ASSERT_GE(av_opt_set(a.Object(), "b", "750k", AV_OPT_SEARCH_CHILDREN), 0);
    ASSERT_GE(av_opt_set(a.Object(), "preset", "veryfast", AV_OPT_SEARCH_CHILDREN), 0);
    ASSERT_GE(av_opt_set(a.Object(), "x264-params", "keyint=7:scenecut=0", AV_OPT_SEARCH_CHILDREN),
              0);
    const std::string state = a.State();
    void* object = b.Object();
    EXPECT_EQ(b.SetState(state), S_OK);
    EXPECT_EQ(b.Object(), object);
    EXPECT_EQ(b.State(), state);
    std::int64_t bitRate = 0;
    av_opt_get_int(b.Object(), "b", AV_OPT_SEARCH_CHILDREN, &bitRate);
    EXPECT_EQ(bitRate, 750'000);

    EXPECT_EQ(b.SetState("no_such_option=1"), E_INVALIDARG);
    EXPECT_EQ(b.SetState("b=not a number"), E_INVALIDARG);
    EXPECT_EQ(b.State(), state);
    EXPECT_EQ(b.SetState(""), S_OK);
    EXPECT_EQ(b.State(), std::unique_ptr<FilterOptions>(
                             FilterOptions::ForEncoder(avcodec_find_encoder_by_name("libx264")))
                             ->State());
}

TEST(EncoderWriter, MultiplexersOfferTheirOptionsAndOtherFiltersOfferNone) {
    std::shared_ptr<BaseFilter> matroska;
    ASSERT_EQ(CreateDeviceFilter(DeviceCategory::Filter,
                                 FindDevice(DeviceCategory::Filter, "matroska mux"), &matroska),
              S_OK);
    auto* pages = QueryFilterInterface<ISpecifyPropertyPages>(matroska.get());
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->Options().State(), "");
    ASSERT_GE(av_opt_set(pages->Options().Object(), "reserve_index_space", "4096",
                         AV_OPT_SEARCH_CHILDREN),
              0);
    EXPECT_EQ(pages->Options().State(), "reserve_index_space=4096");

    std::shared_ptr<BaseFilter> renderer;
    ASSERT_EQ(CreateDeviceFilter(DeviceCategory::Filter,
                                 FindDevice(DeviceCategory::Filter, "video renderer"), &renderer),
              S_OK);
    EXPECT_EQ(QueryFilterInterface<ISpecifyPropertyPages>(renderer.get()), nullptr);
}

TEST(EncoderWriter, DecodedStreamsGoIntoMatroskaUncompressed) {
    const std::string path = OutputPath("raw.mkv");
    Conversion conversion(testsupport::Clip(ClipKind::H264Aac),
                          EnumerateDevices(DeviceCategory::Filter)
                              .at(FindDevice(DeviceCategory::Filter, "matroska Mux"))
                              .classId,
                          path);
    ASSERT_EQ(conversion.Connect(0, nullptr, ""), S_OK);
    ASSERT_EQ(conversion.Connect(1, nullptr, ""), S_OK);
    EXPECT_EQ(conversion.Run().code, EC_COMPLETE);
    const ProbedFile file = Probe(path);
    ASSERT_TRUE(file.opened);
    ASSERT_TRUE(file.Stream("video") && file.Stream("audio"));
    EXPECT_EQ(file.Stream("video")->codec, "rawvideo");
    EXPECT_EQ(file.Stream("audio")->codec, "pcm_s16le");
    EXPECT_EQ(DecodeErrors(path), "");
}

// An odd row length (162 pictures of three bytes do not fill whole words) and a picture that
// is not the same upside down.
TEST(EncoderWriter, UncompressedPicturesKeepTheirRowsAndOrientation) {
    const std::string source = testsupport::PlainClip(162, 120, 25, 1, false);
    const std::vector<std::uint8_t> expected = FirstPicture(source);
    ASSERT_EQ(expected.size(), 162u * 120u);
    for (const char* muxer : {"AVI Mux", "matroska Mux", "nut Mux"}) {
        const std::string path = OutputPath(std::string("rows_") + muxer);
        {
            Conversion conversion(source,
                                  EnumerateDevices(DeviceCategory::Filter)
                                      .at(FindDevice(DeviceCategory::Filter, muxer))
                                      .classId,
                                  path);
            ASSERT_EQ(conversion.Connect(0, nullptr, ""), S_OK) << muxer;
            EXPECT_EQ(conversion.Run().code, EC_COMPLETE) << muxer;
        }
        const std::vector<std::uint8_t> picture = FirstPicture(path);
        ASSERT_EQ(picture.size(), expected.size()) << muxer;
        double difference = 0;
        for (std::size_t i = 0; i < picture.size(); ++i)
            difference += std::abs(picture[i] - expected[i]);
        EXPECT_LT(difference / picture.size(), 3.0) << muxer;
        // Matroska has no name for 24-bit BGR.
        EXPECT_EQ(Probe(path).Stream("video")->pixelFormat,
                  std::string(muxer) == "matroska Mux" ? "yuv420p" : "bgr24")
            << muxer;
    }
}

TEST(WriterFailures, AFolderThatDoesNotExistFailsTheStartAndLeavesTheGraphStopped) {
    Conversion conversion(testsupport::Clip(ClipKind::PictureOnly), MEDIASUBTYPE_Avi,
                          OutputPath("no/such/folder/out.avi"));
    ASSERT_EQ(conversion.Connect(0, nullptr, ""), S_OK);
    const HRESULT hr = conversion.control->Run();
    EXPECT_EQ(hr, E_FILE_NOT_FOUND);
    EXPECT_EQ(core::StatusText(hr), "The system cannot find the file specified.");
    long state = -1;
    conversion.control->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
}

TEST(WriterFailures, AFullDiskEndsTheRunWithItsStatus) {
    Conversion conversion(testsupport::Clip(ClipKind::H264Aac), MEDIASUBTYPE_Avi, "/dev/full");
    ASSERT_EQ(conversion.Connect(0, nullptr, ""), S_OK);
    ASSERT_EQ(conversion.Connect(1, nullptr, ""), S_OK);
    const Ending ending = conversion.Run();
    EXPECT_EQ(ending.code, EC_ERRORABORT);
    EXPECT_EQ(static_cast<HRESULT>(ending.param), E_DISK_FULL);
    EXPECT_EQ(core::StatusText(static_cast<HRESULT>(ending.param)),
              "There is not enough space on the disk.");
}

TEST(WriterFailures, AnExistingFileIsKeptUnlessOverwritingIsAsked) {
    const std::string path = OutputPath("existing.avi");
    std::ofstream(path) << std::string(1'000'000, 'x');
    for (unsigned long mode : {0ul, AM_FILE_OVERWRITE}) {
        Conversion conversion(testsupport::Clip(ClipKind::PictureOnly), MEDIASUBTYPE_Avi, path);
        conversion.sink->SetMode(mode);
        ASSERT_EQ(conversion.Connect(0, Compressor("mpeg4"), "VideoCompressor"), S_OK);
        if (mode == 0) {
            EXPECT_EQ(conversion.control->Run(), E_FILE_EXISTS);
            EXPECT_EQ(FileSize(path), 1'000'000);
        } else {
            EXPECT_EQ(conversion.Run().code, EC_COMPLETE);
            EXPECT_TRUE(Probe(path).opened);
            EXPECT_LT(FileSize(path), 1'000'000);
        }
    }
}

// A file being replaced stays whole until its successor is complete: a disk that fills up
// or a folder that turns read-only costs the new file, never the old one, and no partial file
// is left beside it.
TEST(WriterFailures, AFileBeingReplacedSurvivesAFailedWrite) {
    for (const bool readOnly : {false, true}) {
        testsupport::SmallFileSystem disk(256);
        if (!disk.Mounted())
            GTEST_SKIP() << "this machine does not let the test mount a small file system";
        const std::string path = disk.Path().toStdString() + "/film.avi";
        std::ofstream(path) << std::string(100'000, 'x');
        if (readOnly)
            ASSERT_TRUE(disk.MakeReadOnly());
        else
            disk.Fill();
        Conversion conversion(testsupport::Clip(ClipKind::H264Aac), MEDIASUBTYPE_Avi, path);
        ASSERT_EQ(conversion.Connect(0, nullptr, ""), S_OK);
        ASSERT_EQ(conversion.Connect(1, nullptr, ""), S_OK);
        if (readOnly) {
            EXPECT_EQ(conversion.control->Run(), E_ACCESSDENIED);
        } else {
            const Ending ending = conversion.Run();
            EXPECT_EQ(ending.code, EC_ERRORABORT);
            EXPECT_EQ(static_cast<HRESULT>(ending.param), E_DISK_FULL);
        }
        EXPECT_EQ(FileSize(path), 100'000) << "read-only " << readOnly;
        const QStringList left =
            readOnly ? QStringList{"film.avi"} : QStringList{"filler", "film.avi"};
        EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files, QDir::Name), left)
            << "read-only " << readOnly;
    }
}

// A failure reported elsewhere in the run (a source cut short) ends its streams early: the
// writer completes them, but what it wrote is not the whole output and does not take the
// file's name, even when the streams end before anyone has read the failure.
TEST(WriterFailures, AFailureElsewhereInTheRunGivesNoFile) {
    const std::string path = OutputPath("failed_elsewhere.avi");
    std::ofstream(path) << std::string(100'000, 'x');
    Conversion conversion(testsupport::PlainClip(320, 240, 25, 20), MEDIASUBTYPE_Avi, path);
    ASSERT_EQ(conversion.Connect(0, Compressor("mpeg4"), "VideoCompressor"), S_OK);
    ASSERT_EQ(conversion.control->Run(), S_OK);
    conversion.graph.NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
    const Ending ending = WaitForEnd(conversion.graph, kRunLimitMs);
    EXPECT_EQ(ending.code, EC_ERRORABORT);
    // The streams run to their end and the writer sees them all end.
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileSize(path + ".partial") == -1; }, 20000));
    conversion.control->Stop();
    EXPECT_EQ(FileSize(path), 100'000);
}

// A run the user stops keeps what was written, under the file's name.
TEST(WriterFailures, AStoppedRunGivesWhatItWroteTheFilesName) {
    const std::string path = OutputPath("stopped.avi");
    std::ofstream(path) << std::string(100'000, 'x');
    Conversion conversion(testsupport::PlainClip(320, 240, 25, 20), MEDIASUBTYPE_Avi, path);
    ASSERT_EQ(conversion.Connect(0, Compressor("mpeg4"), "VideoCompressor"), S_OK);
    ASSERT_EQ(conversion.control->Run(), S_OK);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileSize(path + ".partial") > 10'000; }, 20000));
    conversion.control->Stop();
    EXPECT_NE(FileSize(path), 100'000);
    EXPECT_TRUE(Probe(path).opened);
    EXPECT_FALSE(std::ifstream(path + ".partial").good());
}

} // namespace
