#include <gtest/gtest.h>

#include "core/TextCase.h"
#include "core/TextLines.h"

TEST(TextCaseTest, OnlyAsciiLettersChangeCase) {
    EXPECT_EQ(LowerCase("Vibe-EG6.MO3"), "vibe-eg6.mo3");
    EXPECT_EQ(UpperCase("enu_0.lng"), "ENU_0.LNG");
    // UTF-8 bytes stay as they are.
    EXPECT_EQ(LowerCase("\xD0\x9F\xD0\xB5"), "\xD0\x9F\xD0\xB5");
    EXPECT_TRUE(SameText("WTitle", "wtitle"));
    EXPECT_FALSE(SameText("WTitle", "WTitles"));
    EXPECT_FALSE(SameText("\xC3\x84", "\xC3\xA4"));
    EXPECT_TRUE(StartsWithText("Sounds\\Click.OGG", "sounds\\"));
    EXPECT_FALSE(StartsWithText("So", "Sounds"));
    EXPECT_TRUE(EndsWithText("Music.MO3", ".mo3"));
    EXPECT_FALSE(EndsWithText("mo3", ".mo3"));
}

TEST(TextLinesTest, LineEndsAndEmptyLines) {
    using Lines_ = std::vector<std::string>;
    EXPECT_EQ(Lines("a\r\nb\n\nc"), (Lines_{"a", "b", "", "c"}));
    EXPECT_EQ(Lines("a\n"), (Lines_{"a", ""}));
    EXPECT_EQ(Lines(""), (Lines_{""}));
    EXPECT_EQ(NonEmptyLines("a\r\n\r\nb\n"), (Lines_{"a", "b"}));
    EXPECT_TRUE(NonEmptyLines("\n\r\n").empty());
}
