// Edits: input rules, keys, the clipboard, the mouse, the caret and drawing.
#include "ui/KelEdit.h"
#include "support/UiFixture.h"

namespace {

struct TTestClipboard : IKelClipboard {
    std::string Content;
    std::string Text() override { return Content; }
    void SetText(const std::string& text) override { Content = text; }
};

class EditTest : public UiTest {
  protected:
    EditTest() { engine.Clipboard = &clipboard; }

    // A focused edit at (100, 50), 300 by 20, in the 10-pixel test font, its caret after the
    // text.
    TKelEdit& Make(const std::string& caption,
                   std::vector<std::pair<std::string, std::string>> extra = {}) {
        std::vector<std::pair<std::string, std::string>> properties = {{"Name", "E"},
                                                                       {"ParentName", "Screen"},
                                                                       {"Left", "100"},
                                                                       {"Top", "50"},
                                                                       {"Width", "300"},
                                                                       {"Height", "20"},
                                                                       {"FontName", "KelUnicode"},
                                                                       {"MaxLength", "20"},
                                                                       {"MaxWidth", "1000"},
                                                                       {"Caption", caption}};
        properties.insert(properties.end(), extra.begin(), extra.end());
        Load(Object("TKelEdit", properties));
        TKelEdit& edit = Get<TKelEdit>("E");
        edit.SetFocused(true);
        Key(edit, vk::End);
        return edit;
    }
    static void Key(TKelEdit& edit, int key, TShiftState shift = 0) {
        edit.KeyDown(nullptr, key, shift);
    }
    static void Type(TKelEdit& edit, const std::u32string& text) {
        for (char32_t c : text) edit.KeyPress(nullptr, c);
    }
    static std::string Selected(const TKelEdit& edit) { return WideToUtf8(edit.SelectedText()); }

    TTestClipboard clipboard;
};

TEST_F(EditTest, TypedCharactersFollowTheInputRules) {
    struct Case {
        std::string start;
        std::vector<std::pair<std::string, std::string>> extra;
        std::u32string typed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"ab", {}, U"cd 9", "abcd 9"},
        {"", {{"InputMode", "imNumbersOnly"}}, U"a1-b2 ", "12"},
        {"", {{"ForbiddenChars", "#*"}}, U"A#B*C", "ABC"},
        {"abcde", {{"MaxLength", "5"}}, U"f", "abcde"},
        {"", {{"MaxLength", "0"}}, U"f", ""},
        {"", {{"MaxWidth", "45"}}, U"abcdef", "abcd"},
        {"", {{"MaxWidth", "45"}, {"TextShiftLeft", "10"}}, U"abcdef", "abc"},
        {"", {}, U"a\u00e9\u20acb", "ab"},  // the test font has no accented letters
        {"", {}, U"a\u0007\tb", "ab"},
        {"xy", {{"ReadOnly", "True"}}, U"z", "xy"},
    };
    for (const Case& c : cases) {
        TKelEdit& edit = Make(c.start, c.extra);
        Type(edit, c.typed);
        EXPECT_EQ(edit.Caption(), c.expected) << c.start << " " << WideToUtf8(c.typed);
        engine.Clear();
    }
}

TEST_F(EditTest, NothingIsTypedIntoAnEditWithoutFocus) {
    TKelEdit& edit = Make("ab");
    edit.SetFocused(false);
    Type(edit, U"c");
    Key(edit, vk::Back);
    EXPECT_EQ(edit.Caption(), "ab");
}

TEST_F(EditTest, CaptionAndFilterSettersKeepOnlyAcceptedCharacters) {
    TKelEdit& edit = Make("a1b2c3", {{"InputMode", "imNumbersOnly"}});
    EXPECT_EQ(edit.Caption(), "123");
    edit.SetInputMode(imNormal);
    edit.SetCaption("Ann>2 \"x\"");
    EXPECT_EQ(edit.Caption(), "Ann>2 \"x\"");
    EXPECT_EQ(edit.Caret(), 10);
    edit.SetForbiddenChars("\"<>");
    EXPECT_EQ(edit.Caption(), "Ann2 x");
    EXPECT_EQ(edit.Caret(), 7);
}

TEST_F(EditTest, FocusSelectsAllAndLosingItClearsTheSelection) {
    TKelEdit& edit = Make("abc");
    edit.SetFocused(true);
    EXPECT_EQ(Selected(edit), "abc");
    Type(edit, U"x");
    EXPECT_EQ(edit.Caption(), "x");
    edit.SetFocused(false);
    EXPECT_EQ(edit.SelectionAnchor(), 0);
    EXPECT_EQ(edit.SelectionEnd(), 0);
}

TEST_F(EditTest, ShiftLeftSelectsTheLastCharacterAndBackspaceDeletesIt) {
    TKelEdit& edit = Make("abcd");
    Key(edit, vk::Left, ssShift);
    EXPECT_EQ(Selected(edit), "d");
    Key(edit, vk::Back);
    EXPECT_EQ(edit.Caption(), "abc");
    EXPECT_EQ(edit.Caret(), 4);
}

TEST_F(EditTest, CaretMovesOverWideCharactersOnePerCharacter) {
    TKelEdit& edit = Make("a\u00e9\u20acb");
    EXPECT_EQ(edit.Caret(), 5);
    Key(edit, vk::Right);
    EXPECT_EQ(edit.Caret(), 5);
    Key(edit, vk::Left);
    Key(edit, vk::Left);
    EXPECT_EQ(edit.Caret(), 3);
    Key(edit, vk::Delete);
    EXPECT_EQ(edit.Caption(), "a\u00e9b");
    Key(edit, vk::Back);
    EXPECT_EQ(edit.Caption(), "ab");
    Key(edit, vk::Home);
    Key(edit, vk::Back);
    Key(edit, vk::Left);
    EXPECT_EQ(edit.Caret(), 1);
    Key(edit, vk::End, ssShift);
    EXPECT_EQ(Selected(edit), "ab");
    Key(edit, vk::Delete);
    EXPECT_EQ(edit.Caption(), "");
    Key(edit, vk::Delete);
    Key(edit, vk::Back);
    EXPECT_EQ(edit.Caret(), 1);
}

TEST_F(EditTest, AFullEditTakesNoSelectAll) {
    TKelEdit& edit = Make("abcde", {{"MaxLength", "5"}});
    Type(edit, U"\u0001");
    EXPECT_EQ(Selected(edit), "");
    Key(edit, vk::Back);
    Type(edit, U"\u0001");
    EXPECT_EQ(Selected(edit), "abcd");
}

TEST_F(EditTest, TypingReplacesTheSelectionEvenWhenTheResultIsTooWide) {
    TKelEdit& edit = Make("abc", {{"MaxWidth", "30"}});
    Key(edit, vk::Left);
    Key(edit, vk::Left, ssShift);
    EXPECT_EQ(Selected(edit), "b");
    Type(edit, U"x");
    EXPECT_EQ(edit.Caption(), "ac");
    EXPECT_EQ(edit.Caret(), 2);
}

TEST_F(EditTest, PasswordEditRefusesCopyButCuts) {
    TKelEdit& edit = Make("secret", {{"PasswordChar", "*"}});
    clipboard.Content = "old";
    Type(edit, U"\u0001\u0003");
    EXPECT_EQ(clipboard.Content, "old");
    Type(edit, U"\u0018");
    EXPECT_EQ(clipboard.Content, "secret");
    EXPECT_EQ(edit.Caption(), "");
}

TEST_F(EditTest, CopyAndCutNeedBothLimits) {
    TKelEdit& edit = Make("abc", {{"MaxWidth", "0"}});
    Type(edit, U"\u0001\u0003\u0018");
    EXPECT_EQ(clipboard.Content, "");
    EXPECT_EQ(edit.Caption(), "abc");
    edit.MaxWidth = 1000;
    Type(edit, U"\u0003");
    EXPECT_EQ(clipboard.Content, "abc");
}

TEST_F(EditTest, PasteIsCutToTheLimitsAndNotFiltered) {
    struct Case {
        std::string start, clip;
        std::vector<std::pair<std::string, std::string>> extra;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"ab", "123456789", {{"MaxLength", "6"}}, "ab1234"},
        {"ab", "x\r\ny\tz\nw\rv", {}, "abx y z w v"},
        {"ab", "12345", {{"MaxWidth", "55"}}, "ab123"},
        {"ab", "12345", {{"MaxWidth", "25"}}, "ab"},
        {"", "a#b>\"c", {{"InputMode", "imNumbersOnly"}, {"ForbiddenChars", "#>"}}, "a#b>\"c"},
        {"ab", "", {}, "ab"},
        {"ab", "", {{"MaxWidth", "5"}}, "ab"},
        {"", "\xff\xfe", {}, "\u00ff\u00fe"},
    };
    for (const Case& c : cases) {
        TKelEdit& edit = Make(c.start, c.extra);
        clipboard.Content = c.clip;
        Type(edit, U"\u0016");
        EXPECT_EQ(edit.Caption(), c.expected) << c.start << " " << c.clip;
        EXPECT_EQ(edit.Caret(), static_cast<int>(edit.Text().size()) + 1);
        engine.Clear();
    }
}

TEST_F(EditTest, PasteReplacesTheSelectionAtTheCaret) {
    TKelEdit& edit = Make("abcd");
    clipboard.Content = "XY";
    Key(edit, vk::Left);
    Key(edit, vk::Left, ssShift);
    Type(edit, U"\u0016");
    EXPECT_EQ(edit.Caption(), "abXYd");
    EXPECT_EQ(edit.Caret(), 5);
}

TEST_F(EditTest, MousePlacesTheCaretAndDragsASelection) {
    TKelEdit& edit = Make("abcdef", {{"TextShiftLeft", "5"}});
    struct Case {
        int x, caret;
    };
    for (const Case& c :
         {Case{100, 1}, Case{114, 1}, Case{115, 2}, Case{164, 6}, Case{165, 7}, Case{399, 7}}) {
        edit.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, c.x, 55);
        EXPECT_EQ(edit.Caret(), c.caret) << c.x;
        edit.MouseUp(nullptr, TMouseButton::mbLeft, 0, c.x, 55);
    }
    edit.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 117, 55);
    edit.MouseMove(nullptr, ssLeft, 140, 55);
    EXPECT_EQ(Selected(edit), "bc");
    edit.MouseUp(nullptr, TMouseButton::mbLeft, 0, 140, 55);
    edit.MouseMove(nullptr, 0, 160, 55);
    EXPECT_EQ(Selected(edit), "bc");
    edit.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft | ssDouble, 117, 55);
    edit.MouseMove(nullptr, ssLeft, 140, 55);
    EXPECT_EQ(Selected(edit), "abcdef");
}

TEST_F(EditTest, CaretBlinksWhileFocusedAndStaysWhileTheButtonIsHeld) {
    host.Sizes["caret"] = {4, 12};
    TKelEdit& edit = Make("abc", {{"CursorPicture", "caret"}, {"TextShiftLeft", "5"}});
    Key(edit, vk::Left);
    Key(edit, vk::Left);
    edit.Blink(10000);
    EXPECT_TRUE(edit.CaretShown());
    edit.Blink(10500);
    EXPECT_FALSE(edit.CaretShown());
    edit.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 117, 55);
    edit.Blink(10500);
    EXPECT_TRUE(edit.CaretShown());
    edit.MouseUp(nullptr, TMouseButton::mbLeft, 0, 117, 55);
    edit.Blink(10500);
    EXPECT_FALSE(edit.CaretShown());
    edit.Blink(11000);
    host.Calls.clear();
    edit.Draw();
    // The caret stands after "a": 100 + 5 + 10 - 4 div 2 - 1.
    EXPECT_EQ(host.Draws().back(), "Draw caret  112,50 a255");
    edit.SetFocused(false);
    edit.Blink(11000);
    EXPECT_FALSE(edit.CaretShown());
}

TEST_F(EditTest, PasswordEditDrawsTheMaskOncePerCharacter) {
    TKelEdit& edit = Make("abc", {{"PasswordChar", "*"}, {"TextShiftLeft", "5"}});
    edit.Draw();
    ASSERT_EQ(glyphs.Glyphs.size(), 3u);
    EXPECT_EQ(glyphs.Glyphs[2].X, 125);
    EXPECT_EQ(edit.GetPictures(), "");
}

}  // namespace
