// The tutorial popups: where they stand and where their arrows point, for every cell of the
// board; and level 1's popups played as a new player meets them, with the mouse at the arrow's
// tip and with the keys.
#include <gtest/gtest.h>

#include "app/HeadlessGame.h"
#include "app/TutorialArrow.h"
#include "support/TempFolder.h"
#include "ui/KelInterfaceObject.h"

namespace {

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

TEST(TutorialArrowTest, EveryCellGetsAPopupOnScreenBesideItAndAnArrowTipOnItsStone) {
    constexpr int Width = 224, Height = 112;  // the shipped popups' panel
    for (int row = 1; row <= BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col) {
            const TCell cell{col, row};
            const TTutorialLayout layout = LayOutTutorialPopup(cell, Width, Height);
            const TRect window{layout.Window.X, layout.Window.Y, layout.Window.X + Width - 1,
                               layout.Window.Y + Height - 1};
            SCOPED_TRACE(std::to_string(col) + "," + std::to_string(row));
            EXPECT_GE(window.Left, 0);
            EXPECT_GE(window.Top, 0);
            EXPECT_LT(window.Right, ScreenWidth);
            EXPECT_FALSE(Overlap(window, CellBox(col, row)));
            EXPECT_EQ(layout.ArrowUp, window.Top > CellCentre(col, row).Y);
            // A click at the tip, at any moment of its bob, hits the cell the popup names.
            for (uint32_t now = 0; now < 1100; now += 7)
                ASSERT_EQ(FoundMoouseOverFish(TutorialArrowTip(cell, layout.ArrowUp, now)), cell)
                    << "at " << now << " ms";
        }
}

#ifdef TERVOLIN_GAME_FOLDER

class TutorialPopupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_.Start();
        ASSERT_FALSE(game_.Snapshot().Closed);
        game_.Step(10);
        for (const char c : std::string("Ann")) game_.TypeChar(uint8_t(c));
        game_.Step(10);
        Press("WYourName_BOk");
        Press("WTitle_BStartGame");
        Press("WSelectGameMode_BAction");
        Press("WInstructions_TFPlay_BPlay");
        ASSERT_EQ(game_.Snapshot().Top, "WGame");
    }
    void Press(const std::string& name) {
        const auto* object =
            dynamic_cast<const TKelInterfaceObject*>(engine_.Services().Interface.FindObject(name));
        ASSERT_NE(object, nullptr) << name;
        Click({object->AbsLeft() + object->Width() / 2, object->AbsTop() + object->Height() / 2});
    }
    void Click(TPoint point) {
        game_.Send(MouseMoveEvent(point.X, point.Y));
        game_.Click(point.X, point.Y);
        game_.Step(10);
    }
    void Key(int key) {
        game_.Key(key);
        game_.Step(10);
    }
    // Runs until the named popup is shown; its state then.
    TShownTutorialPopup WaitForPopup(const std::string& name) {
        const bool shown = game_.RunUntil(
            [this, &name] {
                const auto popup = game_.Snapshot().TutorialPopup;
                return popup && popup->Name == name;
            },
            10000);
        EXPECT_TRUE(shown) << name;
        return game_.Snapshot().TutorialPopup.value_or(TShownTutorialPopup{});
    }
    bool AnyCellFalling() {
        const TBoard& board = game_.Snapshot().Play->Level.Board;
        for (int row = 1; row <= BoardRows; ++row)
            for (int col = 1; col <= BoardColumns; ++col)
                if (board.CellExists(col, row) && board.Cell(col, row).Falling) return true;
        return false;
    }

    TempFolder user_;
    THeadlessGame game_{{TERVOLIN_GAME_FOLDER, user_.Path().string(), 1, 10}};
    TKelGameEngine& engine_ = game_.Engine();
    TGame& play_ = game_.SetUpPlay().Game;
};

TEST_F(TutorialPopupTest, APlayerFollowsTheArrowsWithTheMouse) {
    // A Pharaoh who grows sad by the second: no popup may cost mood.
    game_.SetUpPlay().Level.DecPerSecond = 40;
    const TShownTutorialPopup select = WaitForPopup("WTutorialSelect");
    EXPECT_FALSE(AnyCellFalling()) << "the first popup waits for the board to settle";
    EXPECT_EQ(select.Cell, (TCell{6, 4}));
    EXPECT_EQ(game_.Snapshot().Top, "WTutorialSelect");
    const int mood = play_.Mood;
    game_.Step(3000);
    EXPECT_EQ(play_.Mood, mood) << "the Pharaoh waits while a popup is read";

    // The first click on the stone the arrow touches picks it up and closes the popup.
    Click(game_.Snapshot().TutorialPopup->ArrowTip);
    EXPECT_EQ(play_.SelectedCell, (TCell{6, 4}));
    const TShownTutorialPopup move = WaitForPopup("WTutorialMove");
    EXPECT_EQ(move.Cell, (TCell{7, 4}));
    Click(game_.Snapshot().TutorialPopup->ArrowTip);
    EXPECT_TRUE(play_.SelectedCell.IsNone()) << "the piece moved";
    EXPECT_EQ(play_.LastMoveCell, (TCell{7, 4}));
    WaitForPopup("WTutorialComplete");
    EXPECT_FALSE(AnyCellFalling());

    // With the popups read, the play window's Pharaoh keeps his clock again.
    Click(game_.Snapshot().TutorialPopup->ArrowTip);
    EXPECT_EQ(game_.Snapshot().Top, "WGame");
    const int before = play_.Mood;
    game_.Step(3000);
    EXPECT_LT(play_.Mood, before);
}

TEST_F(TutorialPopupTest, ThePopupsAnswerTheKeysAsTheyAnswerClicks) {
    WaitForPopup("WTutorialSelect");
    // The cursor starts at (4, 4): Space elsewhere does nothing, on the named stone it acts.
    Key(vk::Right);
    Key(vk::Space);
    EXPECT_EQ(game_.Snapshot().Top, "WTutorialSelect");
    EXPECT_TRUE(play_.SelectedCell.IsNone());
    Key(vk::Right);
    Key(vk::Space);
    EXPECT_EQ(play_.SelectedCell, (TCell{6, 4}));
    WaitForPopup("WTutorialMove");
    Key(vk::Right);
    Key(vk::Space);
    EXPECT_TRUE(play_.SelectedCell.IsNone());
    WaitForPopup("WTutorialComplete");
}

#endif

}  // namespace
