// Grids: item lists and number grouping, the selected text, keys at the edges and on empty
// grids, mouse rows, drawing and the link with a slider.
#include "ui/KelGrid.h"
#include "ui/KelSlider.h"
#include "support/UiFixture.h"

namespace {

class GridTest : public UiTest {
  protected:
    // A focused grid at (0, 0), 100 by 100 with rows 20 high: five rows fit, four under a fixed
    // row (the divisor is 0).
    TKelGrid& Make(const std::string& columns, const std::string& cells,
                   std::vector<std::pair<std::string, std::string>> extra = {}) {
        engine.RegisterHandler("Down", [this] { ++downs; });
        std::vector<std::pair<std::string, std::string>> properties = {
            {"Name", "G"},
            {"ParentName", "Screen"},
            {"Width", "100"},
            {"Height", "100"},
            {"RowsHeight", "20"},
            {"AddColumns", columns},
            {"OnMouseDown", "ExecMethod Method=\"Down\";"}};
        properties.insert(properties.begin() + 5, extra.begin(), extra.end());
        Load(Object("TKelGrid", properties));
        TKelGrid& grid = Get<TKelGrid>("G");
        grid.AddCells(cells);
        grid.SetFocused(true);
        engine.RunScripts();
        downs = 0;
        return grid;
    }
    // Cells "Text=\"r0\";Text=\"r1\";..." of a one-column grid.
    static std::string Rows(int count) {
        std::string cells;
        for (int i = 0; i < count; ++i) cells += "Text=\"r" + std::to_string(i) + "\";";
        return cells;
    }
    void Key(TKelGrid& grid, int key) {
        grid.KeyDown(nullptr, key, 0);
        engine.RunScripts();
    }

    int downs = 0;
};

TEST_F(GridTest, ItemListsAddColumnsCellsAndRows) {
    TKelGrid& grid = Make("Width=\"30\" Color=\"5\";Alignment=\"taRight\";",
                          "Text=\"a;b\";Text=\"1234567\" Color=\"7\";Text=\"-123\";"
                          "Text=\"12a4\";Text=\"x\" Alignment=\"nonsense\";trailing",
                          {{"Delimiter", "."}});
    ASSERT_EQ(grid.Columns().size(), 2u);
    EXPECT_EQ(grid.Columns()[0].Width, 30);
    EXPECT_EQ(grid.Columns()[1].Width, 100);
    ASSERT_EQ(grid.Cells().size(), 5u);
    EXPECT_EQ(grid.RowCount(), 2);  // the fifth cell starts a row that is not counted
    const std::vector<std::string> texts = {"a;b", "1,234,567", "-,123", "12a4", "x"};
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(WideToUtf8(grid.Cells()[i].Text), texts[i]) << i;
    EXPECT_EQ(grid.Cells()[0].Color, 5);
    EXPECT_EQ(grid.Cells()[1].Color, 7);
    EXPECT_EQ(grid.Cells()[1].Alignment, taRight);
    EXPECT_EQ(grid.Cells()[4].Alignment, taLeft);
    grid.SetCells("Text=\"1234\";;;;;Text=\"past the cells\";");
    EXPECT_EQ(WideToUtf8(grid.Cells()[0].Text), "1234");
}

TEST_F(GridTest, CellsNeedColumns) {
    TKelGrid& grid = Make("", "Text=\"a\";");
    EXPECT_TRUE(grid.Cells().empty());
    EXPECT_EQ(grid.RowCount(), 0);
}

TEST_F(GridTest, SelectedTextIsEmptyForAPositionNamingNoCell) {
    TKelGrid& grid = Make(";", Rows(3));
    struct Case {
        int position;
        std::string text;
    };
    for (const Case& c : {Case{0, "r0"}, Case{2, "r2"}, Case{3, ""}, Case{-1, ""},
                          Case{1000000, ""}, Case{1, "r1"}}) {
        grid.SetPosition(c.position);
        EXPECT_EQ(grid.Position(), c.position);
        EXPECT_EQ(grid.SelectedText(), c.text) << c.position;
    }
    grid.Clear();
    grid.SetPosition(0);
    EXPECT_EQ(grid.SelectedText(), "");
}

TEST_F(GridTest, KeysAtTheEdges) {
    struct Case {
        int rows;
        bool fixed;
        std::vector<int> keys;
        int position, top;
    };
    const std::vector<Case> cases = {
        {4, true, {vk::End}, 2, 0},
        {1, true, {vk::End}, -1, 0},
        {8, false, {vk::End}, 7, 3},
        {8, false, {vk::End, vk::Down, vk::Down}, 7, 3},
        {8, false, {vk::Up, vk::Home, vk::Up}, 0, 0},
        {8, false, {vk::Down, vk::Down, vk::Down, vk::Down, vk::Down, vk::Down}, 6, 2},
        {8, false, {vk::PageDown}, 3, 3},
        {8, false, {vk::PageDown, vk::PageDown, vk::PageDown}, 7, 3},
        {8, false, {vk::End, vk::PageUp, vk::PageUp}, 0, 0},
        {0, false, {vk::Down, vk::PageDown, vk::End, vk::PageUp, vk::Up}, 0, 0},
        {0, true, {vk::Down, vk::PageDown, vk::End}, 0, 0},
    };
    for (const Case& c : cases) {
        TKelGrid& grid = Make(";", Rows(c.rows), {{"FixedRow", c.fixed ? "True" : "False"}});
        for (int key : c.keys) Key(grid, key);
        EXPECT_EQ(grid.Position(), c.position) << c.rows << " " << c.fixed << " " << c.keys[0];
        EXPECT_EQ(grid.TopRow(), c.top) << c.rows << " " << c.fixed << " " << c.keys[0];
        EXPECT_EQ(downs, static_cast<int>(c.keys.size()));  // every key runs OnMouseDown
        engine.Clear();
    }
}

TEST_F(GridTest, WithoutRowHeightKeysOnlyRunTheScript) {
    TKelGrid& grid = Make(";", Rows(8), {{"RowsHeight", "0"}});
    Key(grid, vk::Down);
    Key(grid, vk::End);
    int other = 65;
    grid.KeyDown(nullptr, other, 0);
    engine.RunScripts();
    EXPECT_EQ(grid.Position(), 0);
    EXPECT_EQ(downs, 3);
    grid.SetPosition(5);
    EXPECT_EQ(grid.Position(), 0);
}

TEST_F(GridTest, MouseSelectsAndHoversRows) {
    TKelGrid& grid = Make(";", Rows(8), {{"FixedRow", "True"}});
    grid.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 50, 45);
    EXPECT_EQ(grid.Position(), 1);
    grid.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 50, 10);  // the header
    EXPECT_EQ(grid.Position(), 1);
    grid.MouseMove(nullptr, 0, 50, 65);
    EXPECT_EQ(grid.HoverRow(), 3);
    grid.MouseMove(nullptr, 0, 500, 65);
    EXPECT_EQ(grid.HoverRow(), -1);
    EXPECT_FALSE(grid.MouseOver());
}

TEST_F(GridTest, DrawsTheBarAndTheShownRows) {
    host.Sizes["bar"] = {100, 10};
    TKelGrid& grid =
        Make("FontName=\"KelUnicode\";", Rows(8), {{"FixedRow", "True"}, {"CursorPicture", "bar"}});
    grid.SetPosition(1);
    host.Calls.clear();
    grid.Draw();
    const auto draws = host.Draws();
    // The grid's picture, the bar, then the empty pictures of the header and four rows.
    ASSERT_EQ(draws.size(), 7u);
    EXPECT_EQ(draws[1], "Draw bar  0,45 a255");
    EXPECT_EQ(glyphs.Glyphs.size(), 10u);
    EXPECT_EQ(glyphs.Glyphs[2].Y, 20);
}

TEST_F(GridTest, SliderLinksOnlyToAGrid) {
    Load(Object("TKelLabel", {{"Name", "L"}, {"ParentName", "Screen"}}) +
         Object("TKelGrid", {{"Name", "G"},
                             {"ParentName", "Screen"},
                             {"Height", "100"},
                             {"RowsHeight", "20"},
                             {"AddColumns", ";"},
                             {"AddCells", Rows(8)}}) +
         Object("TKelSlider", {{"Name", "S"}, {"ParentName", "Screen"}}));
    TKelSlider& slider = Get<TKelSlider>("S");
    TKelGrid& grid = Get<TKelGrid>("G");
    for (const std::string name : {"L", "S", "Nothing"}) {
        slider.SetLinkedObjectName(name);
        EXPECT_EQ(slider.LinkedGrid(), nullptr) << name;
    }
    slider.SetLinkedObjectName("G");
    ASSERT_EQ(slider.LinkedGrid(), &grid);
    EXPECT_EQ(grid.LinkedObjectName(), "S");
    EXPECT_EQ(slider.Max(), 7);
    slider.SetPosition(6);
    EXPECT_EQ(grid.Position(), 6);
    EXPECT_EQ(grid.TopRow(), 2);
    grid.SetFocused(true);
    int up = vk::Up;
    grid.KeyDown(nullptr, up, 0);
    EXPECT_EQ(slider.Position(), 5);
    grid.Clear();
    EXPECT_EQ(slider.Position(), 0);
    grid.SetLinkedObjectName("L");
    EXPECT_EQ(grid.LinkedSlider(), nullptr);
}

}  // namespace
