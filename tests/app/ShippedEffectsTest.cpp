// The shipped effects the play screen uses: the looping ones still run after a minute of game
// time, the one-shot ones (breaks and the effects of moves) have finished within ten seconds.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/GlobalEffects.h"
#include "app/ScreenEffects.h"
#include "core/Random.h"
#include "rules/Board.h"

namespace {

#ifdef TERVOLIN_GAME_FOLDER
TEST(ShippedEffectsTest, LoopsRunOnAndOneShotsEnd) {
    TFileFolder archive = TFileFolder::Open(std::string(TERVOLIN_GAME_FOLDER) + "/game.zxc");
    ASSERT_EQ(archive.LastError(), "");
    std::vector<std::string> files = TGlobalEffects::Files();
    for (const char* file : {"efMouseCursor.xml", JumpBallEffectFile, ObjectEffectFile(fkCobra),
                             ObjectEffectFile(fkPyramid), ObjectEffectFile(fkCoin)})
        files.push_back(file);
    const std::vector<std::string> oneShotInstances{"efBonus50.xml", "efBlickComplete1.xml",
                                                    "efBallsRotation.xml"};
    files.insert(files.end(), oneShotInstances.begin(), oneShotInstances.end());
    for (const std::string& file : files) {
        TKelRandom random(1);
        std::unique_ptr<TKelParticleEffect> effect = LoadEffectEntry(archive, file, &random);
        ASSERT_TRUE(effect) << file;
        // The templates that moves clone get their lifetime from the game.
        if (file.rfind("efMove", 0) == 0 || file == "efBombMove.xml") continue;
        // One-shots must have ended after 10 s, loops must still run after 60 s.
        const bool oneShot = file.rfind("efBreakFishka", 0) == 0 ||
                             std::find(oneShotInstances.begin(), oneShotInstances.end(), file) !=
                                 oneShotInstances.end();
        StartEffect(*effect, 1000);
        for (uint32_t t = 1000; t <= (oneShot ? 11000u : 61000u); t += 20) effect->Update(t);
        EXPECT_EQ(bool(effect->Finished), oneShot) << file;
    }
}
#endif

}  // namespace
