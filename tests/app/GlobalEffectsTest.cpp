#include "app/GlobalEffects.h"

#include <gtest/gtest.h>

#include "core/Random.h"
#include "support/TestContent.h"

namespace {

TEST(GlobalEffectsTest, ACursorTypeIsSelectedOnce) {
    TFileFolder archive = TFileFolder::CreateEmpty("unused.zxc");
    archive.AddFile("efMouseCursor.xml", 1,
                    TMemoryStream(OneParticleEffect("100", "cursor_line.png")));
    TKelRandom random(1);
    TGlobalEffects effects;

    effects.ChangeCursorType(archive, 1, &random, 1000);
    ASSERT_TRUE(effects.Cursor());
    EXPECT_EQ(effects.Cursor()->GetSystem(0)->Resource, "cursor_line.png");
    EXPECT_EQ(effects.Cursor()->StartTime, 1000u);
    const TKelParticleEffect* first = effects.Cursor();
    effects.ChangeCursorType(archive, 1, &random, 2000);  // already selected
    EXPECT_EQ(effects.Cursor(), first);
    EXPECT_EQ(effects.Cursor()->StartTime, 1000u);

    effects.Clear();
    effects.ChangeCursorType(archive, 1, &random, 3000);
    ASSERT_TRUE(effects.Cursor());
    EXPECT_EQ(effects.Cursor()->StartTime, 3000u);
}

}  // namespace
