// Playing a game script.
#include "app/ScriptRunner.h"

#include <algorithm>

#include "app/PlayDump.h"
#include "platform/EventFactory.h"
#include "platform/Paths.h"

namespace {

// How long the game may take to close once asked, in milliseconds of its clock.
constexpr uint32_t CloseLimitMs = 10000;

std::string Shown(const std::string& window) {
    return window.empty() ? "no window is shown" : "the top window is " + window;
}

class TScriptRunner {
  public:
    TScriptRunner(IScriptHost& host, const std::string& framesFolder, std::ostream& out)
        : host_(host), framesFolder_(framesFolder), out_(out) {}

    // What went wrong; empty when the command did what it says.
    std::string Run(const TScriptCommand& command) {
        if (host_.Snapshot().Closed) {
            const bool nothingToDo = command.Op == TScriptOp::Wait || command.Op == TScriptOp::Quit;
            return nothingToDo ? "" : "the game has closed";
        }
        switch (command.Op) {
            case TScriptOp::Wait:
                Wait(command.Ms);
                return "";
            case TScriptOp::WaitTop:
                return WaitTop(command.Name, command.Ms);
            case TScriptOp::Press:
                return Press(command.Name);
            case TScriptOp::Click:
                Click(command.X, command.Y, TMouseButton::mbLeft);
                return "";
            case TScriptOp::RightClick:
                Click(command.X, command.Y, TMouseButton::mbRight);
                return "";
            case TScriptOp::Move:
                host_.Send(MouseMoveEvent(command.X, command.Y));
                host_.Pass();
                return "";
            case TScriptOp::Key:
                host_.Send(KeyDownEvent(command.Key, command.Shift));
                host_.Send(KeyUpEvent(command.Key, command.Shift));
                host_.Pass();
                return "";
            case TScriptOp::Type:
                for (const uint32_t character : command.Text) host_.Send(CharEvent(character));
                host_.Pass();
                return "";
            case TScriptOp::ExpectTop: {
                const std::string top = host_.Snapshot().Top;
                return top == command.Name ? "" : Shown(top);
            }
            case TScriptOp::ExpectState: {
                const TGameState state = host_.Snapshot().Play->Game.State;
                return state == command.State ? "" : "the state is " + GameStateName(state);
            }
            case TScriptOp::Shot: {
                const std::string path = JoinPath(framesFolder_, command.Name + ".png");
                return host_.SaveFrame(path) ? "" : "cannot write " + path;
            }
            case TScriptOp::Dump:
                out_ << PlayDump(*host_.Snapshot().Play, host_.Now()) << std::flush;
                return "";
            case TScriptOp::Windows:
                out_ << WindowsReport() << std::flush;
                return "";
            case TScriptOp::Quit:
                Close();
                return "";
        }
        return "";
    }

    // Asks the game to close as a desktop asks it and runs passes until it has.
    void Close() {
        if (host_.Snapshot().Closed) return;
        host_.Send(CloseEvent());
        const uint32_t start = host_.Now();
        while (!host_.Snapshot().Closed && host_.Now() - start < CloseLimitMs) host_.Pass();
    }

  private:
    void Wait(uint32_t ms) {
        const uint32_t start = host_.Now();
        while (!host_.Snapshot().Closed && host_.Now() - start < ms) host_.Pass();
    }

    std::string WaitTop(const std::string& window, uint32_t ms) {
        const uint32_t start = host_.Now();
        for (TGameSnapshot shown = host_.Snapshot(); shown.Top != window;
             shown = host_.Snapshot()) {
            if (shown.Closed) return "the game has closed";
            if (host_.Now() - start >= ms)
                return Shown(shown.Top) + " after " + std::to_string(ms) + " ms";
            host_.Pass();
        }
        return "";
    }

    // A press and release with the button's flag in the press's shift state, as the platform
    // reports them, then one pass.
    void Click(int x, int y, TMouseButton button) {
        const TShiftState held = button == TMouseButton::mbLeft ? ssLeft : ssRight;
        host_.Send(MouseDownEvent(x, y, button, held));
        host_.Send(MouseUpEvent(x, y, button));
        host_.Pass();
    }

    // "window NAME" for each window on the stack, bottom to top; "popup NAME cell=C,R
    // arrow=X,Y" for a tutorial popup shown, with its arrow's tip as last drawn; then "end".
    std::string WindowsReport() {
        const TGameSnapshot shown = host_.Snapshot();
        std::string report;
        for (const std::string& window : shown.Windows) report += "window " + window + "\n";
        if (const auto& popup = shown.TutorialPopup)
            report += "popup " + popup->Name + " cell=" + std::to_string(popup->Cell.Col) + "," +
                      std::to_string(popup->Cell.Row) +
                      " arrow=" + std::to_string(popup->ArrowTip.X) + "," +
                      std::to_string(popup->ArrowTip.Y) + "\n";
        return report + "end\n";
    }

    std::string Press(const std::string& name) {
        TPoint at;
        const std::string failure = host_.FindPressPoint(name, at);
        if (failure.empty()) Click(at.X, at.Y, TMouseButton::mbLeft);
        return failure;
    }

    IScriptHost& host_;
    const std::string& framesFolder_;
    std::ostream& out_;
};

}  // namespace

int RunGameScript(const TGameScript& script, IScriptHost& host, const std::string& framesFolder,
                  std::ostream& out, std::ostream& err) {
    TScriptRunner runner(host, framesFolder, out);
    int code = ScriptRan;
    for (const TScriptCommand& command : script.Commands) {
        const std::string failure = runner.Run(command);
        if (failure.empty()) continue;
        err << "line " << command.Line << ": " << command.Source << ": " << failure << "\n";
        code = ScriptFailed;
        break;
    }
    runner.Close();
    if (!host.Snapshot().Closed) {
        err << "the game did not close within " << CloseLimitMs / 1000 << " s\n";
        return ScriptGameFailed;
    }
    return code;
}
