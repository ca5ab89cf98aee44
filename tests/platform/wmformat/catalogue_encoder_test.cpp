// The standard catalogue against the FFmpeg encoders our ASF writer encodes with.
#include "platform/wmformat/codec_catalogue.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <variant>

using wmformat::StandardCatalogue;
using wmformat::WM_MEDIA_TYPE;

namespace {

struct ContextDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using Context = std::unique_ptr<AVCodecContext, ContextDeleter>;

// The codec a container's format tag or FourCC stands for, as the writer maps it.
AVCodecID CodecOfTag(const AVCodecTag* table, std::uint32_t tag) {
    const AVCodecTag* const tables[] = {table, nullptr};
    return av_codec_get_id(tables, tag);
}

Context OpenSoundEncoder(const WAVEFORMATEX& wave) {
    const AVCodec* encoder =
        avcodec_find_encoder(CodecOfTag(avformat_get_riff_audio_tags(), wave.wFormatTag));
    if (!encoder)
        return nullptr;
    Context context(avcodec_alloc_context3(encoder));
    context->sample_rate = static_cast<int>(wave.nSamplesPerSec);
    av_channel_layout_default(&context->ch_layout, wave.nChannels);
    context->sample_fmt = AV_SAMPLE_FMT_FLTP;
    context->bit_rate = std::int64_t{wave.nAvgBytesPerSec} * 8;
    if (avcodec_open2(context.get(), encoder, nullptr) < 0)
        return nullptr;
    return context;
}

// Encodes a few frames of loud noise and hands every packet's size to `onPacket`.
template <typename OnPacket> void EncodeNoise(AVCodecContext* context, OnPacket onPacket) {
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    frame->nb_samples = context->frame_size;
    frame->format = context->sample_fmt;
    av_channel_layout_copy(&frame->ch_layout, &context->ch_layout);
    ASSERT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
    std::minstd_rand random(7);
    std::uniform_real_distribution<float> sample(-0.9f, 0.9f);
    for (int f = 0; f <= 4; ++f) {
        if (f < 4) {
            ASSERT_EQ(av_frame_make_writable(frame.get()), 0);
            for (int c = 0; c < context->ch_layout.nb_channels; ++c)
                for (int i = 0; i < frame->nb_samples; ++i)
                    reinterpret_cast<float*>(frame->data[c])[i] = sample(random);
            frame->pts = std::int64_t{f} * context->frame_size;
        }
        ASSERT_EQ(avcodec_send_frame(context, f < 4 ? frame.get() : nullptr), 0);
        while (avcodec_receive_packet(context, packet.get()) == 0) {
            onPacket(packet->size);
            av_packet_unref(packet.get());
        }
    }
}

} // namespace

TEST(StandardCatalogue, SoundFormatsAreWhatTheWmaEncodersProduceForTheirBitRate) {
    int formats = 0;
    for (const auto& codec : StandardCatalogue()) {
        if (codec.majorType != wmformat::WMMEDIATYPE_Audio)
            continue;
        for (const WM_MEDIA_TYPE& type : codec.formats) {
            const auto& wave = std::get<WAVEFORMATEX>(type.format);
            SCOPED_TRACE(testing::Message()
                         << "tag 0x" << std::hex << wave.wFormatTag << std::dec << ", "
                         << wave.nSamplesPerSec << " Hz, " << wave.nChannels << " channels, "
                         << wave.nAvgBytesPerSec * 8 << " bit/s");
            Context context = OpenSoundEncoder(wave);
            ASSERT_TRUE(context);
            EXPECT_EQ(context->bit_rate, std::int64_t{wave.nAvgBytesPerSec} * 8);
            EXPECT_EQ(context->block_align, wave.nBlockAlign);
            EXPECT_EQ(type.lSampleSize, wave.nBlockAlign);
            EXPECT_EQ(std::vector<std::uint8_t>(context->extradata,
                                                context->extradata + context->extradata_size),
                      type.codecData);

            // Every packet is one block, so the stream really runs at close to the stated
            // rate: within the window a profile picks formats by.
            int packets = 0;
            EncodeNoise(context.get(), [&](int size) {
                EXPECT_EQ(size, wave.nBlockAlign);
                ++packets;
            });
            EXPECT_GE(packets, 4);
            const double codedBitrate =
                8.0 * wave.nBlockAlign * wave.nSamplesPerSec / context->frame_size;
            EXPECT_NEAR(codedBitrate, wave.nAvgBytesPerSec * 8.0, 249.0);
            ++formats;
        }
    }
    EXPECT_GT(formats, 0);
}

TEST(StandardCatalogue, PictureFormatsAreThoseOfTheWmvEncoders) {
    int formats = 0;
    for (const auto& codec : StandardCatalogue()) {
        if (codec.majorType != wmformat::WMMEDIATYPE_Video)
            continue;
        for (const WM_MEDIA_TYPE& type : codec.formats) {
            const auto& info = std::get<VIDEOINFOHEADER>(type.format);
            const AVCodecID id =
                CodecOfTag(avformat_get_riff_video_tags(), info.bmiHeader.biCompression);
            EXPECT_TRUE(id == AV_CODEC_ID_WMV1 || id == AV_CODEC_ID_WMV2) << avcodec_get_name(id);
            const AVCodec* encoder = avcodec_find_encoder(id);
            ASSERT_TRUE(encoder) << avcodec_get_name(id);
            Context context(avcodec_alloc_context3(encoder));
            context->width = info.bmiHeader.biWidth;
            context->height = info.bmiHeader.biHeight;
            context->pix_fmt = AV_PIX_FMT_YUV420P;
            context->time_base = {1, static_cast<int>(10'000'000 / info.AvgTimePerFrame)};
            context->bit_rate = info.dwBitRate;
            EXPECT_EQ(avcodec_open2(context.get(), encoder, nullptr), 0) << encoder->name;
            ++formats;
        }
    }
    EXPECT_GT(formats, 0);
}
