#include "options/output_extension.h"

#include <gtest/gtest.h>

TEST(OutputExtension, EachFormatGivesTheFileNameItsOwnExtension) {
    using options::ApplyFormatExtension;
    EXPECT_EQ(ApplyFormatExtension("/v/out.wmv", options::FormatAvi), "/v/out.avi");
    EXPECT_EQ(ApplyFormatExtension("/v/out", options::FormatWmv), "/v/out.wmv");
    EXPECT_EQ(ApplyFormatExtension("/v/out.tar.gz", options::FormatWmv), "/v/out.tar.wmv");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(ApplyFormatExtension("/my.videos/out", options::FormatAvi), "/my.videos/out.avi");
    // A custom muxer's container: its first extension, unless the name has one of its own.
    EXPECT_EQ(ApplyFormatExtension("/v/out.wmv", options::FormatCustomMuxer, "mkv,mka"),
              "/v/out.mkv");
    EXPECT_EQ(ApplyFormatExtension("/v/out.MKA", options::FormatCustomMuxer, "mkv,mka"),
              "/v/out.MKA");
    EXPECT_EQ(ApplyFormatExtension("/v/out.wmv", options::FormatCustomMuxer, ""), "/v/out.wmv");
}

TEST(OutputExtension, KnownExtensionsChooseTheFormatAndContradictOthers) {
    struct Case {
        const char* path;
        int format; // -1: none chosen
        const char* muxer;
    };
    for (const Case& c :
         {Case{"/v/a.avi", options::FormatAvi, ""}, Case{"/v/a.ASF", options::FormatWmv, ""},
          Case{"/v/a.mkv", options::FormatCustomMuxer, "matroska"},
          Case{"/v/a.webm", options::FormatCustomMuxer, "webm"}, Case{"/v.mp4/a", -1, ""},
          Case{"/v/a.ts", -1, ""}}) {
        const auto format = options::FormatOfExtension(c.path);
        EXPECT_EQ(format ? format->outputFormat : -1, c.format) << c.path;
        EXPECT_EQ(format ? format->muxer : QString(), QString(c.muxer)) << c.path;
    }
    EXPECT_TRUE(options::ExtensionContradicts("/v/a.wmv", options::FormatAvi, ""));
    EXPECT_TRUE(options::ExtensionContradicts("/v/a.avi", options::FormatCustomMuxer, "mp4"));
    EXPECT_FALSE(options::ExtensionContradicts("/v/a.mkv", options::FormatCustomMuxer, "mkv,mka"));
    EXPECT_FALSE(options::ExtensionContradicts("/v/a.ts", options::FormatAvi, ""));
}
