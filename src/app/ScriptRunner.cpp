// Playing a game script.
#include "app/ScriptRunner.h"

#include <algorithm>

#include "app/PlayDump.h"
#include "platform/Paths.h"
#include "ui/KelForm.h"

namespace {

// How long the game may take to close once asked, in milliseconds of its clock.
constexpr uint32_t CloseLimitMs = 10000;

std::string Shown(const std::string& window) {
    return window.empty() ? "no window is shown" : "the top window is " + window;
}

class TScriptRunner {
  public:
    TScriptRunner(IScriptHost& host, const std::string& framesFolder, std::ostream& out)
        : host_(host), engine_(host.Engine()), framesFolder_(framesFolder), out_(out) {}

    // What went wrong; empty when the command did what it says.
    std::string Run(const TScriptCommand& command) {
        if (engine_.Closed()) {
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
                Input(MouseEvent(TEventKind::MouseMove, command.X, command.Y, TMouseButton::mbLeft,
                                 0));
                host_.Pass();
                return "";
            case TScriptOp::Key:
                Input(KeyEvent(TEventKind::KeyDown, command.Key, command.Shift));
                Input(KeyEvent(TEventKind::KeyUp, command.Key, command.Shift));
                host_.Pass();
                return "";
            case TScriptOp::Type:
                for (const uint32_t character : command.Text) {
                    TEvent event;
                    event.Kind = TEventKind::Char;
                    event.Char = character;
                    Input(event);
                }
                host_.Pass();
                return "";
            case TScriptOp::ExpectTop: {
                const std::string top = engine_.TopForm();
                return top == command.Name ? "" : Shown(top);
            }
            case TScriptOp::ExpectState: {
                const TGameState state = engine_.Services().Play.Game.State;
                return state == command.State ? "" : "the state is " + GameStateName(state);
            }
            case TScriptOp::Shot: {
                const std::string path = JoinPath(framesFolder_, command.Name + ".png");
                return host_.SaveFrame(path) ? "" : "cannot write " + path;
            }
            case TScriptOp::Dump:
                out_ << PlayDump(engine_.Services().Play, host_.Now()) << std::flush;
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
        if (engine_.Closed()) return;
        TEvent event;
        event.Kind = TEventKind::Close;
        Input(event);
        const uint32_t start = host_.Now();
        while (!engine_.Closed() && host_.Now() - start < CloseLimitMs) host_.Pass();
    }

  private:
    static TEvent MouseEvent(TEventKind kind, int x, int y, TMouseButton button,
                             TShiftState shift) {
        TEvent event;
        event.Kind = kind;
        event.X = x;
        event.Y = y;
        event.Button = button;
        event.Shift = shift;
        return event;
    }

    static TEvent KeyEvent(TEventKind kind, int key, TShiftState shift) {
        TEvent event;
        event.Kind = kind;
        event.Key = key;
        event.Shift = shift;
        return event;
    }

    // The event goes to the game at once, at the clock of the last pass.
    void Input(const TEvent& event) {
        if (!engine_.Closed()) engine_.Dispatch(event);
    }

    void Wait(uint32_t ms) {
        const uint32_t start = host_.Now();
        while (!engine_.Closed() && host_.Now() - start < ms) host_.Pass();
    }

    std::string WaitTop(const std::string& window, uint32_t ms) {
        const uint32_t start = host_.Now();
        while (engine_.TopForm() != window) {
            if (engine_.Closed()) return "the game has closed";
            if (host_.Now() - start >= ms)
                return Shown(engine_.TopForm()) + " after " + std::to_string(ms) + " ms";
            host_.Pass();
        }
        return "";
    }

    // A press and release with the button's flag in the press's shift state, as the platform
    // reports them, then one pass.
    void Click(int x, int y, TMouseButton button) {
        const TShiftState held = button == TMouseButton::mbLeft ? ssLeft : ssRight;
        Input(MouseEvent(TEventKind::MouseDown, x, y, button, held));
        Input(MouseEvent(TEventKind::MouseUp, x, y, button, 0));
        host_.Pass();
    }

    // "window NAME" for each window on the stack, bottom to top; "popup NAME cell=C,R
    // arrow=X,Y" for a tutorial popup shown, with its arrow's tip as last drawn; then "end".
    std::string WindowsReport() {
        std::string report;
        for (const TKelForm* form : engine_.Services().Interface.ModalStack())
            report += "window " + form->Name() + "\n";
        if (const auto popup = engine_.ShownTutorialPopup())
            report += "popup " + popup->Name + " cell=" + std::to_string(popup->Cell.Col) + "," +
                      std::to_string(popup->Cell.Row) +
                      " arrow=" + std::to_string(popup->ArrowTip.X) + "," +
                      std::to_string(popup->ArrowTip.Y) + "\n";
        return report + "end\n";
    }

    std::string Press(const std::string& name) {
        TKelInterfaceEngine& ui = engine_.Services().Interface;
        auto* object = dynamic_cast<TKelInterfaceObject*>(ui.FindObject(name));
        if (!object) return "there is no interface object " + name;
        // Its window, the outermost form it lies on, must be on the window stack; the object and
        // every object between it and its window must be visible.
        TKelForm* window = nullptr;
        for (TKelObject* link = object; link; link = link->Parent)
            if (auto* form = dynamic_cast<TKelForm*>(link)) window = form;
        if (!window) return name + " lies on no window";
        const auto& stack = ui.ModalStack();
        if (std::find(stack.begin(), stack.end(), window) == stack.end())
            return (window == object ? name : "its window " + window->Name()) + " is not shown; " +
                   Shown(engine_.TopForm());
        for (TKelObject* link = object; link != window; link = link->Parent) {
            auto* shown = dynamic_cast<TKelInterfaceObject*>(link);
            if (shown && !shown->Visible())
                return link == object ? name + " is hidden"
                                      : "its parent " + link->Name() + " is hidden";
        }
        Click(object->AbsLeft() + object->Width() / 2, object->AbsTop() + object->Height() / 2,
              TMouseButton::mbLeft);
        return "";
    }

    IScriptHost& host_;
    TKelGameEngine& engine_;
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
    if (!host.Engine().Closed()) {
        err << "the game did not close within " << CloseLimitMs / 1000 << " s\n";
        return ScriptGameFailed;
    }
    return code;
}
