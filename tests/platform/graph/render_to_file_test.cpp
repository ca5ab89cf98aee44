// Conversions as the program makes them: a render engine's group pins, through optional
// compressors, into a writer that the capture graph builder set up; the files written hold
// the composed picture and sound, frame for frame and sample for sample.
#include "platform/editing/group_fixtures.h"
#include "support/media_fixtures.h"
#include "writer_helpers.h"

#include "platform/editing/render_engine.h"
#include "platform/graph/event_queue.h"
#include "platform/graph/writing/capture_graph_builder.h"

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

using namespace graph;
using namespace writertest;
using editingtest::kPicture;
using editingtest::kSound;
using editingtest::Piece;

constexpr int kRunLimitMs = 120000;
constexpr int kOutputRate = 44'100;

// A timeline of a picture group and a sound group over one file, and the conversion graph
// the program builds for it.
struct Conversion {
    editing::Timeline timeline;
    editing::RenderEngine engine;
    FilterGraph* graph = nullptr;
    CaptureGraphBuilder2 builder;
    BaseFilter* mux = nullptr;
    IMediaControl* control = nullptr;

    // Without sound pieces the timeline has a picture group only.
    Conversion(const std::string& source, const std::vector<Piece>& picture,
               const std::vector<Piece>& sound, int width = testsupport::kClipWidth,
               int height = testsupport::kClipHeight) {
        std::unique_ptr<editing::Group> pictureGroup =
            editingtest::MakeGroup(editingtest::VideoType(width, height), testsupport::kClipFps,
                                   source, picture, editing::RESIZEF_STRETCH);
        pictureGroup->SetPreviewMode(false);
        timeline.AddGroup(std::move(pictureGroup));
        if (!sound.empty()) {
            std::unique_ptr<editing::Group> soundGroup =
                editingtest::MakeGroup(editingtest::AudioType(), 0, source, sound);
            soundGroup->SetPreviewMode(false);
            timeline.AddGroup(std::move(soundGroup));
        }
        engine.SetTimelineObject(&timeline);
        EXPECT_EQ(engine.ConnectFrontEnd(), S_OK);
        engine.GetFilterGraph(&graph);
        graph->QueryInterface(&control);
        builder.SetFiltergraph(graph);
    }
    HRESULT Output(const GUID& kind, const std::string& path) {
        IFileSinkFilter2* sink = nullptr;
        const HRESULT hr = builder.SetOutputFileName(kind, path, &mux, &sink);
        if (SUCCEEDED(hr)) {
            QueryFilterInterface<IConfigInterleaving>(mux)->put_Mode(INTERLEAVE_FULL);
            sink->SetMode(AM_FILE_OVERWRITE);
        }
        return hr;
    }
    // Group g into the writer, through the compressor when there is one.
    HRESULT Render(long g, const std::shared_ptr<BaseFilter>& compressor, const std::string& name) {
        Pin* pin = nullptr;
        HRESULT hr = engine.GetGroupOutputPin(g, &pin);
        if (SUCCEEDED(hr) && compressor)
            hr = graph->AddFilter(compressor, name);
        return SUCCEEDED(hr) ? builder.RenderStream(pin, compressor.get(), mux) : hr;
    }
    Ending Run() {
        if (FAILED(control->Run()))
            return {};
        return WaitForEnd(*graph, kRunLimitMs);
    }
};

std::vector<std::int16_t> PullSound(editing::GroupStream& stream) {
    std::vector<std::int16_t> pcm;
    MediaSample sample;
    while (stream.Next(sample)) {
        const auto* data = reinterpret_cast<const std::int16_t*>(sample.frame->data[0]);
        pcm.insert(pcm.end(), data, data + 2 * sample.frame->nb_samples);
    }
    return pcm;
}

// The file's sound as 16-bit stereo at a rate (the output rate unless told), decoded by the
// ffmpeg command.
std::vector<std::int16_t> DecodeSound(const std::string& path, int rate = kOutputRate) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-map", "0:a:0",
                            "-f", "s16le", "-ac", "2", "-ar", QString::number(rate), "-"});
    ffmpeg.waitForFinished(60000);
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    return samples;
}

// The frame numbers the file's pictures show, in order.
std::vector<int> FrameNumbers(const std::string& path) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-f", "rawvideo",
                            "-pix_fmt", "gray", "-"});
    ffmpeg.waitForFinished(60000);
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    const int size = testsupport::kClipWidth * testsupport::kClipHeight;
    std::vector<int> numbers;
    for (qsizetype at = 0; at + size <= bytes.size(); at += size) {
        QImage image(reinterpret_cast<const uchar*>(bytes.constData() + at),
                     testsupport::kClipWidth, testsupport::kClipHeight, testsupport::kClipWidth,
                     QImage::Format_Grayscale8);
        numbers.push_back(testsupport::FrameNumberOf(image));
    }
    return numbers;
}

TEST(RenderToFile, UncompressedAviHoldsEveryComposedFrameAndSampleExactly) {
    const std::string source = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    const std::string path = OutputPath("uncompressed.avi");
    Conversion conversion(source, kPicture, kSound);
    ASSERT_EQ(conversion.Output(MEDIASUBTYPE_Avi, path), S_OK);
    ASSERT_EQ(conversion.Render(0, nullptr, ""), S_OK);
    ASSERT_EQ(conversion.Render(1, nullptr, ""), S_OK);
    EXPECT_EQ(conversion.Run().code, EC_COMPLETE);
    conversion.control->Stop();

    const ProbedFile file = Probe(path);
    ASSERT_TRUE(file.opened);
    const ProbedStream* video = file.Stream("video");
    const ProbedStream* audio = file.Stream("audio");
    ASSERT_TRUE(video && audio);
    EXPECT_EQ(video->codec, "rawvideo");
    EXPECT_EQ(video->pixelFormat, "bgr24");
    EXPECT_EQ(video->width, testsupport::kClipWidth);
    EXPECT_EQ(video->height, testsupport::kClipHeight);
    EXPECT_NEAR(video->frameRate, testsupport::kClipFps, 0.001);
    EXPECT_EQ(audio->codec, "pcm_s16le");
    EXPECT_EQ(audio->sampleRate, kOutputRate);
    EXPECT_EQ(audio->channels, 2);

    // The picture cut keeps its rate: output frame k shows source frame k.
    const std::vector<int> numbers = FrameNumbers(path);
    ASSERT_EQ(numbers.size(), static_cast<std::size_t>(4 * testsupport::kClipFps));
    for (std::size_t k = 0; k < numbers.size(); ++k)
        ASSERT_EQ(numbers[k], static_cast<int>(k)) << "frame " << k;

    // The sound is the engine's, sample for sample: nothing lost, nothing shifted.
    std::unique_ptr<editing::GroupStream> sound;
    ASSERT_EQ(editing::CreateGroupStream(*conversion.timeline.GetGroup(1), &sound), S_OK);
    const std::vector<std::int16_t> composed = PullSound(*sound);
    const std::vector<std::int16_t> written = DecodeSound(path);
    ASSERT_EQ(written.size(), composed.size());
    EXPECT_TRUE(written == composed);
}

TEST(RenderToFile, CompressedAviHasTheCompressorsBetweenTheGroupsAndTheMultiplexer) {
    const std::string path = OutputPath("divx_adpcm.avi");
    Conversion conversion(testsupport::Clip(testsupport::ClipKind::H264Pcm), kPicture, kSound);
    ASSERT_EQ(conversion.Output(MEDIASUBTYPE_Avi, path), S_OK);
    ASSERT_EQ(conversion.Render(0, Compressor("mpeg4"), "VideoCompressor"), S_OK);
    ASSERT_EQ(conversion.Render(1, Compressor("adpcm_ms"), "AudioCompressor"), S_OK);
    std::vector<std::string> names;
    for (BaseFilter* filter : conversion.graph->EnumFilters())
        names.push_back(filter->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Timeline Front End", "AVI Mux", "VideoCompressor",
                                               "AudioCompressor"}));
    Pin* video = nullptr;
    conversion.engine.GetGroupOutputPin(0, &video);
    EXPECT_EQ(video->ConnectedTo()->Filter()->Name(), "VideoCompressor");
    EXPECT_EQ(
        video->ConnectedTo()->Filter()->FindPin(PinDirection::Output, 0)->ConnectedTo()->Filter(),
        conversion.mux);

    EXPECT_EQ(conversion.Run().code, EC_COMPLETE);
    conversion.control->Stop();
    const ProbedFile file = Probe(path);
    ASSERT_TRUE(file.opened && file.Stream("video") && file.Stream("audio"));
    EXPECT_EQ(file.Stream("video")->codec, "mpeg4");
    EXPECT_EQ(file.Stream("video")->packets, 4 * testsupport::kClipFps);
    EXPECT_EQ(file.Stream("audio")->codec, "adpcm_ms");
    EXPECT_EQ(file.Stream("audio")->sampleRate, kOutputRate);
    EXPECT_NEAR(file.duration, 4.0, 0.05);
    EXPECT_EQ(DecodeErrors(path), "");
}

TEST(RenderToFile, TheAsfWriterEncodesWindowsMediaAsItsProfileSays) {
    const std::string path = OutputPath("windows_media.wmv");
    Conversion conversion(testsupport::Clip(testsupport::ClipKind::H264Pcm), kPicture, kSound);
    ASSERT_EQ(conversion.Output(CLSID_WMAsfWriter, path), S_OK);
    auto* writer = QueryFilterInterface<AsfWriter>(conversion.mux);
    ASSERT_NE(writer, nullptr);
    AsfWriterConfig profile;
    profile.streams.push_back({.number = 1,
                               .major = MajorType::Audio,
                               .codec = WAVE_FORMAT_WMAUDIO2,
                               .bitrate = 128'000,
                               .sampleRate = kOutputRate,
                               .channels = 2});
    profile.streams.push_back({.number = 2,
                               .major = MajorType::Video,
                               .codec = FourCc("WMV2"),
                               .bitrate = 500'000,
                               .width = 320,
                               .height = 240,
                               .frameDuration = UNITS / 25,
                               .keyFrameSpacing = UNITS});
    ASSERT_EQ(writer->ConfigureFilterUsingProfile(profile), S_OK);
    EXPECT_EQ(writer->FindPin(PinDirection::Input, 0)->Name(), "Audio Input 01");
    EXPECT_EQ(writer->FindPin(PinDirection::Input, 1)->Name(), "Video Input 02");
    // The writer encodes by itself: the picture group goes to the picture input.
    ASSERT_EQ(conversion.Render(0, nullptr, ""), S_OK);
    ASSERT_EQ(conversion.Render(1, nullptr, ""), S_OK);
    EXPECT_TRUE(writer->FindPin(PinDirection::Input, 1)->IsConnected());

    EXPECT_EQ(conversion.Run().code, EC_COMPLETE);
    conversion.control->Stop();
    const ProbedFile file = Probe(path);
    ASSERT_TRUE(file.opened && file.Stream("video") && file.Stream("audio"));
    EXPECT_EQ(file.format, "asf");
    EXPECT_EQ(file.Stream("video")->codec, "wmv2");
    EXPECT_EQ(file.Stream("video")->width, 320);
    EXPECT_EQ(file.Stream("video")->height, 240);
    EXPECT_EQ(file.Stream("audio")->codec, "wmav2");
    EXPECT_EQ(file.Stream("audio")->sampleRate, kOutputRate);
    EXPECT_EQ(file.Stream("audio")->channels, 2);
    EXPECT_EQ(file.Stream("video")->packets, 4 * testsupport::kClipFps);
    // A key frame at least every second, as the profile's spacing says.
    const std::vector<double> keys = KeyFrames(path);
    ASSERT_FALSE(keys.empty());
    EXPECT_NEAR(keys.front(), file.Stream("video")->start, 0.001);
    for (std::size_t i = 1; i < keys.size(); ++i)
        EXPECT_LE(keys[i] - keys[i - 1], 1.0 + 1e-6);
    EXPECT_LE(file.Stream("video")->start + 4.0 - keys.back(), 1.0 + 1e-6);

    // The sound starts no later than the picture (nothing is lost to the sound codec's
    // delay), and every click lands on its cut within the container's millisecond.
    const double pictureStart = file.Stream("video")->start;
    const double soundStart = FirstSoundFrame(path);
    EXPECT_LE(soundStart, pictureStart + 1e-6);
    const std::vector<std::int16_t> sound = DecodeSound(path);
    long from = 0;
    for (double cut : {1.2, 2.9}) {
        const long click = testsupport::FindClick(sound, from, 15000);
        ASSERT_GE(click, 0) << cut;
        EXPECT_NEAR(soundStart + static_cast<double>(click) / kOutputRate - pictureStart, cut,
                    0.001);
        from = click + kOutputRate / 10;
    }
    EXPECT_EQ(DecodeErrors(path), "");
}

TEST(RenderToFile, AMultiplexerChosenByItsIdentifierWritesItsContainer) {
    const std::string path = OutputPath("custom.mkv");
    Conversion conversion(testsupport::Clip(testsupport::ClipKind::H264Pcm), kPicture, kSound);
    const DeviceEntry& matroska = EnumerateDevices(DeviceCategory::Filter)
                                      .at(FindDevice(DeviceCategory::Filter, "matroska mux"));
    EXPECT_EQ(conversion.Output(GUID_NULL, path), VFW_E_NOT_FOUND);
    EXPECT_EQ(conversion.Output(EnumerateDevices(DeviceCategory::Filter)
                                    .at(FindDevice(DeviceCategory::Filter, "video renderer"))
                                    .classId,
                                path),
              VFW_E_NOT_FOUND);
    EXPECT_EQ(conversion.graph->EnumFilters().size(), 1u);
    ASSERT_EQ(conversion.Output(matroska.classId, path), S_OK);
    EXPECT_EQ(conversion.mux->Name(), "matroska Mux");
    ASSERT_EQ(conversion.Render(0, Compressor("libx264"), "VideoCompressor"), S_OK);
    ASSERT_EQ(conversion.Render(1, Compressor("aac"), "AudioCompressor"), S_OK);
    EXPECT_EQ(conversion.Run().code, EC_COMPLETE);
    conversion.control->Stop();
    const ProbedFile file = Probe(path);
    ASSERT_TRUE(file.opened && file.Stream("video") && file.Stream("audio"));
    EXPECT_EQ(file.Stream("video")->codec, "h264");
    EXPECT_EQ(file.Stream("video")->packets, 4 * testsupport::kClipFps);
    EXPECT_EQ(file.Stream("audio")->codec, "aac");
    EXPECT_EQ(file.Stream("audio")->sampleRate, kOutputRate);
    EXPECT_NEAR(file.duration, 4.0, 0.05);
    EXPECT_EQ(DecodeErrors(path), "");
}

TEST(RenderToFile, StopInTheMiddleLeavesAFileThatPlays) {
    const std::string source = testsupport::MetronomeClip(60);
    const std::vector<Piece> whole = {{{0, 60 * UNITS}, {0, 60 * UNITS}}};
    const std::string path = OutputPath("stopped.avi");
    Conversion conversion(source, whole, whole);
    ASSERT_EQ(conversion.Output(MEDIASUBTYPE_Avi, path), S_OK);
    ASSERT_EQ(conversion.Render(0, Compressor("mpeg4"), "VideoCompressor"), S_OK);
    ASSERT_EQ(conversion.Render(1, Compressor("adpcm_ms"), "AudioCompressor"), S_OK);
    ASSERT_EQ(conversion.control->Run(), S_OK);
    REFERENCE_TIME written = 0;
    for (int i = 0; i < 2000 && written < UNITS; ++i) {
        QTest::qWait(5);
        conversion.graph->GetCurrentPosition(&written);
    }
    ASSERT_GE(written, UNITS);
    ASSERT_EQ(conversion.control->Stop(), S_OK);
    EXPECT_NE(WaitForEnd(*conversion.graph, 200).code, EC_COMPLETE);

    const ProbedFile file = Probe(path);
    ASSERT_TRUE(file.opened && file.Stream("video") && file.Stream("audio"));
    EXPECT_GT(file.duration, 0.5);
    EXPECT_LT(file.duration, 60.0);
    EXPECT_EQ(DecodeErrors(path), "");
}

// FLAC keeps every sample, so the file must hold the composed sound exactly, although the
// encoder takes it in frames of another size; Opus takes 48 kHz only, so the sound is
// resampled on the way and its clicks must still land on their cuts.
TEST(RenderToFile, SoundThroughCompressorsKeepsEverySampleInPlace) {
    const std::string source = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    const DeviceEntry& matroska = EnumerateDevices(DeviceCategory::Filter)
                                      .at(FindDevice(DeviceCategory::Filter, "matroska mux"));
    for (const char* codec : {"flac", "libopus"}) {
        const std::string path = OutputPath(std::string(codec) + ".mka");
        Conversion conversion(source, kPicture, kSound);
        ASSERT_EQ(conversion.Output(matroska.classId, path), S_OK);
        ASSERT_EQ(conversion.Render(1, Compressor(codec), "AudioCompressor"), S_OK);
        EXPECT_EQ(conversion.Run().code, EC_COMPLETE) << codec;
        conversion.control->Stop();
        if (std::string(codec) == "flac") {
            std::unique_ptr<editing::GroupStream> sound;
            ASSERT_EQ(editing::CreateGroupStream(*conversion.timeline.GetGroup(1), &sound), S_OK);
            EXPECT_TRUE(DecodeSound(path) == PullSound(*sound));
            continue;
        }
        constexpr int kOpusRate = 48'000;
        EXPECT_EQ(Probe(path).Stream("audio")->sampleRate, kOpusRate);
        const std::vector<std::int16_t> decoded = DecodeSound(path, kOpusRate);
        EXPECT_NEAR(static_cast<double>(decoded.size() / 2), 4.0 * kOpusRate, kOpusRate / 50);
        long from = 0;
        for (double cut : {1.2, 2.9}) {
            const long click = testsupport::FindClick(decoded, from, 15000);
            ASSERT_GE(click, 0) << cut;
            EXPECT_NEAR(click, cut * kOpusRate, 2) << cut;
            from = click + kOpusRate / 10;
        }
    }
}

// A file that may grow no further fails the writing midway: the run ends with the status of
// a full disk, and what was written is deleted, not left to pass for the video.
TEST(RenderToFile, AWriteFailureMidwayEndsTheRunAndLeavesNoFileThatPassesForTheVideo) {
    const std::string source = testsupport::MetronomeClip(60);
    const std::vector<Piece> whole = {{{0, 60 * UNITS}, {0, 60 * UNITS}}};
    const std::string path = OutputPath("cut_short.avi");
    Conversion conversion(source, whole, whole);
    ASSERT_EQ(conversion.Output(MEDIASUBTYPE_Avi, path), S_OK);
    ASSERT_EQ(conversion.Render(0, Compressor("mpeg4"), "VideoCompressor"), S_OK);
    ASSERT_EQ(conversion.Render(1, nullptr, ""), S_OK);

    // The limit holds for every file this process writes, while the graph runs only.
    rlimit unlimited{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = unlimited;
    limit.rlim_cur = 3'000'000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const Ending ending = conversion.Run();
    conversion.control->Stop();
    setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_EQ(ending.code, EC_ERRORABORT);
    EXPECT_EQ(static_cast<HRESULT>(ending.param), E_DISK_FULL);
    EXPECT_EQ(FileSize(path), -1);
    EXPECT_EQ(FileSize(path + ".partial"), -1);
}

// Past 1 GiB an AVI file goes on in OpenDML extension chunks, which keep it readable.
TEST(RenderToFile, AnUncompressedAviPastOneGibibyteStaysReadable) {
    constexpr int kWidth = 1920;
    constexpr int kHeight = 1080;
    constexpr int kFrames = 190; // 6,220,800 bytes each: 1.1 GiB
    const std::vector<Piece> picture = {{{0, kFrames * UNITS / testsupport::kClipFps},
                                         {0, kFrames * UNITS / testsupport::kClipFps}}};
    const std::string path = OutputPath("large.avi");
    {
        Conversion conversion(testsupport::MetronomeClip(8), picture, {}, kWidth, kHeight);
        ASSERT_EQ(conversion.Output(MEDIASUBTYPE_Avi, path), S_OK);
        ASSERT_EQ(conversion.Render(0, nullptr, ""), S_OK);
        EXPECT_EQ(conversion.Run().code, EC_COMPLETE);
        conversion.control->Stop();
    }
    EXPECT_GT(FileSize(path), 1LL << 30);
    // The first RIFF chunk is the AVI one; the next is an extension.
    std::ifstream file(path, std::ios::binary);
    char header[12] = {};
    file.read(header, sizeof header);
    EXPECT_EQ(std::string(header, 4), "RIFF");
    EXPECT_EQ(std::string(header + 8, 4), "AVI ");
    std::uint32_t size = 0;
    std::memcpy(&size, header + 4, 4);
    file.seekg(8 + static_cast<std::streamoff>(size) + (size & 1));
    file.read(header, sizeof header);
    EXPECT_EQ(std::string(header, 4), "RIFF");
    EXPECT_EQ(std::string(header + 8, 4), "AVIX");
    const ProbedFile probed = Probe(path);
    ASSERT_TRUE(probed.opened && probed.Stream("video"));
    EXPECT_EQ(probed.Stream("video")->packets, kFrames);
    EXPECT_EQ(probed.Stream("video")->width, kWidth);
    std::remove(path.c_str());
}

} // namespace
