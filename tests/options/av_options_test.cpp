// The settings page of an encoder and a multiplexer, built from their own FFmpeg options:
// what it lists, and that OK sets all the changes or none of them.
#include "options/av_options_dialog.h"
#include "resources/resource.h"
#include "support/scripted_prompts.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using options::AvOptionRow;

namespace {

struct EncoderContext {
    EncoderContext() : context(avcodec_alloc_context3(avcodec_find_encoder(AV_CODEC_ID_MPEG4))) {}
    ~EncoderContext() { avcodec_free_context(&context); }
    std::int64_t Get(const char* name) {
        std::int64_t value = -1;
        av_opt_get_int(context, name, AV_OPT_SEARCH_CHILDREN, &value);
        return value;
    }
    AVCodecContext* context;
};

const AvOptionRow* Find(const std::vector<AvOptionRow>& rows, const std::string& name) {
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&](const AvOptionRow& row) { return row.name == name; });
    return found == rows.end() ? nullptr : &*found;
}

void Type(QWidget* editor, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(editor);
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
}

} // namespace

TEST(AvOptionRows, AnEncoderOffersItsGeneralAndItsOwnOptionsWithRangesAndNames) {
    EncoderContext encoder;
    const std::vector<AvOptionRow> rows =
        options::ListAvOptions(encoder.context, options::kEncoderGeneralOptions);
    const AvOptionRow* bitrate = Find(rows, "b");
    ASSERT_NE(bitrate, nullptr);
    EXPECT_EQ(bitrate->kind, AvOptionRow::Kind::Integer);
    EXPECT_EQ(bitrate->value, "200000");
    EXPECT_FALSE(bitrate->help.empty());
    // The codec's own options come too, named values as choices.
    const AvOptionRow* motion = Find(rows, "motion_est");
    ASSERT_NE(motion, nullptr);
    EXPECT_EQ(motion->kind, AvOptionRow::Kind::Choice);
    EXPECT_NE(std::find(motion->choices.begin(), motion->choices.end(), "zero"),
              motion->choices.end());
    EXPECT_FALSE(motion->value.empty());
    // Not every general option of a codec context: only those users look for.
    EXPECT_EQ(Find(rows, "time_base"), nullptr);

    std::string why;
    EXPECT_TRUE(options::CheckAvOptionValue(*bitrate, "2M", &why));
    EXPECT_FALSE(options::CheckAvOptionValue(*bitrate, "-1", &why));
    EXPECT_NE(why.find("\"b\""), std::string::npos) << why;
    EXPECT_FALSE(options::CheckAvOptionValue(*bitrate, "fast", &why));
    EXPECT_FALSE(options::CheckAvOptionValue(*motion, "fastest", &why));
}

TEST(AvOptionRows, AMultiplexerOffersItsOwnOptions) {
    AVFormatContext* muxer = nullptr;
    ASSERT_GE(avformat_alloc_output_context2(&muxer, nullptr, "matroska", nullptr), 0);
    const std::vector<AvOptionRow> rows =
        options::ListAvOptions(muxer, options::kMuxerGeneralOptions);
    EXPECT_NE(Find(rows, "max_interleave_delta"), nullptr);
    EXPECT_NE(Find(rows, "cluster_size_limit"), nullptr);
    avformat_free_context(muxer);
}

TEST(AvOptionsDialog, OkSetsEveryChangeAndABadValueSetsNone) {
    testsupport::PromptScope scope;
    EncoderContext encoder;
    {
        CDialogAvOptions dialog(encoder.context, options::kEncoderGeneralOptions, "MPEG-4");
        dialog.show();
        Type(dialog.Editor("b"), "2M");
        Type(dialog.Editor("g"), "ten");
        QTest::mouseClick(dialog.GetDlgItem(IDOK_BUTTON), Qt::LeftButton);
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_TRUE(scope.prompts.messages[0].text.contains("\"g\""));
        EXPECT_TRUE(dialog.isVisible()); // still open, to be mended
        EXPECT_EQ(encoder.Get("b"), 200000);

        Type(dialog.Editor("g"), "25");
        qobject_cast<QComboBox*>(dialog.Editor("motion_est"))->setCurrentText("zero");
        QTest::mouseClick(dialog.GetDlgItem(IDOK_BUTTON), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(encoder.Get("b"), 2000000);
    EXPECT_EQ(encoder.Get("g"), 25);
    EXPECT_EQ(encoder.Get("motion_est"), 0);

    CDialogAvOptions dialog(encoder.context, options::kEncoderGeneralOptions, "MPEG-4");
    dialog.show();
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.Editor("b"))->text(), "2000000");
    Type(dialog.Editor("b"), "64k");
    QTest::mouseClick(dialog.GetDlgItem(IDCANCEL_BUTTON), Qt::LeftButton);
    EXPECT_EQ(encoder.Get("b"), 2000000);
}
