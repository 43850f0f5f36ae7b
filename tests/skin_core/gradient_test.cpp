// The gradient text parser.
#include "skin/core/sGradient.h"

#include "framework/System.h"

#include "tests/support/test_support.h"

namespace {

TEST(GradientData, GroupsOfFiveGiveStops)
{
    TsGradArray stops;
    ParseGradientData(L"$FF0000;255;50;0;0;255;$FF00;50;0;0", stops);
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_EQ(stops[0].Color1, 0xFF0000);
    EXPECT_EQ(stops[0].Color2, 255);
    EXPECT_EQ(stops[0].Percent, 50);
    EXPECT_EQ(stops[0].Mode, 0);
    EXPECT_EQ(stops[1].Color2, 0xFF00);
    EXPECT_EQ(stops[1].Reserved, 0);
}

TEST(GradientData, IncompleteGroupsAreIgnored)
{
    TsGradArray stops;
    ParseGradientData(L"1;2;3;1;9;4;5", stops);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].Mode, 1);
    ParseGradientData(L"1;2;3;4", stops);
    EXPECT_TRUE(stops.empty());
    ParseGradientData(L" ", stops);
    EXPECT_TRUE(stops.empty());
    ParseGradientData(L"", stops);
    EXPECT_TRUE(stops.empty());
}

TEST(GradientData, PercentIsCappedAtOneHundred)
{
    TsGradArray stops;
    ParseGradientData(L"0;0;300;0;0", stops);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].Percent, 100);
}

TEST(GradientData, EmptyFieldsDoNotCountAsWords)
{
    TsGradArray stops;
    ParseGradientData(L";;1;;2;3;4;5;;", stops);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].Color1, 1);
    EXPECT_EQ(stops[0].Color2, 2);
}

TEST(GradientData, NonNumberRaisesConvertError)
{
    TsGradArray stops;
    EXPECT_THROW(ParseGradientData(L"red;0;50;0;0", stops), EConvertError);
}

} // namespace
