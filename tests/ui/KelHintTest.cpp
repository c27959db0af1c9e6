// Hints: sizing to the caption within the widest width, the background, hiding after the
// showing time with the area it covered, moving, and hints at the screen's edges.
#include <algorithm>

#include "ui/KelHint.h"
#include "support/UiFixture.h"

namespace {

class KelHintTest : public UiTest {
  protected:
    // A shown form with the hint H at (left, top), at most 200 wide, shown for 500 ms.
    TKelHint& Make(const std::string& caption, int left = 100, int top = 50) {
        Load(Object("TKelForm", {{"Name", "F"},
                                 {"ParentName", "Screen"},
                                 {"Width", "800"},
                                 {"Height", "600"},
                                 {"Visible", "True"}}) +
             Object("TKelHint", {{"Name", "H"},
                                 {"ParentName", "F"},
                                 {"Left", std::to_string(left)},
                                 {"Top", std::to_string(top)},
                                 {"Width", "200"},
                                 {"Visible", "True"},
                                 {"ShowTime", "500"},
                                 {"BackGroundColor", "4"},
                                 {"BackGroundAlpha", "128"},
                                 {"Caption", caption}}));
        engine.ShowModal("F");
        engine.Clock = [this] { return now; };
        return Get<TKelHint>("H");
    }

    std::vector<std::string> Rects() const {
        std::vector<std::string> rects;
        for (const std::string& call : host.Calls)
            if (call.rfind("Rect", 0) == 0) rects.push_back(call);
        return rects;
    }

    uint32_t now = 0;
};

TEST_F(KelHintTest, ShrinksToAShortCaptionAndWrapsALongOne) {
    struct Case {
        std::string caption;
        int width, height;
    };
    for (const Case& c : {Case{"ab", 20, 12}, Case{"{$FF}ab{/$} cd", 50, 12},
                          Case{"aaaa bbbb cccc dddd eeee", 200, 24}, Case{"a{BR/}bbb", 30, 24}}) {
        engine.Clear();
        TKelHint& hint = Make(c.caption);
        EXPECT_EQ(hint.Width(), c.width) << c.caption;
        EXPECT_EQ(hint.Height(), c.height) << c.caption;
        EXPECT_EQ(hint.MaxWidth(), 200);
    }
    // A shorter caption after a longer one shrinks again; a wider one takes the widest width.
    TKelHint& hint = Get<TKelHint>("H");
    hint.SetCaption("abc");
    EXPECT_EQ(hint.Width(), 30);
    hint.SetCaption(std::string(30, 'a'));
    EXPECT_EQ(hint.Width(), 200);
}

TEST_F(KelHintTest, DrawsItsBackgroundBehindTheText) {
    Make("ab");
    engine.DrawAll();
    ASSERT_EQ(Rects(), std::vector<std::string>{"Rect 84,40-136,72 c4 a128"});
    // The background comes right before the hint's own picture and text.
    const auto rect = std::find(host.Calls.begin(), host.Calls.end(), Rects().front());
    ASSERT_NE(rect + 1, host.Calls.end());
    EXPECT_EQ(rect[1].rfind("Draw ", 0), 0u);
    EXPECT_EQ(glyphs.Glyphs, (std::vector<TPoint>{{100, 50}, {110, 50}}));
}

TEST_F(KelHintTest, HidesAfterItsShowingTimeAndRecordsTheAreaItCovered) {
    TKelHint& hint = Make("ab");
    hint.Show(1000);
    engine.ClearDirty();
    now = 1499;
    engine.Tick();
    EXPECT_TRUE(hint.Visible());
    EXPECT_FALSE(hint.Dirty());
    now = 1500;
    engine.Tick();
    EXPECT_FALSE(hint.Visible());
    EXPECT_EQ(hint.OldRect(), (TRect{84, 40, 136, 72}));
}

TEST_F(KelHintTest, MovingCoversTheOldAndNewAreasWhateverTheAlignment) {
    TKelHint& hint = Make("ab");
    hint.SetHAlign(haCenter);
    engine.ClearDirty();
    hint.SetLeft(300);
    hint.SetTop(60);
    EXPECT_EQ(hint.AbsLeft(), 300);
    EXPECT_EQ(hint.OldRect(), (TRect{284, 40, 426, 82}));  // from the centre to (300, 60)
}

TEST_F(KelHintTest, AHintAtTheScreensEdgesDrawsOnlyItsPartOnTheScreen) {
    struct Case {
        int left, top;
        std::string rect;
    };
    for (const Case& c : {Case{790, 100, "Rect 774,90-799,122 c4 a128"},
                          Case{100, 595, "Rect 84,585-136,599 c4 a128"}, Case{-500, -500, ""}}) {
        engine.Clear();
        host.Calls.clear();
        Make("ab", c.left, c.top);
        engine.DrawAll();
        EXPECT_EQ(Rects(),
                  c.rect.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.rect})
            << c.left << "," << c.top;
    }
}

}  // namespace
