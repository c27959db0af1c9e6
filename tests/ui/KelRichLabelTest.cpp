// Rich labels: markup (pushes and pops, unbalanced and unknown tags, braces, an unclosed tag),
// wrapping, line and cell alignment, line breaks and spacing, nested tables, links and their
// scripts, the vertical shift and labels too narrow for one character.
#include "ui/KelRichLabel.h"
#include "support/UiFixture.h"

namespace {

class KelRichLabelTest : public UiTest {
  protected:
    KelRichLabelTest() {
        // "Wide": every character 20 pixels wide.
        std::string metrics = "32:0:0:0:20:0";
        for (int code = 33; code < 127; ++code)
            metrics += "," + std::to_string(code) + ":0:0:0:20:0";
        TKelXMLTag tag("TKelFont");
        tag.AddAttribute("Name", "Wide");
        tag.AddAttribute("Height", "24");
        tag.AddAttribute("Picture", "wide.png");
        tag.AddAttribute("Metrics", metrics);
        fonts.AddFontFromTag(tag);
        engine.RegisterHandler("Go", [this] { ++goes; });
    }

    // A shown form with the rich label R at (10, 20), 100 by 100, with the caption.
    TKelRichLabel& Make(const std::string& caption,
                        std::vector<std::pair<std::string, std::string>> extra = {}) {
        std::vector<std::pair<std::string, std::string>> properties = {
            {"Name", "R"},       {"ParentName", "F"}, {"Left", "10"},
            {"Top", "20"},       {"Width", "100"},    {"Height", "100"},
            {"Visible", "True"}, {"LinkColor", "7"},  {"LinkMouseOverColor", "9"}};
        properties.insert(properties.end(), extra.begin(), extra.end());
        properties.push_back({"Caption", caption});
        Load(Object("TKelForm", {{"Name", "F"},
                                 {"ParentName", "Screen"},
                                 {"Width", "800"},
                                 {"Height", "600"},
                                 {"Visible", "True"}}) +
             Object("TKelRichLabel", properties));
        engine.ShowModal("F");
        return Get<TKelRichLabel>("R");
    }

    // Each block as "text@x,y", with "#colour" when not 0 and ":font" when not KelUnicode.
    static std::vector<std::string> Words(const TKelRichLabel& label) {
        std::vector<std::string> words;
        for (const TKelRichBlock& block : label.Blocks()) {
            std::string word = WideToUtf8(block.Text) + "@" + std::to_string(block.X) + "," +
                               std::to_string(block.Y);
            if (block.Color != 0) word += "#" + std::to_string(block.Color);
            if (block.FontName != "KelUnicode") word += ":" + block.FontName;
            words.push_back(word);
        }
        return words;
    }

    void Click(int x, int y) {
        engine.MouseDown(TMouseButton::mbLeft, ssLeft, x, y);
        engine.MouseUp(TMouseButton::mbLeft, 0, x, y);
    }

    int goes = 0;
};

struct LayoutCase {
    std::string caption;
    std::vector<std::string> words;
};

TEST_F(KelRichLabelTest, MarkupPushesAndPopsColoursFontsAndAlignments) {
    const std::vector<LayoutCase> cases = {
        {"a {$FF}b {$10}c{/$} d{/$} e",
         {"a@0,0", "b@20,0#255", "c@40,0#16", "d@60,0#255", "e@80,0"}},
        // More closing tags than opening ones keep the initial colour, font and alignment.
        {"{/$}{/$}a{/F}{/Left} {/Center}b", {"a@0,0", "b@0,24"}},
        {"{Font Wide}ab{/Font} c", {"ab@0,0:Wide", "c@60,0"}},
        {"{Font Missing}ab", {"ab@0,0"}},
        {"{Bold}a {Nope x}b {$zz}c", {"a@0,0", "b@20,0", "c@40,0"}},
        {"{{a}} b}", {"{a}@0,0", "b}@40,0"}},
        {"a {$FF b c", {"a@0,0"}},
        {"a {", {"a@0,0"}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.caption);
        engine.Clear();
        EXPECT_EQ(Words(Make(c.caption)), c.words);
    }
}

TEST_F(KelRichLabelTest, WordsWrapAndLinesAlign) {
    const std::vector<LayoutCase> cases = {
        {"aaaa bbbb cccc", {"aaaa@0,0", "bbbb@50,0", "cccc@0,12"}},
        {"{Center}ab cd{/Center}ef", {"ab@25,0", "cd@55,0", "ef@0,12"}},
        {"{Right}ab cd{BR/}e{/Right}", {"ab@50,0", "cd@80,0", "e@90,12"}},
        // 50 free pixels over two spaces; the paragraph's last line stays as it is.
        {"{Justify}a b c dddddddd{/Justify}", {"a@0,0", "b@45,0", "c@90,0", "dddddddd@0,12"}},
        // 20 free pixels over three spaces: 6 each, and one more for the 2nd and 3rd (round 1.5,
        // round 3).
        {"{Justify}a b c dd eeeeeeee", {"a@0,0", "b@26,0", "c@53,0", "dd@80,0", "eeeeeeee@0,12"}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.caption);
        engine.Clear();
        EXPECT_EQ(Words(Make(c.caption)), c.words);
    }
}

TEST_F(KelRichLabelTest, TheAlignmentPropertyIsTheInitialAlignment) {
    EXPECT_EQ(Words(Make("ab cd", {{"Alignment", "taCenter"}})),
              (std::vector<std::string>{"ab@25,0", "cd@55,0"}));
}

TEST_F(KelRichLabelTest, BreaksSpacingAndTableCells) {
    const std::vector<LayoutCase> cases = {
        {"a{BR/}b{BR 30/}c {HR 7/}d", {"a@0,0", "b@0,12", "c@0,42", "d@27,42"}},
        {"x{Table}{TLeft 10/}ab{TCenter 50/}cd{TRight 100/}ef{/Table}g",
         {"x@0,0", "ab@10,12", "cd@40,12", "ef@80,12", "g@0,24"}},
        // A break inside a cell keeps its tab stop.
        {"{Table}{TRight 50/}ab{BR/}c{/Table}", {"ab@30,0", "c@40,12"}},
        {"{Table}{TLeft 5/}a{Table}{TRight 50/}b{/Table}{TLeft 5/}c{/Table}d",
         {"a@5,0", "b@40,12", "c@5,24", "d@0,36"}},
        // Cell tags outside a table and closing tables without one do nothing.
        {"{TLeft 50/}a{/Table}{/Table} b", {"a@0,0", "b@20,0"}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.caption);
        engine.Clear();
        EXPECT_EQ(Words(Make(c.caption)), c.words);
    }
}

TEST_F(KelRichLabelTest, ALabelNarrowerThanOneCharacterPlacesOnePerLine) {
    TKelRichLabel& label = Make("ab {Link Action=x}c{/Link}", {{"TextShiftLeft", "200"}});
    EXPECT_EQ(Words(label), (std::vector<std::string>{"a@0,0", "b@0,12", "@0,24"}));
    label.SetWidth(5);
    label.SetCaption("abc de");
    EXPECT_EQ(Words(label),
              (std::vector<std::string>{"a@0,0", "b@0,12", "c@0,24", "d@0,36", "e@0,48"}));
}

TEST_F(KelRichLabelTest, ALinkAtALineBreakRunsItsScriptWhenPressed) {
    TKelRichLabel& label = Make("aaaaaaa {Link Action=ExecMethod Method=\"Go\";}go on{/Link} b");
    EXPECT_EQ(Words(label), (std::vector<std::string>{"aaaaaaa@0,0", "@0,12", "b@60,12"}));
    ASSERT_EQ(label.Links().size(), 1u);
    const TKelLabel& link = *label.Links()[0].Label;
    EXPECT_EQ(link.Caption(), "go on");
    EXPECT_EQ(link.OnMouseDown, "ExecMethod Method=\"Go\";");
    EXPECT_EQ((std::vector<int>{link.AbsLeft(), link.AbsTop(), link.Width(), link.Height()}),
              (std::vector<int>{10, 32, 50, 12}));
    EXPECT_EQ(link.Color, 7);
    EXPECT_EQ(link.MouseOverColor, 9);

    Click(15, 25);  // on the first line
    EXPECT_EQ(goes, 0);
    Click(15, 35);
    EXPECT_EQ(goes, 1);
    EXPECT_EQ(engine.Sender(), &label);

    engine.MouseMove(0, 15, 35);
    EXPECT_TRUE(link.Hovered());
    engine.MouseMove(0, 300, 300);
    EXPECT_FALSE(link.Hovered());
}

TEST_F(KelRichLabelTest, LinksFollowTheLabelAndAreDrawn) {
    TKelRichLabel& label = Make("a {Link Action=ExecMethod Method=\"Go\";}go{/Link}");
    label.SetLeft(200);
    engine.DrawAll();
    // "a" and the link's "go", both on the moved label.
    std::vector<TPoint> expected = {{200 + 0, 20}, {200 + 20, 20}, {200 + 30, 20}};
    EXPECT_EQ(glyphs.Glyphs, expected);
    EXPECT_EQ(glyphs.Colors, (std::vector<uint32_t>{0, 7, 7}));
    Click(225, 25);
    EXPECT_EQ(goes, 1);
    // Hovered, the link takes its hover colour.
    engine.MouseMove(0, 225, 25);
    glyphs.Colors.clear();
    engine.DrawAll();
    EXPECT_EQ(glyphs.Colors, (std::vector<uint32_t>{0, 9, 9}));

    // A new caption replaces the links; the old ones are gone.
    label.SetCaption("{Link Action=ExecMethod Method=\"Go\";}x{/Link} {Link Action=y}z{/Link}");
    ASSERT_EQ(label.Links().size(), 2u);
    EXPECT_EQ(label.Links()[1].Label->OnMouseDown, "y");
    EXPECT_EQ(label.Links()[1].Label->AbsLeft(), 220);
    Click(205, 25);
    EXPECT_EQ(goes, 2);
    label.SetCaption("plain");
    EXPECT_TRUE(label.Links().empty());
}

TEST_F(KelRichLabelTest, TheLayoutShiftsTheTextDown) {
    struct Case {
        std::string layout;
        int y;
    };
    for (const Case& c :
         {Case{"tlTop", 20}, Case{"tlCenter", 20 + 44}, Case{"tlBottom", 20 + 88}}) {
        engine.Clear();
        glyphs.Glyphs.clear();
        Make("a", {{"Layout", c.layout}});
        engine.DrawAll();
        EXPECT_EQ(glyphs.Glyphs, (std::vector<TPoint>{{10, c.y}})) << c.layout;
    }
}

}  // namespace
