// Shared small functions: words, marks, numbers, lists, the weighted choice, random sources.
#include <gtest/gtest.h>

#include <array>

#include "core/KelException.h"
#include "core/SFunctions.h"

TEST(SFunctions, WordsAndMarks) {
    EXPECT_EQ(GetWord("a  b", 1), "a");
    EXPECT_EQ(GetWord("a  b", 2), "b");
    EXPECT_EQ(GetWord("a  b", 3), NoWord);
    EXPECT_EQ(GetWord("\t x\ty ", 2), "y");
    EXPECT_EQ(GetWord("  ", 1), NoWord);
    EXPECT_EQ(GetWord("abc", 0), NoWord);
    EXPECT_EQ(WordCount(""), 0);
    EXPECT_EQ(WordCount(" one two\tthree  "), 3);
    EXPECT_EQ(CopyBetween("x[abc]y", "[", "]"), "abc");
    EXPECT_EQ(CopyBetween("x[abc]y", "]", "["), "");
    EXPECT_EQ(CopyBetween("x[abc]y", "[", ")"), "");
    EXPECT_EQ(CopyBetween("x<<>>y", "<<", ">>"), "");
    EXPECT_EQ(CopyBetween("aXXb", "XX", "Xb"), "");  // the second mark starts inside the first
    EXPECT_EQ(AttrValueOf("<s Sound=\"Click\" V=\"3\">", "Sound"), "Click");
    EXPECT_EQ(AttrValueOf("Sound=\"Click", "Sound"), "");
    EXPECT_EQ(AttrValueOf("Sound=Click", "Sound"), "");
    EXPECT_EQ(BoolToText(true), "true");
    EXPECT_EQ(BoolToText(false), "false");
    EXPECT_TRUE(PointInRect({1, 2, 3, 4}, {3, 4}));
    EXPECT_TRUE(PointInRect({1, 2, 3, 4}, {1, 2}));
    EXPECT_FALSE(PointInRect({1, 2, 3, 4}, {0, 3}));
    EXPECT_FALSE(PointInRect({1, 2, 3, 4}, {2, 5}));
}

// Right and Bottom belong to a rectangle: its size, emptiness and PointInRect agree.
TEST(SFunctions, RectanglesIncludeTheirRightAndBottomEdges) {
    struct Case {
        TRect rect;
        int width, height;
        bool empty;
        TPoint last;  // the bottom-right pixel, when not empty
    } cases[] = {
        {ScreenRect, 800, 600, false, {799, 599}}, {{7, 9, 7, 9}, 1, 1, false, {7, 9}},
        {{-2, 0, 1, 0}, 4, 1, false, {1, 0}},      {{5, 5, 4, 5}, 0, 1, true, {}},
        {{5, 5, 5, 3}, 1, -1, true, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.width, c.rect.Width());
        EXPECT_EQ(c.height, c.rect.Height());
        EXPECT_EQ(c.empty, c.rect.IsEmpty());
        if (c.empty) continue;
        EXPECT_TRUE(PointInRect(c.rect, c.last));
        EXPECT_FALSE(PointInRect(c.rect, {c.last.X + 1, c.last.Y}));
        EXPECT_FALSE(PointInRect(c.rect, {c.last.X, c.last.Y + 1}));
    }
}

TEST(SFunctions, LenientNumbers) {
    const std::pair<const char*, int32_t> ints[] = {
        {"12a", 12},
        {"-12a", 12},
        {"-12", -12},
        {"$1F", 31},
        {"0x1f", 31},
        {"X10", 16},
        {"", 0},
        {"abc", 0},
        {" 7", 7},
        {"+5", 5},
        {"99999999999", 999999999},
    };
    for (const auto& [text, value] : ints) EXPECT_EQ(ValInt(text), value) << text;
    EXPECT_EQ(ValFloat("2.5"), 2.5);
    EXPECT_EQ(ValFloat("2,5"), 0.0);
    EXPECT_EQ(ValFloat(""), 0.0);
}

TEST(SFunctions, Lists) {
    TIntegers list;
    EXPECT_EQ(MinInt(list), 2147483647);
    EXPECT_TRUE(AllEqual(list, 5));
    DeleteInt(list, 0);  // nothing to delete
    for (int32_t value : {4, -2, 4, 9}) AddInt(list, value);
    EXPECT_EQ(MinInt(list), -2);
    EXPECT_EQ(IndexOfInt(list, 4), 0);
    EXPECT_EQ(IndexOfInt(list, 5), -1);
    EXPECT_TRUE(IntInList(list, 9));
    DeleteInt(list, 1);
    DeleteInt(list, 3);
    DeleteInt(list, -1);
    EXPECT_EQ(list, (TIntegers{4, 4, 9}));
    EXPECT_FALSE(AllEqual(list, 4));

    TPoints points;
    AddPoint(points, {1, 2});
    AddPoint(points, {3, 4});
    EXPECT_TRUE(PointInList(points, {3, 4}));
    EXPECT_FALSE(PointInList(points, {4, 3}));
    EXPECT_EQ(IndexOfPoint(points, {3, 4}), 1);
    DeletePoint(points, 0);
    DeletePoint(points, 7);
    EXPECT_EQ(points, (TPoints{{3, 4}}));
    TRects rects;
    AddRect(rects, {1, 2, 3, 4});
    EXPECT_EQ(rects.back(), (TRect{1, 2, 3, 4}));
}

TEST(SFunctions, WeightedRandomIndex) {
    TKelRandom random(1234);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(WeightedRandomIndex({0, 5, 0}, random), 1);
    std::array<int, 2> counts{};
    for (int i = 0; i < 20000; ++i)
        ++counts[static_cast<size_t>(WeightedRandomIndex({1, 1}, random))];
    EXPECT_NEAR(counts[0], 10000, 400);
    // The walk is exact at the edges of each weight's share.
    const std::pair<double, int> edges[] = {{0.0, 0}, {0.19, 0}, {0.2, 1}, {0.99, 2}};
    for (const auto& [fraction, index] : edges) {
        TSequenceRandom fixed({fraction});
        EXPECT_EQ(WeightedRandomIndex({1, 3, 1}, fixed), index) << fraction;
    }
    // Negative weights count as 0; no positive weight gives no choice.
    TSequenceRandom low({0.0});
    EXPECT_EQ(WeightedRandomIndex({-5, 3, 0}, low), 1);
    EXPECT_EQ(WeightedRandomIndex({-5, 3, -9}, low), 1);
    EXPECT_EQ(WeightedRandomIndex({0, 0}, low), -1);
    EXPECT_EQ(WeightedRandomIndex({-5, 2, 0}, low), 1);
    EXPECT_EQ(WeightedRandomIndex({-1}, low), -1);
    // Sums beyond 32 bits do not overflow.
    TSequenceRandom high({0.999999});
    EXPECT_EQ(WeightedRandomIndex({2147483647, 2147483647, 2147483647}, high), 2);
    EXPECT_EQ(WeightedRandomIndex({1, 2147483647, 2147483647}, low), 0);
    try {
        WeightedRandomIndex({}, low);
        FAIL();
    } catch (const KelException& error) {
        EXPECT_STREQ(error.what(), "Generating integer from nul array!");
    }
}

TEST(SFunctions, RandomSources) {
    TKelRandom a(7), b(7);
    for (int i = 0; i < 100; ++i) {
        const int32_t value = a.Random(10);
        EXPECT_EQ(value, b.Random(10));
        EXPECT_GE(value, 0);
        EXPECT_LT(value, 10);
        const double fraction = a.RandomFloat();
        EXPECT_EQ(fraction, b.RandomFloat());
        EXPECT_GE(fraction, 0.0);
        EXPECT_LT(fraction, 1.0);
    }
    EXPECT_EQ(a.Random(0), 0);
    EXPECT_EQ(a.Random(-3), 0);
    TSequenceRandom sequence({0.5, 0.25});
    EXPECT_EQ(sequence.Random(10), 5);
    EXPECT_EQ(sequence.RandomFloat(), 0.25);
    EXPECT_EQ(sequence.Random(4), 2);
}

TEST(SFunctions, FreeDiskSpace) {
    EXPECT_GT(FreeDiskSpace("."), 0);
    EXPECT_THROW(FreeDiskSpace("/no/such/folder/here"), KelException);
}
