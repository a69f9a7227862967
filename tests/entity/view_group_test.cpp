#include "entity/view_group.h"

#include <gtest/gtest.h>

using harq::DamageResponse;
using harq::ViewGroup;

TEST(ViewGroup, CommonResponseNeedsASharedBit)
{
    const ViewGroup na("NA", "NA", DamageResponse::NA);
    EXPECT_FALSE(na.hasCommonResponse(na));

    const ViewGroup fireSink("a", "g", DamageResponse::FIRE | DamageResponse::SINK);
    const ViewGroup sink("b", "g", DamageResponse::SINK);
    const ViewGroup abandon("c", "g", DamageResponse::ABANDON);
    EXPECT_TRUE(ViewGroup::hasCommonResponse(fireSink, sink));
    EXPECT_FALSE(ViewGroup::hasCommonResponse(fireSink, abandon));
    EXPECT_TRUE(fireSink.isResponseFire());
    EXPECT_TRUE(fireSink.isResponseSink());
    EXPECT_FALSE(fireSink.isResponseAbandon());
}

TEST(DamageResponse, MixAddsPackedColoursAsOneWord)
{
    const DamageResponse fire(DamageResponse::FIRE, "fire", "#FF0000");
    const DamageResponse sink(DamageResponse::SINK, "sink", "#0000FF");

    const DamageResponse mixed = DamageResponse::mix(fire, sink);
    EXPECT_EQ(mixed.response(), DamageResponse::FIRE | DamageResponse::SINK);
    EXPECT_EQ(mixed.name(), "fire+sink");
    EXPECT_EQ(mixed.color(), QColor(127, 128, 127));
    EXPECT_EQ(mixed.color().alpha(), 255);
    EXPECT_TRUE(mixed.hasResponse(DamageResponse::SINK));
    EXPECT_FALSE(mixed.hasResponse(DamageResponse::ABANDON));
    // mix() leaves its operands alone.
    EXPECT_EQ(fire.name(), "fire");
}

TEST(DamageResponse, DefaultIsEmpty)
{
    const DamageResponse none;
    EXPECT_EQ(none.response(), DamageResponse::NA);
    EXPECT_FALSE(none.color().isValid());
    EXPECT_FALSE(none.hasResponse(DamageResponse::ALL));
}
