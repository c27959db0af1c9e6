// Labels: wrapping, line placement, justification, slanted text, state pictures and the scripts
// of mouse events; check boxes and radio groups.
#include "ui/KelLabel.h"

#include "ui/KelCheckBox.h"
#include "support/UiFixture.h"

namespace {

class KelLabelTest : public UiTest {
  protected:
    // A label of the test font (every character 10 pixels) in a form at (0, 0).
    TKelLabel& MakeLabel(int width, const std::string& caption,
                         const std::vector<std::pair<std::string, std::string>>& more = {},
                         const std::string& className = "TKelLabel") {
        std::vector<std::pair<std::string, std::string>> properties{
            {"Name", "L"},
            {"ParentName", "Form"},
            {"Width", std::to_string(width)},
            {"Height", "100"}};
        properties.insert(properties.end(), more.begin(), more.end());
        properties.emplace_back("Caption", caption);
        engine.Clear();
        Load(Object("TKelForm", {{"Name", "Form"}, {"ParentName", "Screen"}}) +
             Object(className, properties));
        return Get<TKelLabel>("L");
    }
    static std::vector<std::string> Texts(const TKelLabel& label) {
        std::vector<std::string> texts;
        for (const TKelTextLine& line : label.Lines()) texts.push_back(WideToUtf8(line.Text));
        return texts;
    }
    // The horizontal pen positions of the glyphs drawn.
    std::vector<int> GlyphXs() const {
        std::vector<int> xs;
        for (const TPoint& glyph : glyphs.Glyphs) xs.push_back(glyph.X);
        return xs;
    }
};

using Lines = std::vector<std::string>;

TEST_F(KelLabelTest, WrappingCases) {
    struct Case {
        int width;
        const char* caption;
        Lines lines;
    };
    const Case cases[] = {
        {100, "one two", {"one two"}},
        {100, "one two  \r\n \t ", {"one two"}},  // trailing blanks and breaks are absent
        {100, "one\r\ntwo", {"one two"}},         // a line break acts as a space
        {50, "one two three", {"one", "two", "three"}},
        {40, "abcdefghij xy", {"abcd", "efgh", "ij", "xy"}},  // cut at the overflowing character
        {5, "abc", {"a", "b", "c"}},  // narrower than one character: one character per line
        {0, "abc", {}},
        {100, "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Texts(MakeLabel(c.width, c.caption)), c.lines) << c.caption << " " << c.width;
}

TEST_F(KelLabelTest, AnEnormousCaptionInANarrowLabelEnds) {
    const TKelLabel& label = MakeLabel(1, std::string(20000, 'x'));
    EXPECT_EQ(label.Lines().size(), 20000u);
}

TEST_F(KelLabelTest, LinesArePlacedByAlignmentAndLayout) {
    TKelLabel& label = MakeLabel(
        100, "ab cdef", {{"Alignment", "taRight"}, {"Layout", "tlBottom"}, {"LineSpace", "3"}});
    ASSERT_EQ(label.Lines().size(), 1u);
    EXPECT_EQ(label.Lines()[0].X, 30);
    EXPECT_EQ(label.Lines()[0].Y, 100 - 12);
    label.SetCaption("abcdefgh abc");
    label.SetAlignment(taCenter);
    label.SetLayout(tlCenter);
    ASSERT_EQ(label.Lines().size(), 2u);
    EXPECT_EQ(label.Lines()[0].X, 10);
    EXPECT_EQ(label.Lines()[1].X, 35);
    EXPECT_EQ(label.Lines()[0].Y, (100 - 27) / 2);
    EXPECT_EQ(label.Lines()[1].Y, (100 - 27) / 2 + 15);
}

TEST_F(KelLabelTest, FloatingLinesBesideThePictureAreIndented) {
    host.Sizes["pic"] = {30, 24};  // two lines of the 12-pixel font
    const TKelLabel& label =
        MakeLabel(100, "aaaa bbbb cccc dddd eeee", {{"Picture", "pic"}, {"Floating", "True"}});
    ASSERT_EQ(Texts(label), (Lines{"aaaa", "bbbb", "cccc dddd", "eeee"}));
    std::vector<int> xs;
    for (const TKelTextLine& line : label.Lines()) xs.push_back(line.X);
    EXPECT_EQ(xs, (std::vector<int>{30, 30, 0, 0}));
}

TEST_F(KelLabelTest, JustificationSpreadsTheRemainderOverChosenSpaces) {
    // "a b c d e": 90 pixels, 4 spaces, 10 free: every space 2 wider, the 2nd and 4th 3 wider.
    TKelLabel& label = MakeLabel(100, "a b c d e ffffffffff", {{"Alignment", "taJustify"}});
    ASSERT_EQ(Texts(label), (Lines{"a b c d e", "ffffffffff"}));
    label.Draw();
    const std::vector<int> xs = GlyphXs();
    ASSERT_GE(xs.size(), 5u);
    EXPECT_EQ(std::vector<int>(xs.begin(), xs.begin() + 5), (std::vector<int>{0, 22, 45, 67, 90}));
}

TEST_F(KelLabelTest, JustificationOfAOneWordLineDrawsItPlain) {
    TKelLabel& label = MakeLabel(40, "abcdefghijkl xy", {{"Alignment", "taJustify"}});
    label.Draw();
    const std::vector<int> xs = GlyphXs();
    ASSERT_GE(xs.size(), 2u);
    EXPECT_EQ(xs[1], 10);
}

TEST_F(KelLabelTest, JustifiedCheckBoxesJustifyTheLastLineToo) {
    TKelLabel& label = MakeLabel(100, "a b", {{"Alignment", "taJustify"}}, "TKelCheckBox");
    label.Draw();
    EXPECT_EQ(GlyphXs(), (std::vector<int>{0, 90}));
}

TEST_F(KelLabelTest, SlantedTextLiftsEachCharacter) {
    TKelLabel& label = MakeLabel(100, "abc", {{"CharShiftAngle", "45"}});
    label.Draw();
    ASSERT_EQ(glyphs.Glyphs.size(), 3u);
    // Positive angle: character k at |round(w1 t)| - |round(W(k) t)| with t = 1.
    EXPECT_EQ(glyphs.Glyphs[0], (TPoint{0, 0}));
    EXPECT_EQ(glyphs.Glyphs[1], (TPoint{10, -10}));
    EXPECT_EQ(glyphs.Glyphs[2], (TPoint{20, -20}));
    glyphs.Glyphs.clear();
    label.SetCharShiftAngle(-45);
    label.Draw();
    EXPECT_EQ(glyphs.Glyphs[2], (TPoint{20, 20}));
}

TEST_F(KelLabelTest, StatePicturesAndScripts) {
    host.Sizes = {{"up", {100, 100}}, {"down", {100, 100}}};
    TKelLabel& label = MakeLabel(100, "",
                                 {{"Picture", "up"},
                                  {"MouseDownPicture", "down"},
                                  {"OnMouseUp", "ExecMethod Method=\"Go\";"},
                                  {"SoundMouseUp", "click"}});
    label.Draw();
    EXPECT_EQ(host.Draws(), (Lines{"Draw up  0,0 a255"}));
    host.Calls.clear();
    label.MouseMove(nullptr, 0, 5, 5);  // hovered, without a hover picture: none drawn
    label.Draw();
    EXPECT_TRUE(host.Draws().empty());
    label.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 5, 5);
    label.Draw();
    EXPECT_EQ(host.Draws(), (Lines{"Draw down  0,0 a255"}));
    label.MouseUp(nullptr, TMouseButton::mbLeft, 0, 500, 5);  // released outside: no script
    EXPECT_EQ(engine.ScriptQueue().TagCount(), 0);
    label.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 5, 5);
    label.MouseUp(nullptr, TMouseButton::mbLeft, 0, 5, 5);
    ASSERT_EQ(engine.ScriptQueue().TagCount(), 1);
    const TKelXMLTag& script = *engine.ScriptQueue().GetTag(0);
    EXPECT_EQ(script.FindAttribute("Sender")->Value, "L");
    ASSERT_EQ(script.TagCount(), 2);
    EXPECT_EQ(script.GetTag(0)->Name, "PlaySound");
    EXPECT_EQ(script.GetTag(0)->FindAttribute("Sound")->Value, "click");
    EXPECT_EQ(script.GetTag(1)->Name, "ExecMethod");
}

TEST_F(KelLabelTest, CheckBoxFlipsOnAClickInside) {
    host.Sizes = {{"box", {10, 10}}, {"ticked", {10, 10}}};
    auto& box = static_cast<TKelCheckBox&>(
        MakeLabel(100, "x", {{"Picture", "box"}, {"MouseDownPicture", "ticked"}}, "TKelCheckBox"));
    EXPECT_EQ(box.AvailableWidth(), 90);
    box.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 5, 5);
    box.MouseUp(nullptr, TMouseButton::mbLeft, 0, 5, 5);
    EXPECT_TRUE(box.Checked());
    box.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 5, 5);
    box.MouseUp(nullptr, TMouseButton::mbLeft, 0, 500, 5);
    EXPECT_TRUE(box.Checked());
    box.BoxPlace = bpRight;
    box.Draw();
    EXPECT_EQ(host.Draws(), (Lines{"Draw ticked  90,0 a255"}));
}

TEST_F(UiTest, RadioGroupsUncheckTheirOwnGroupInTheirOwnForm) {
    std::string objects = Object("TKelForm", {{"Name", "F1"}, {"ParentName", "Screen"}}) +
                          Object("TKelForm", {{"Name", "F2"}, {"ParentName", "Screen"}});
    const char* const radios[][3] = {
        {"A", "F1", "1"}, {"B", "F1", "1"}, {"C", "F1", "2"}, {"D", "F2", "1"}};
    for (const auto& radio : radios)
        objects += Object("TKelRadioButton", {{"Name", radio[0]},
                                              {"ParentName", radio[1]},
                                              {"RadioGroup", radio[2]},
                                              {"Checked", "True"},
                                              {"Width", "10"},
                                              {"Height", "10"},
                                              {"OnMouseUp", "PlaySound Sound=\"x\";"}});
    Load(objects);
    auto& b = Get<TKelRadioButton>("B");
    Get<TKelRadioButton>("A").SetChecked(true);
    EXPECT_FALSE(b.Checked());
    b.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 1, 1);
    b.MouseUp(nullptr, TMouseButton::mbLeft, 0, 1, 1);
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(Get<TKelRadioButton>("A").Checked());
    EXPECT_TRUE(Get<TKelRadioButton>("C").Checked());
    EXPECT_TRUE(Get<TKelRadioButton>("D").Checked());
    EXPECT_EQ(engine.ScriptQueue().TagCount(), 1);
    // A checked radio button ignores clicks.
    b.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 1, 1);
    b.MouseUp(nullptr, TMouseButton::mbLeft, 0, 1, 1);
    EXPECT_EQ(engine.ScriptQueue().TagCount(), 1);
}

}  // namespace
