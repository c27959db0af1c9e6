// Reading a running game for its drivers.
#include "app/GameSnapshot.h"

#include <algorithm>

#include "app/GameWindows.h"
#include "app/screens/ScreenFlow.h"
#include "ui/KelForm.h"

namespace {

std::string Shown(const std::string& window) {
    return window.empty() ? "no window is shown" : "the top window is " + window;
}

}  // namespace

TGameSnapshot TakeSnapshot(TKelGameEngine& game) {
    TGameSnapshot snapshot;
    snapshot.Closed = game.Closed();
    snapshot.Running = game.IdleInstalled();
    snapshot.ClockPaused = game.Services().Flow->ClockPaused();
    snapshot.Tick = game.Services().Now;
    snapshot.FramesThisSecond = game.Services().FrameRate.FramesThisSecond();
    snapshot.Top = game.TopForm();
    const TKelInterfaceEngine& ui = game.Services().Interface;
    for (const TKelForm* form : ui.ModalStack()) snapshot.Windows.push_back(form->Name());
    for (const auto& object : ui.Objects())
        if (object->GetClass().FindProperty("Caption"))
            snapshot.Captions[object->Name()] =
                ValueToText(ui.GetProperty(object->Name(), "Caption"));
    snapshot.TutorialPopup = game.ShownTutorialPopup();
    snapshot.LogoLinks = game.Services().Windows->LogoLinks();
    snapshot.Play = &game.Services().Play;
    snapshot.FishkaTypes = &game.Services().Types;
    snapshot.Redraw = &game.Services().Redraw;
    return snapshot;
}

std::string FindPressPoint(TKelGameEngine& game, const std::string& name, TPoint& at) {
    TKelInterfaceEngine& ui = game.Services().Interface;
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
               Shown(game.TopForm());
    for (TKelObject* link = object; link != window; link = link->Parent) {
        auto* shown = dynamic_cast<TKelInterfaceObject*>(link);
        if (shown && !shown->Visible())
            return link == object ? name + " is hidden"
                                  : "its parent " + link->Name() + " is hidden";
    }
    at = {object->AbsLeft() + object->Width() / 2, object->AbsTop() + object->Height() / 2};
    return "";
}
