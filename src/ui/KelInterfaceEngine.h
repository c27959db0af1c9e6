// TKelInterfaceEngine: the owner of the interface objects. It loads interface descriptions and
// language files (whose changes it can undo), keeps the stack of shown forms, hands input to the
// top form, runs the scripts the widgets queue (playing sounds, showing and hiding forms, calling
// the host's handlers by name, setting properties), draws the shown forms through the host and
// collects the screen areas that changed. Relies on the object framework (KelBaseClasses), the
// XML parser (KelParser), the forms (KelForm) and the host (KelInterface).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/KelBaseClasses.h"
#include "core/KelParser.h"
#include "core/MemoryStream.h"
#include "core/SFunctions.h"
#include "ui/KelForm.h"
#include "ui/KelInterface.h"

class TKelFontEngine;

// The engine's State while the properties of a description are applied.
inline const std::string ReadingState = "osReadingState";

// The frame drawn around the stop holding the keys' focus, its outer edge FocusFrameMargin pixels
// outside the object: a 2-pixel bright gold ring between dark lines (colours 0xBBGGRR).
constexpr int FocusFrameMargin = 5;
constexpr uint32_t FocusFrameBright = 0x60D8FF, FocusFrameDark = 0x10243A;

class TKelInterfaceEngine : public TKelEngine {
  public:
    TKelInterfaceEngine();
    ~TKelInterfaceEngine() override;

    IKelGraphic* Host = nullptr;           // not owned; set by the game
    TKelFontEngine* FontEngine = nullptr;  // not owned; set by the game
    IKelClipboard* Clipboard = nullptr;    // not owned; none leaves copying and pasting idle
    std::string State;
    // The clock the animations run on, in milliseconds.
    std::function<uint32_t()> Clock;

    // The handlers scripts call with "ExecMethod Method=...;", by name.
    void RegisterHandler(const std::string& name, std::function<void()> handler);

    // Reads a description and creates, attaches and configures its objects. A structural fault
    // ends the creation of objects (LoadError tells which); what was created stays usable.
    void LoadFromString(const std::string& bytes);
    // The same from the rest of the stream (a file of the resource archive).
    void LoadFromStream(TMemoryStream& stream);
    // Reads a language file and applies its properties, recording the values they replace.
    // A property that does not exist raises TKelCoreError and ends the pass.
    void LoadFromFile(const std::string& fileName);
    void LoadLanguageFromString(const std::string& bytes);
    // Sets every property a language file changed back to its value from before the first one.
    void RestoreProperties();
    const std::string& LoadError() const { return loadError_; }
    std::string GetInfo() const;
    void UpdateScreenSize();
    // The pictures of all forms, one per line, each once.
    std::string GetAllPictures() const;

    void ShowModal(const std::string& formName);
    // Closes the forms above the named one and the named one; nothing when it is not shown.
    void HideModal(const std::string& formName);
    void HideTopModal();
    void HideModalList();
    void ChangeModal(const std::string& hideForm, const std::string& showForm);
    void ChangeModal(const std::string& showForm);
    TKelForm* TopForm() const { return modalStack_.empty() ? nullptr : modalStack_.back(); }
    const std::vector<TKelForm*>& ModalStack() const { return modalStack_; }
    // Whether the form of that name is on the stack.
    bool Shown(const std::string& formName) const;

    // Input for the top form; the scripts queued by it run afterwards. Errors of "SetProp"
    // commands reach the caller. KeyDown tells whether the form took the key (a stop used it or
    // the focus moved).
    bool KeyDown(int key, TShiftState shift);
    void KeyPress(char32_t key);
    void KeyUp(int key, TShiftState shift);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void MouseWheel(TShiftState shift, int delta, TPoint position, bool& handled);
    // Presses the shown button (or check box) of that name as Return does; false when there is
    // no such object or it is hidden.
    bool Press(const std::string& objectName);

    // Keyboard navigation: on once Tab or an arrow moved the focus, off at the next use of the
    // mouse, which takes the focus marks away. While it is on, every window shown or uncovered
    // has a stop holding the focus.
    bool KeyNavigation() const { return keyNavigation_; }
    void SetKeyNavigation(bool on);

    // Queues the script's commands (each ended by ";", outside double quotes) for the sender.
    void QueueScript(const std::string& senderName, const std::string& script);
    // Runs every queued command in order, then empties the queue, also of the scripts queued
    // meanwhile and when a command fails, so no stale script waits for the next input.
    void RunScripts();
    void ClearScriptQueue() { scriptQueue_.ClearTags(); }
    // Takes the scripts that the named object queued out of the queue without running them (the
    // change events of a widget that the game sets itself).
    void DropScriptsOf(const std::string& senderName);
    const TKelXMLTag& ScriptQueue() const { return scriptQueue_; }
    const TKelXMLTag& ModifiedProperties() const { return modifiedProperties_; }
    // The object that queued the latest script, or none.
    TKelObject* Sender() const { return FindObject(senderName_); }

    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    void RequestBumpPass() { bumpRedrawNeeded_ = true; }
    bool BumpRedrawNeeded() const { return bumpRedrawNeeded_; }
    const TRect& RedrawRect() const { return redrawRect_; }

    void DrawAll();
    void ClearDirty();
    void CollectDirtyRects(TRects& rects) const;
    void CollectAllRects(TRects& rects) const;
    void Tick();

    void DeleteObjectByName(const std::string& name) override;
    void Clear() override;

  private:
    void CreateObjects(const TKelXMLTag& root);
    void ApplyDefaultLine(const TKelXMLTag& root, const std::string& line);
    void ApplyProperties(const TKelXMLTag& root, bool record);
    // Keeps the value a language file replaces, unless one is kept for it already.
    void Record(const std::string& object, const std::string& property, const std::string& value);
    void RunCommand(const TKelXMLTag& command);
    void Report(const std::string& text) const;
    void ReattachAll();
    void DrawFocusFrame(const TKelInterfaceObject& focus);
    std::vector<TKelForm*> Forms() const;
    bool OnStack(const TKelForm* form) const;

    TKelParser parser_;
    TKelXMLTag scriptQueue_{"ScriptQueue"};
    bool scriptsRunning_ = false;  // RunScripts is going through the queue
    TKelXMLTag modifiedProperties_{"ModifiedProperties"};
    std::vector<TKelForm*> modalStack_;
    std::map<std::string, std::function<void()>> handlers_;
    int screenWidth_ = ::ScreenWidth, screenHeight_ = ::ScreenHeight;
    bool bumpRedrawNeeded_ = false;
    bool keyNavigation_ = false;
    TRect redrawRect_{0, 0, -1, -1};
    std::string senderName_;
    std::string infoLine_ = "KelInterface XML file: -";
    std::string loadError_;
};
