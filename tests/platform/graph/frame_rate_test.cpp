#include "platform/graph/av_util.h"

#include <gtest/gtest.h>

// The NTSC rates come out exact however they arrive: typed short, computed, or as a frame
// time rounded to 100 ns; whole and other rates keep their own value.
TEST(FrameRate, NtscRatesAreExactWhicheverWayTheyArrive) {
    struct Case {
        double given;
        AVRational rate;
    };
    for (const Case& c :
         {Case{23.976, {24000, 1001}}, Case{29.97, {30000, 1001}}, Case{59.94, {60000, 1001}},
          Case{30000.0 / 1001, {30000, 1001}}, Case{UNITS / 333667.0, {30000, 1001}},
          Case{UNITS / 417083.0, {24000, 1001}}, Case{UNITS / 166833.0, {60000, 1001}},
          Case{25, {25, 1}}, Case{30, {30, 1}}, Case{24, {24, 1}}, Case{12.5, {25, 2}},
          Case{23.98, {1199, 50}}}) {
        const AVRational rate = graph::ExactFrameRate(c.given);
        EXPECT_EQ(av_cmp_q(rate, c.rate), 0) << c.given << " gave " << rate.num << "/" << rate.den;
    }
    EXPECT_EQ(graph::ExactFrameRate(0).num, 0);
    EXPECT_EQ(av_cmp_q(graph::FrameTimeBase(333667), AVRational{1001, 30000}), 0);
    EXPECT_EQ(av_cmp_q(graph::FrameTimeBase(400000), AVRational{1, 25}), 0);
}
