// Game scripts played on the headless driver: the clock the commands take, failures with what
// was found, and the game closed in order whatever happened.
#include "app/ScriptRunner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/ScriptHosts.h"
#include "platform/EventFactory.h"
#include "support/HeadlessGame.h"

namespace {

class ScriptRunnerTest : public HeadlessGameTest {
  protected:
    ScriptRunnerTest() {
        WriteArchive({{"Sounds.xml", "<Sounds/>"}});
        host = std::make_unique<THeadlessScriptHost>(
            THeadlessConfig{data.Path().string(), user.Path().string(), 1, 10});
    }

    int Run(const std::string& text) {
        const TGameScript script = ParseGameScript(text, true);
        EXPECT_EQ(script.ErrorLine, 0) << script.Error;
        return RunGameScript(script, *host, frames.Path().string(), out, err);
    }

    // The clock of each dump, from its first line "t=...".
    std::vector<long> DumpClocks() const {
        std::vector<long> clocks;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("t=", 0) == 0) clocks.push_back(std::stol(line.substr(2)));
        return clocks;
    }

    TempFolder frames;
    std::unique_ptr<THeadlessScriptHost> host;
    std::ostringstream out, err;
};

TEST_F(ScriptRunnerTest, WaitsTakeTheirTimeAndEachInputCommandOnePass) {
    ASSERT_FALSE(host->Snapshot().Closed);
    EXPECT_EQ(Run("dump\nwait 250\ndump\nkey Space\nmove 5 5\nclick 5 5\ntype ab\ndump\n"
                  "wait 0\ndump\nshot frame\n"),
              ScriptRan);
    const std::vector<long> clocks = DumpClocks();
    ASSERT_EQ(clocks.size(), 4u);
    EXPECT_EQ(clocks[1] - clocks[0], 250);
    EXPECT_EQ(clocks[2] - clocks[1], 4 * 10);
    EXPECT_EQ(clocks[3], clocks[2]);
    EXPECT_TRUE(std::filesystem::is_regular_file(frames.File("frame.png")));
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(host->Snapshot().Closed);  // closed at the script's end
}

TEST_F(ScriptRunnerTest, AFailureStopsTheScriptWithWhatWasFound) {
    const struct {
        std::string Script, Error;
    } cases[] = {
        {"expect-top WTitle\ndump\n", "line 1: expect-top WTitle: no window is shown\n"},
        {"wait 10\nexpect-state gsGame\ndump\n",
         "line 2: expect-state gsGame: the state is gsMenu\n"},
        {"wait-top WTitle 100\ndump\n",
         "line 1: wait-top WTitle 100: no window is shown after 100 ms\n"},
        {"press WTitle_BStartGame\ndump\n",
         "line 1: press WTitle_BStartGame: there is no interface object WTitle_BStartGame\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Script);
        host.reset();  // one game object at a time: each sets the log's error sink
        host = std::make_unique<THeadlessScriptHost>(
            THeadlessConfig{data.Path().string(), user.Path().string(), 1, 10});
        out.str("");
        err.str("");
        const uint32_t start = host->Now();
        EXPECT_EQ(Run(c.Script), ScriptFailed);
        EXPECT_EQ(err.str(), c.Error);
        EXPECT_EQ(out.str(), "");  // nothing after the failure ran
        EXPECT_TRUE(host->Snapshot().Closed);
        EXPECT_GE(host->Now() - start, c.Script.rfind("wait-top", 0) == 0 ? 100u : 0u);
    }
}

// Two windows: WA with a button that opens WB, a hidden button and a button on a hidden panel.
const char* const TwoWindows = R"(<KelInterface Version="1.0">
<o c="TKelForm"><p n="Name">WA</p><p n="ParentName">Screen</p><p n="Left">0</p><p n="Top">0</p><p n="Width">400</p><p n="Height">300</p></o>
<o c="TKelLabel"><p n="Name">WA_BGo</p><p n="ParentName">WA</p><p n="Left">100</p><p n="Top">200</p><p n="Width">60</p><p n="Height">20</p><p n="Visible">True</p><p n="OnMouseUp">ShowModal Form="WB";</p></o>
<o c="TKelLabel"><p n="Name">WA_BHidden</p><p n="ParentName">WA</p><p n="Left">10</p><p n="Top">10</p><p n="Width">60</p><p n="Height">20</p><p n="Visible">False</p></o>
<o c="TKelForm"><p n="Name">WA_Panel</p><p n="ParentName">WA</p><p n="Left">200</p><p n="Top">0</p><p n="Width">100</p><p n="Height">100</p><p n="Visible">False</p></o>
<o c="TKelLabel"><p n="Name">WA_Panel_BIn</p><p n="ParentName">WA_Panel</p><p n="Left">10</p><p n="Top">10</p><p n="Width">60</p><p n="Height">20</p><p n="Visible">True</p></o>
<o c="TKelForm"><p n="Name">WB</p><p n="ParentName">Screen</p><p n="Left">400</p><p n="Top">300</p><p n="Width">400</p><p n="Height">300</p></o>
<o c="TKelLabel"><p n="Name">WB_BBack</p><p n="ParentName">WB</p><p n="Left">10</p><p n="Top">10</p><p n="Width">60</p><p n="Height">20</p><p n="Visible">True</p></o>
</KelInterface>)";

TEST_F(ScriptRunnerTest, PressesOnlyWhatIsShownAtItsCentre) {
    const struct {
        std::string Object, Error;
    } cases[] = {
        {"WA_BHidden", "WA_BHidden is hidden"},
        {"WA_Panel_BIn", "its parent WA_Panel is hidden"},
        {"WB_BBack", "its window WB is not shown; the top window is WA"},
        {"WA_BGo", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Object);
        host.reset();
        host = std::make_unique<THeadlessScriptHost>(
            THeadlessConfig{data.Path().string(), user.Path().string(), 1, 10});
        TKelInterfaceEngine& ui = host->Game().Engine().Services().Interface;
        ui.LoadFromString(TwoWindows);
        ASSERT_EQ(ui.LoadError(), "");
        ui.HideModalList();
        ui.ShowModal("WA");
        err.str("");
        // A press that happens opens WB.
        const bool pressed = c.Error.empty();
        EXPECT_EQ(Run("press " + c.Object + "\nexpect-top WB\n"),
                  pressed ? ScriptRan : ScriptFailed);
        EXPECT_EQ(err.str(), pressed ? "" : "line 1: press " + c.Object + ": " + c.Error + "\n");
    }
}

TEST_F(ScriptRunnerTest, OnceTheGameHasClosedOnlyWaitAndQuitSucceed) {
    host->Send(CloseEvent());
    host->Pass();
    ASSERT_TRUE(host->Snapshot().Closed);
    EXPECT_EQ(Run("wait 100\nquit\n"), ScriptRan);
    EXPECT_EQ(Run("wait 100\ndump\n"), ScriptFailed);
    EXPECT_EQ(err.str(), "line 2: dump: the game has closed\n");
}

}  // namespace
