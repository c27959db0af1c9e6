// The manifest of names shared by code and content: the running game registers exactly the
// published handlers, the names the code plays are in the shipped archive, and the lists are
// consistent among themselves.
#include "app/GameManifest.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/HeadlessGame.h"
#include "resources/FileFolder.h"
#include "support/TempFolder.h"

namespace {

TEST(GameManifestTest, ListsHoldEachNameOnceAndWidgetsLieOnListedWindows) {
    std::set<std::string> windows;
    for (const char* name : GameWindows()) EXPECT_TRUE(windows.insert(name).second) << name;
    std::set<std::string> widgets;
    for (const TManifestWidget& widget : GameWidgets()) {
        const std::string name = widget.Name;
        EXPECT_TRUE(widgets.insert(name).second) << name;
        EXPECT_TRUE(windows.count(name.substr(0, name.find('_')))) << name;
    }
    std::set<std::string> handlers;
    for (const char* name : PublishedHandlers()) {
        EXPECT_TRUE(handlers.insert(name).second) << name;
        EXPECT_TRUE(IsPublishedHandler(name)) << name;
    }
    for (const char* name : {"", "WNoSuchWindow_BOk_MouseUp", "wtitle_bstartgame_mouseup",
                             "WTitle_BStartGame_MouseUp "})
        EXPECT_FALSE(IsPublishedHandler(name)) << name;
}

#ifdef TERVOLIN_GAME_FOLDER
// Registering a handler the manifest does not publish stops start-up, so a game that started
// registered only published handlers; and every published one is registered.
TEST(GameManifestTest, TheGameRegistersExactlyThePublishedHandlers) {
    TempFolder user;
    THeadlessGame game({TERVOLIN_GAME_FOLDER, user.Path().string(), 1, 10});
    game.Start();
    ASSERT_FALSE(game.Snapshot().Closed);
    EXPECT_TRUE(game.System().MessageBoxes.empty());
    for (const char* name : PublishedHandlers())
        EXPECT_TRUE(game.Engine().Services().Handlers.Has(name)) << name;
    EXPECT_FALSE(game.Engine().ExecMethod("WNoSuchWindow_BOk_MouseUp"));
}

TEST(GameManifestTest, TheEffectsAndMusicTheCodeNamesAreInTheShippedArchive) {
    TFileFolder archive = TFileFolder::Open(std::string(TERVOLIN_GAME_FOLDER) + "/game.zxc");
    ASSERT_EQ(archive.LastError(), "");
    for (const char* name : CodeEffectFiles()) EXPECT_GE(archive.IndexOfFile(name), 0) << name;
    for (const char* name : CodeMusic()) EXPECT_GE(archive.IndexOfFile(name), 0) << name;
}
#endif

}  // namespace
