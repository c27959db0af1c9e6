// The group bonus on the shipped game: the kind's word at the group's mean centre, kept on the
// screen, with the group's size in digits under it.
#include <gtest/gtest.h>

#include "app/HeadlessGame.h"
#include "support/TempFolder.h"

#ifdef TERVOLIN_GAME_FOLDER
namespace {

class GroupBonusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_.Start();
        ASSERT_FALSE(game_.Snapshot().Closed);
    }
    // The instances the bonus made, in order.
    std::vector<const TPartEffect*> Bonus() {
        std::vector<const TPartEffect*> found;
        for (const TPartEffect& instance : engine_.Services().ScreenEffects)
            if (instance.Name == "+50") found.push_back(&instance);
        return found;
    }

    TempFolder user_;
    THeadlessGame game_{{TERVOLIN_GAME_FOLDER, user_.Path().string(), 1, 10}};
    TKelGameEngine& engine_ = game_.Engine();
};

TEST_F(GroupBonusTest, TheKindsWordAndTheSizeShowAtTheGroupsCentre) {
    const uint32_t at = game_.Now() + 1000;
    (*engine_.Services().PlayScreen).GroupBonus(3, at, {{5, 4}, {6, 4}, {6, 5}});
    const std::vector<const TPartEffect*> bonus = Bonus();
    ASSERT_EQ(bonus.size(), 6u);
    // The mean of (65c - 31, 73r - 29): x (294 + 359 + 359) / 3, y (263 + 263 + 336) / 3.
    EXPECT_EQ(std::tuple(bonus[0]->X, bonus[0]->Y, bonus[0]->IsText), std::tuple(337, 287, false));
    const TPoint outline[] = {{335, 347}, {339, 347}, {337, 345}, {337, 349}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::tuple(bonus[1 + i]->X, bonus[1 + i]->Y),
                  std::tuple(outline[i].X, outline[i].Y));
        EXPECT_EQ(std::tuple(bonus[1 + i]->Picture, bonus[1 + i]->TextColor),
                  std::tuple(std::string("3"), 0));
    }
    EXPECT_EQ(std::tuple(bonus[5]->X, bonus[5]->Y, bonus[5]->TextColor), std::tuple(337, 347, -1));
    EXPECT_EQ(bonus[0]->Effect->StartTime, at);
    EXPECT_FALSE(engine_.Services().Sounds.SoundEffects.empty());
}

TEST_F(GroupBonusTest, TheBonusStaysOnTheScreenAndSmallGroupsShowNone) {
    (*engine_.Services().PlayScreen).GroupBonus(2, game_.Now(), {{5, 4}, {6, 4}});
    EXPECT_TRUE(Bonus().empty());

    // Seven cells at the right edge and the top: moved left and down, never off the screen.
    const std::vector<TCell> group = {{12, 1}, {12, 2}, {12, 1}, {12, 2},
                                      {12, 1}, {12, 2}, {12, 1}};
    (*engine_.Services().PlayScreen).GroupBonus(7, game_.Now(), group);
    const std::vector<const TPartEffect*> bonus = Bonus();
    ASSERT_EQ(bonus.size(), 6u);
    // The word is a strip: one frame's width keeps it on the screen.
    TPoint size = engine_.Services().Surfaces.get()->GetSurfaceSize("BonusFantastic.png");
    ASSERT_GT(size.X, 0);
    size.X /= bonus[0]->Effect->GetSystem(0)->FrameCount;
    EXPECT_EQ(bonus[0]->X, 800 - size.X / 2);
    EXPECT_EQ(bonus[0]->Y, (size.Y + 70) / 2);
    EXPECT_EQ(bonus[5]->Y, bonus[0]->Y + 70);
}

}  // namespace
#endif
