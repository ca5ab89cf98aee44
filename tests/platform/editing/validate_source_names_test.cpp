#include "platform/editing/timeline.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>

using namespace editing;

namespace {
constexpr long kCheckFindReplace =
    SFN_VALIDATEF_CHECK | SFN_VALIDATEF_POPUP | SFN_VALIDATEF_REPLACE;

class ValidateSourceNamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testsupport::TemporaryFolder().toStdString();
        present = folder + "/present.avi";
        found = folder + "/found again.avi";
        missing = folder + "/moved away.avi";
        testsupport::WriteFileBytes(present, "x");
        testsupport::WriteFileBytes(found, "x");
        // Two groups, the missing file named by several sources in both.
        AddGroup(MEDIATYPE_Video, {missing, present, missing});
        AddGroup(MEDIATYPE_Audio, {missing});
    }

    void AddGroup(const GUID& major, std::initializer_list<std::string> names) {
        auto group = std::make_unique<Group>();
        AM_MEDIA_TYPE type;
        type.majortype = major;
        if (major == MEDIATYPE_Video) {
            VIDEOINFOHEADER info;
            info.bmiHeader.biWidth = 2;
            info.bmiHeader.biHeight = 2;
            info.bmiHeader.biBitCount = 24;
            type.subtype = MEDIASUBTYPE_RGB24;
            type.formattype = FORMAT_VideoInfo;
            type.format = info;
        }
        ASSERT_EQ(group->SetMediaType(type), S_OK);
        for (const std::string& name : names) {
            auto track = std::make_unique<Track>();
            auto source = std::make_unique<Source>();
            source->SetMediaName(name);
            track->SrcAdd(std::move(source));
            group->VTrackInsBefore(std::move(track), -1);
        }
        ASSERT_EQ(timeline.AddGroup(std::move(group)), S_OK);
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int g = 0; g < timeline.GetGroupCount(); ++g)
            for (int t = 0; t < timeline.GetGroup(g)->GetTrackCount(); ++t)
                names.push_back(timeline.GetGroup(g)->GetTrack(t)->GetSource(0)->GetMediaName());
        return names;
    }

    testsupport::PromptScope scope;
    Timeline timeline;
    std::string folder, present, found, missing;
};
} // namespace

TEST_F(ValidateSourceNamesTest, TheUserIsAskedOncePerMissingFileAndEverySourceTakesTheAnswer) {
    scope.prompts.fileAnswers.push_back(QString::fromStdString(found));
    EXPECT_EQ(timeline.ValidateSourceNames(kCheckFindReplace), S_OK);

    ASSERT_EQ(scope.prompts.fileDialogs.size(), 1u);
    const ui::FileDialogRequest& asked = scope.prompts.fileDialogs[0];
    EXPECT_EQ(asked.initialFolder.toStdString(), folder);
    EXPECT_EQ(asked.initialName, "moved away.avi");
    EXPECT_TRUE(asked.title.contains("moved away.avi"));
    EXPECT_TRUE(asked.mustExist);
    EXPECT_EQ(Names(), (std::vector<std::string>{found, present, found, found}));
    EXPECT_TRUE(scope.prompts.messages.empty());
}

TEST_F(ValidateSourceNamesTest, ACancelledSearchLeavesTheNamesAndReportsAFileMissing) {
    EXPECT_EQ(timeline.ValidateSourceNames(kCheckFindReplace), S_FALSE);
    EXPECT_EQ(scope.prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(Names(), (std::vector<std::string>{missing, present, missing, missing}));
}

TEST_F(ValidateSourceNamesTest, OnlyTheFlagsGivenAreHonoured) {
    EXPECT_EQ(timeline.ValidateSourceNames(SFN_VALIDATEF_CHECK), S_FALSE);
    EXPECT_EQ(timeline.ValidateSourceNames(SFN_VALIDATEF_POPUP | SFN_VALIDATEF_REPLACE), S_OK);
    EXPECT_TRUE(scope.prompts.fileDialogs.empty());

    // Found but not put in: the file counts as found, the names stay.
    scope.prompts.fileAnswers.push_back(QString::fromStdString(found));
    EXPECT_EQ(timeline.ValidateSourceNames(SFN_VALIDATEF_CHECK | SFN_VALIDATEF_POPUP), S_OK);
    EXPECT_EQ(Names(), (std::vector<std::string>{missing, present, missing, missing}));

    EXPECT_EQ(timeline.ValidateSourceNames(kCheckFindReplace | 0x4), E_INVALIDARG);
    EXPECT_EQ(scope.prompts.fileDialogs.size(), 1u);
}
