#include "platform/core/guid.h"
#include "platform/core/media_types.h"

#include <gtest/gtest.h>

using core::GuidFromString;
using core::GuidToString;

TEST(Guid, RegistryTextReadsBackToTheSameText) {
    for (const char* text :
         {"{DE75D012-7A65-11D2-8CEA-00A0C9441E20}", "{00000000-0000-0000-0000-000000000000}",
          "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"}) {
        const auto guid = GuidFromString(text);
        ASSERT_TRUE(guid) << text;
        EXPECT_EQ(GuidToString(*guid), text);
    }
}

TEST(Guid, TextFieldsLandInTheWindowsLayout) {
    // 'vids' in Data1; Data4 holds the bytes after the third dash in written order.
    const GUID expected{
        0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    EXPECT_EQ(MEDIATYPE_Video, expected);
    EXPECT_EQ(GuidFromString("{73646976-0000-0010-8000-00aa00389b71}"), expected);
    EXPECT_EQ(GuidToString(expected), "{73646976-0000-0010-8000-00AA00389B71}");
    EXPECT_NE(MEDIATYPE_Video, MEDIATYPE_Audio);
}

TEST(Guid, TextsThatAreNotIdentifiersGiveNothing) {
    for (const char* text :
         {"", "AVI Mux", "DE75D012-7A65-11D2-8CEA-00A0C9441E20",
          "{DE75D012-7A65-11D2-8CEA-00A0C9441E2}", "{DE75D012-7A65-11D2-8CEA-00A0C9441E200}",
          "{DE75D012-7A65-11D2-8CEA-00A0C9441E2G}", "{DE75D012-7A65-11D2-8CEA+00A0C9441E20}",
          "{DE75D0127-A65-11D2-8CEA-00A0C9441E20}", "{DE75D012-7A65-11D2-8C-EA00A0C9441E20}",
          "{+E75D012-7A65-11D2-8CEA-00A0C9441E20}"})
        EXPECT_FALSE(GuidFromString(text)) << text;
}
