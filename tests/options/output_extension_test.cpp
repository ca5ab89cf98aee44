#include "options/output_extension.h"

#include <gtest/gtest.h>

TEST(OutputExtension, AviAndWmvReplaceTheFileNamesExtensionOnly) {
    using options::ApplyFormatExtension;
    EXPECT_EQ(ApplyFormatExtension("/v/out.wmv", options::FormatAvi), "/v/out.avi");
    EXPECT_EQ(ApplyFormatExtension("/v/out", options::FormatWmv), "/v/out.wmv");
    EXPECT_EQ(ApplyFormatExtension("/v/out.tar.gz", options::FormatWmv), "/v/out.tar.wmv");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(ApplyFormatExtension("/my.videos/out", options::FormatAvi), "/my.videos/out.avi");
    EXPECT_EQ(ApplyFormatExtension("/v/out.mkv", options::FormatCustomMuxer), "/v/out.mkv");
}
