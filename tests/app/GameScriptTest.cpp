// Game scripts: every command's good forms, bad lines with their numbers and reasons.
#include "app/GameScript.h"

#include <gtest/gtest.h>

#include "rules/Board.h"

namespace {

TScriptCommand Command(TScriptOp op) {
    TScriptCommand command;
    command.Op = op;
    return command;
}

TScriptCommand At(TScriptOp op, int x, int y) {
    TScriptCommand command = Command(op);
    command.X = x;
    command.Y = y;
    return command;
}

TScriptCommand Named(TScriptOp op, const std::string& name, uint32_t ms = 0) {
    TScriptCommand command = Command(op);
    command.Name = name;
    command.Ms = ms;
    return command;
}

TScriptCommand Key(int key, TShiftState shift = 0) {
    TScriptCommand command = Command(TScriptOp::Key);
    command.Key = key;
    command.Shift = shift;
    return command;
}

TScriptCommand Type(std::vector<uint32_t> text) {
    TScriptCommand command = Command(TScriptOp::Type);
    command.Text = std::move(text);
    return command;
}

TScriptCommand State(const std::string& name, TGameState state) {
    TScriptCommand command = Named(TScriptOp::ExpectState, name);
    command.State = state;
    return command;
}

TEST(GameScriptTest, ReadsEveryCommandsGoodForms) {
    const TPoint cell = CellCentre(4, 3);
    const struct {
        std::string Line;
        TScriptCommand Expected;
    } cases[] = {
        {"wait 250", Named(TScriptOp::Wait, "", 250)},
        {"wait 2147483647", Named(TScriptOp::Wait, "", 2147483647)},
        {"wait-top WTitle 2000", Named(TScriptOp::WaitTop, "WTitle", 2000)},
        {"wait-top none 0", Named(TScriptOp::WaitTop, "", 0)},
        {"press WYourName_BOk", Named(TScriptOp::Press, "WYourName_BOk")},
        {"click 0 0", At(TScriptOp::Click, 0, 0)},
        {"click 799 599", At(TScriptOp::Click, 799, 599)},
        {"rclick 10 20", At(TScriptOp::RightClick, 10, 20)},
        {"move 400 300", At(TScriptOp::Move, 400, 300)},
        {"cell 4 3", At(TScriptOp::Click, cell.X, cell.Y)},
        {"key Space", Key(vk::Space)},
        {"key Escape", Key(vk::Escape)},
        {"key Backspace", Key(vk::Back)},
        {"key Tab", Key(vk::Tab)},
        {"key F1", Key(112)},
        {"key F12", Key(123)},
        {"key Alt+Return", Key(vk::Return, ssAlt)},
        {"type Anna Lee", Type({'A', 'n', 'n', 'a', ' ', 'L', 'e', 'e'})},
        {"type  #1 ", Type({' ', '#', '1', ' '})},
        {"type Zo\xC3\xAB\xE2\x86\x92\xF0\x9F\x90\x9F", Type({'Z', 'o', 0xEB, 0x2192, 0x1F41F})},
        {"expect-top WGameMenu", Named(TScriptOp::ExpectTop, "WGameMenu")},
        {"expect-top none", Named(TScriptOp::ExpectTop, "")},
        {"expect-state gsGame", State("gsGame", gsGame)},
        {"expect-state gsBetweenLevels", State("gsBetweenLevels", gsBetweenLevels)},
        {"expect-state gsInstructions", State("gsInstructions", gsInstructions)},
        {"shot title-1_a.b", Named(TScriptOp::Shot, "title-1_a.b")},
        {"dump", Command(TScriptOp::Dump)},
        {"quit", Command(TScriptOp::Quit)},
        // Blanks around and between the words, and a CR LF line end.
        {"  \tmove   5\t6 \r", At(TScriptOp::Move, 5, 6)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line);
        const TGameScript script = ParseGameScript(c.Line + "\n", true);
        ASSERT_EQ(script.ErrorLine, 0) << script.Error;
        ASSERT_EQ(script.Commands.size(), 1u);
        const TScriptCommand& got = script.Commands[0];
        const TScriptCommand& want = c.Expected;
        EXPECT_EQ(got.Op, want.Op);
        EXPECT_EQ(got.Line, 1);
        EXPECT_EQ(got.Name, want.Name);
        EXPECT_EQ(got.Ms, want.Ms);
        EXPECT_EQ(got.X, want.X);
        EXPECT_EQ(got.Y, want.Y);
        EXPECT_EQ(got.Key, want.Key);
        EXPECT_EQ(got.Shift, want.Shift);
        EXPECT_EQ(got.Text, want.Text);
        EXPECT_EQ(got.State, want.State);
    }
}

TEST(GameScriptTest, RefusesBadLinesWithTheReason) {
    const struct {
        std::string Line, Reason;
    } cases[] = {
        {"jump 3 3", "unknown command 'jump'"},
        {"Wait 5", "unknown command 'Wait'"},
        {"wait", "expected: wait MS"},
        {"wait 1 2", "expected: wait MS"},
        {"wait -5", "bad number '-5'"},
        {"wait +5", "bad number '+5'"},
        {"wait 1e3", "bad number '1e3'"},
        {"wait 0x10", "bad number '0x10'"},
        {"wait 2147483648", "bad number '2147483648'"},
        {"wait 99999999999999999999", "bad number '99999999999999999999'"},
        {"wait-top WTitle", "expected: wait-top WINDOW MS"},
        {"press", "expected: press OBJECT"},
        {"press A B", "expected: press OBJECT"},
        {"click 800 0", "(800, 0) is off the 800x600 frame"},
        {"rclick 0 600", "(0, 600) is off the 800x600 frame"},
        {"move -1 5", "(-1, 5) is off the 800x600 frame"},
        {"move 10", "expected: move X Y"},
        {"click 1.5 2", "bad number '1.5'"},
        {"cell 0 4", "cell (0, 4) is off the board"},
        {"cell 4 99", "cell (4, 99) is off the board"},
        {"key F13", "unknown key 'F13'"},
        {"key escape", "unknown key 'escape'"},
        {"key Alt+Escape", "unknown key 'Alt+Escape'"},
        {"key", "expected: key NAME"},
        {"type", "expected: type TEXT"},
        {"type ", "expected: type TEXT"},
        {"type\tab", "expected: type TEXT"},
        {"type \xFF", "the text is not UTF-8"},
        {"type a\xC0\xAF", "the text is not UTF-8"},         // overlong '/'
        {"type \xED\xA0\x80", "the text is not UTF-8"},      // a surrogate
        {"type \xE2\x82", "the text is not UTF-8"},          // cut short
        {"type \xF4\x90\x80\x80", "the text is not UTF-8"},  // past U+10FFFF
        {"expect-top", "expected: expect-top WINDOW"},
        {"expect-state gsPlaying", "unknown state 'gsPlaying'"},
        {"expect-state 1", "unknown state '1'"},
        {"shot ../up", "bad frame name '../up'"},
        {"shot a/b", "bad frame name 'a/b'"},
        {"shot .hidden", "bad frame name '.hidden'"},
        {"dump now", "expected: dump"},
        {"quit now", "expected: quit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line);
        const TGameScript script = ParseGameScript("wait 1\n" + c.Line + "\nwait 1\n", true);
        EXPECT_EQ(script.ErrorLine, 2);
        EXPECT_EQ(script.Error, c.Reason);
        EXPECT_TRUE(script.Commands.empty());
    }
}

TEST(GameScriptTest, NumbersLinesCountingCommentsAndBlankLines) {
    const std::string text = "# start\n\nwait 10\r\n   # indented comment\n\t\nkey Space\ndump";
    const TGameScript script = ParseGameScript(text, false);
    ASSERT_EQ(script.ErrorLine, 0) << script.Error;
    ASSERT_EQ(script.Commands.size(), 3u);
    EXPECT_EQ(script.Commands[0].Line, 3);
    EXPECT_EQ(script.Commands[1].Line, 6);
    EXPECT_EQ(script.Commands[2].Line, 7);
    EXPECT_EQ(script.Commands[1].Source, "key Space");

    const TGameScript bad = ParseGameScript(text + "\n# fine\nbogus\n", false);
    EXPECT_EQ(bad.ErrorLine, 9);
}

TEST(GameScriptTest, AShotNeedsAFramesFolderAndNothingFollowsQuit) {
    const TGameScript shot = ParseGameScript("wait 5\nshot title\n", false);
    EXPECT_EQ(shot.ErrorLine, 2);
    EXPECT_EQ(shot.Error, "shot needs --frames DIR");

    const TGameScript afterQuit = ParseGameScript("quit\n# a comment may follow\n\nwait 5\n", true);
    EXPECT_EQ(afterQuit.ErrorLine, 4);
    EXPECT_EQ(afterQuit.Error, "nothing may follow quit");

    EXPECT_EQ(ParseGameScript("", false).Commands.size(), 0u);
    EXPECT_EQ(ParseGameScript("", false).ErrorLine, 0);
}

}  // namespace
