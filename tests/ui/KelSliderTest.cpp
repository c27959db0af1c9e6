// Sliders: clamping and OnChange, dragging with its snap, page and step clicks, the buttons'
// places and drawing.
#include "ui/KelSlider.h"
#include "support/UiFixture.h"

namespace {

class SliderTest : public UiTest {
  protected:
    // A vertical slider at (0, 0), 20 by 200, from 0 to 10 with Step 2 and BigStep 5; its track
    // covers the whole slider, the bar and both buttons are 20 by 20.
    TKelSlider& Make(std::vector<std::pair<std::string, std::string>> extra = {}) {
        host.Sizes["track"] = {20, 200};
        host.Sizes["bar"] = {20, 20};
        host.Sizes["up"] = {20, 20};
        host.Sizes["down"] = {16, 20};
        engine.RegisterHandler("Changed", [this] { ++changes; });
        std::vector<std::pair<std::string, std::string>> properties = {
            {"Name", "S"},        {"ParentName", "Screen"},
            {"Width", "20"},      {"Height", "200"},
            {"Picture", "track"}, {"BarPicture", "bar"},
            {"UpPicture", "up"},  {"DownPicture", "down"},
            {"Max", "10"},        {"Step", "2"},
            {"BigStep", "5"},     {"OnChange", "ExecMethod Method=\"Changed\";"}};
        properties.insert(properties.end(), extra.begin(), extra.end());
        Load(Object("TKelSlider", properties));
        engine.RunScripts();
        changes = 0;
        return Get<TKelSlider>("S");
    }
    // Presses on the bar, moves to y and lets go.
    void Drag(TKelSlider& slider, int y) {
        slider.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 10, slider.BarOffset() + 5);
        slider.MouseMove(nullptr, ssLeft, 10, y);
        slider.MouseUp(nullptr, TMouseButton::mbLeft, 0, 10, y);
        engine.RunScripts();
    }

    int changes = 0;
};

TEST_F(SliderTest, PositionIsClampedAndOnlyAChangeRunsOnChange) {
    TKelSlider& slider = Make();
    struct Case {
        int set, position, changes;
    };
    for (const Case& c : {Case{-5, 0, 0}, Case{3, 3, 1}, Case{3, 3, 1}, Case{99, 10, 2}}) {
        slider.SetPosition(c.set);
        engine.RunScripts();
        EXPECT_EQ(slider.Position(), c.position) << c.set;
        EXPECT_EQ(changes, c.changes) << c.set;
    }
}

TEST_F(SliderTest, DraggingSnapsToStepsHalvesToEven) {
    TKelSlider& slider = Make();
    // (100 - 10) / (180 / 10) = 5, snapped to round(2.5) * 2 = 4.
    Drag(slider, 100);
    EXPECT_EQ(slider.Position(), 4);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(slider.Dragging());
    slider.SetPosition(0);
    engine.RunScripts();
    changes = 0;
    Drag(slider, 1000);
    EXPECT_EQ(slider.Position(), 10);
    Drag(slider, -1000);
    EXPECT_EQ(slider.Position(), 0);
    EXPECT_EQ(changes, 2);
}

TEST_F(SliderTest, DragWithoutStepOrRoom) {
    struct Case {
        std::string step, track;
        int position;
    };
    host.Sizes["flat"] = {20, 20};
    for (const Case& c : {Case{"0", "track", 5}, Case{"-3", "track", 5}, Case{"2", "flat", 0}}) {
        TKelSlider& slider = Make({{"Step", c.step}, {"Picture", c.track}, {"Position", "3"}});
        Drag(slider, 100);
        EXPECT_EQ(slider.Position(), c.position) << c.step << " " << c.track;
        engine.Clear();
    }
}

TEST_F(SliderTest, ClicksPageAndStepAlongTheTrack) {
    TKelSlider& slider = Make();
    struct Case {
        int from, y, to;
    };
    // The bar of position 6 covers 108..128, of position 2 36..56; the up button 0..20, the
    // down button 181..199.
    for (const Case& c : {Case{6, 60, 1}, Case{6, 5, 0}, Case{2, 190, 9}, Case{2, 150, 7},
                          Case{6, 118, 6}, Case{6, 200, 6}}) {
        slider.SetPosition(c.from);
        slider.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 10, c.y);
        slider.MouseUp(nullptr, TMouseButton::mbLeft, 0, 10, c.y);
        EXPECT_EQ(slider.Position(), c.to) << c.from << " " << c.y;
    }
    slider.SetPosition(6);
    slider.MouseDown(nullptr, TMouseButton::mbRight, ssRight, 10, 60);
    EXPECT_EQ(slider.Position(), 6);
}

TEST_F(SliderTest, HugeStepsSaturate) {
    TKelSlider& slider = Make({{"Min", "-2147483648"},
                               {"Max", "2147483647"},
                               {"BigStep", "-2147483648"},
                               {"Step", "2147483647"},
                               {"Position", "2147483647"}});
    slider.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 10, 190);
    EXPECT_EQ(slider.Position(), 2147483647);
    slider.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 10, 5);
    EXPECT_EQ(slider.Position(), 2147483647 - 2147483647);
}

TEST_F(SliderTest, ButtonsAndBarAreDrawnInPlace) {
    TKelSlider& slider = Make({{"Position", "5"}, {"Left", "100"}, {"Top", "50"}});
    EXPECT_EQ(slider.UpButton().AbsLeft(), 100);
    EXPECT_EQ(slider.UpButton().AbsTop(), 50);
    EXPECT_EQ(slider.DownButton().AbsLeft(), 102);
    EXPECT_EQ(slider.DownButton().AbsTop(), 230);
    EXPECT_EQ(slider.BarOffset(), 90);
    host.Calls.clear();
    slider.Draw();
    const auto draws = host.Draws();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[1], "Draw bar  100,140 a255");
    EXPECT_EQ(draws[3], "Draw down  102,230 a255");
    slider.SetOrientation(trHorizontal);
    EXPECT_EQ(slider.DownButton().AbsLeft(), 104);
    EXPECT_EQ(slider.DownButton().AbsTop(), 140);
    EXPECT_EQ(slider.GetPictures(), "track\r\nbar\r\nup\r\ndown");
}

}  // namespace
