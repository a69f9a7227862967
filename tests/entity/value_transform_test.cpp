#include "entity/value_transform.h"

#include <gtest/gtest.h>

#include <cmath>

using harq::ValueTransform;

TEST(ValueTransform, ParenthesesAloneSeparateNumbers)
{
    const ValueTransform vt("(2 1)(3 0)");
    EXPECT_DOUBLE_EQ(vt.transform(5.0), 13.0);
    EXPECT_EQ(vt.str(), "(2 1) (3 0) ");

    // Every kind of white space separates, as an input method may type it.
    for (const char16_t space : {u'\t', u'\u00a0', u'\u2003', u'\u3000'}) {
        const QChar sp(space);
        const ValueTransform spaced(QString("(2") + sp + "1)(3" + sp + "0)");
        EXPECT_DOUBLE_EQ(spaced.transform(10.0), 23.0) << int(space);
        EXPECT_EQ(spaced.str(), "(2 1) (3 0) ") << int(space);
    }
}

TEST(ValueTransform, MalformedTextNeverFails)
{
    ValueTransform vt("1 2 3");
    EXPECT_EQ(vt.str(), "(1 2) ") << "the dangling number is dropped";
    EXPECT_DOUBLE_EQ(vt.transform(3.0), 9.0);

    vt.loadFromStr("(x 1) (4 y)");
    EXPECT_EQ(vt.str(), "(0 1) (4 0) ");
    EXPECT_DOUBLE_EQ(vt.transform(7.0), 4.0);

    vt.loadFromStr("( )");
    EXPECT_EQ(vt.str(), "");
    EXPECT_EQ(vt.transform(42.0), 0.0);

    const ValueTransform empty;
    EXPECT_EQ(empty.str(), "");
    EXPECT_EQ(empty.transform(1.0), 0.0);
}

TEST(ValueTransform, TextFormReadsBackExactly)
{
    const ValueTransform vt("( 1.5  2 )\t(0.1 0.5)\n(-1234567.25 3)");
    EXPECT_EQ(vt.str(), "(1.5 2) (0.1 0.5) (-1234567.25 3) ");
    const ValueTransform copy(vt.str());
    for (double x : {0.0, 1.0, 2.5, 10.0})
        EXPECT_EQ(copy.transform(x), vt.transform(x));
}

TEST(ValueTransform, FollowsThePowerFunction)
{
    const ValueTransform root("(1 0.5) (1 0)");
    EXPECT_TRUE(std::isnan(root.transform(-4.0)));
    EXPECT_DOUBLE_EQ(root.transform(4.0), 3.0);
    EXPECT_DOUBLE_EQ(ValueTransform("(7 0)").transform(0.0), 7.0) << "pow(0, 0) is 1";
}
