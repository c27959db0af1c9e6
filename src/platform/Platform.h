// The services the engine takes from the operating system: a display, an input event source,
// an audio device and system services (clock, dialogs, clipboard, registry values, machine
// description). The game reaches them only through these interfaces, bundled as a Platform;
// SdlPlatform implements them on SDL2 and HeadlessPlatform in memory for tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Geometry.h"

// The layout of one pixel of the frame: bit count and colour masks.
struct TPixelFormat {
    int BitCount = 32;
    uint32_t RMask = 0x00FF0000, GMask = 0x0000FF00, BMask = 0x000000FF;
    bool operator==(const TPixelFormat&) const = default;
};

class IDisplay {
  public:
    virtual ~IDisplay() = default;
    // Creates the main window, or changes its style: a bordered 800x600 window at (x, y), or
    // desktop full screen; a negative position centres the window. The window stays until the
    // display object is destroyed.
    virtual void ShowWindow(bool fullScreen, int x, int y) = 0;
    // Opens the 800x600 display in a window or in full screen with 32-bit or 16-bit (565)
    // pixels. Returns false when that mode cannot be set; the display is then closed.
    virtual bool Open(bool fullScreen, int bitCount) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual bool IsFullScreen() const = 0;
    virtual TPixelFormat PixelFormat() const = 0;
    // Shows the listed rectangles (edges inclusive) of the frame (800x600 pixels of the open
    // format, rows `pitch` bytes apart); the parts of a rectangle outside the screen are ignored.
    // Nothing is uploaded or presented when the list is empty.
    virtual void Present(const uint8_t* frame, int pitch, const std::vector<TRect>& rects) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void ShowCursor(bool visible) = 0;
    // A small window of its own, centred on the screen, for work done before the main window
    // exists: shows `pixels` (rows of `width` 32-bit XRGB pixels, `height` rows) under the title
    // and lets the system handle pending window events. The first call opens it.
    virtual void ShowProgress(const std::string& title, const uint32_t* pixels, int width,
                              int height) = 0;
    virtual void HideProgress() = 0;
};

// Shift state of input events, a set of these bits.
enum TShiftFlag : uint32_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = uint32_t;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum class TEventKind {
    MouseDown,
    MouseUp,
    MouseMove,
    MouseWheel,
    KeyDown,
    KeyUp,
    Char,        // a typed character (Char), control characters included
    Activate,    // the window gained the input focus
    Deactivate,  // the window lost the input focus
    Message,     // a private message posted with PostMessage (Message)
    Close,       // the user or the system asked the program to close
};

struct TEvent {
    TEventKind Kind = TEventKind::MouseMove;
    int X = 0, Y = 0;  // mouse position in frame coordinates
    TMouseButton Button = TMouseButton::mbLeft;
    TShiftState Shift = 0;
    int WheelDelta = 0;  // multiples of 120, positive away from the user
    int Key = 0;         // virtual-key number for KeyDown/KeyUp
    uint32_t Char = 0;   // character code for Char
    int Message = 0;     // message number for Message
};

// Virtual-key numbers the game uses.
namespace vk {
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19,
              Escape = 27, Space = 32, PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37,
              Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46, F1 = 112, F9 = 120;
}  // namespace vk

class IEvents {
  public:
    virtual ~IEvents() = default;
    // Takes the next waiting event; false when none waits.
    virtual bool Poll(TEvent& event) = 0;
    // Queues a private message to the program itself; it arrives as a Message event.
    virtual void PostMessage(int message) = 0;
};

// Audio device and sound calls. Handles are 32-bit, 0 means failure. Volumes are 0..100, -1
// keeps the current one. Bytes handed to the load calls are copied.
class IAudio {
  public:
    virtual ~IAudio() = default;
    virtual uint32_t GetVersion() = 0;
    virtual bool Init(int frequency) = 0;  // true when output started
    virtual void Free() = 0;
    virtual void Start() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void SetGlobalVolumes(int music, int sample, int stream) = 0;
    // A sample from WAV or Ogg bytes; at most maxPlaybacks at once, a further playback replaces
    // the one that has played longest.
    virtual uint32_t SampleLoad(const uint8_t* data, size_t size, int maxPlaybacks) = 0;
    virtual void SampleFree(uint32_t sample) = 0;
    virtual uint32_t SamplePlay(uint32_t sample, int volume) = 0;
    virtual void SampleStop(uint32_t sample) = 0;
    // A tracker module that loops once started.
    virtual uint32_t MusicLoad(const uint8_t* data, size_t size) = 0;
    virtual void MusicFree(uint32_t music) = 0;
    virtual bool MusicPlay(uint32_t music, int order) = 0;
    virtual void ChannelSetVolume(uint32_t channel, int volume) = 0;
    virtual void ChannelSlideVolume(uint32_t channel, int volume, uint32_t milliseconds) = 0;
    virtual void ChannelStop(uint32_t channel) = 0;
};

struct TMachineInfo {
    std::string OsVersion;  // one line: the distribution's name and the kernel version
    std::string Processor;  // the processor's brand string
    uint64_t TotalMemoryMb = 0;
};

class ISystem {
  public:
    virtual ~ISystem() = default;
    // Milliseconds: a fixed base of 10,000,000 plus the time since start.
    virtual uint32_t Ticks() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // The seed of the game's random source: new on every run of the real game, set by the
    // headless one so that a run replays.
    virtual uint64_t RandomSeed() = 0;
    // A modal error box; when it cannot be shown the text is only returned as false.
    virtual bool MessageBox(const std::string& caption, const std::string& text) = 0;
    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Opens a link or file with the desktop's handler; true when the handler was started.
    virtual bool OpenLink(const std::string& link) = 0;
    // Named text values kept across runs ("" when missing).
    virtual std::string RegistryValue(const std::string& key, const std::string& name) = 0;
    virtual bool SetRegistryValue(const std::string& key, const std::string& name,
                                  const std::string& value) = 0;
    // Free space in MB of the file system holding `path`; -1 when it cannot be queried.
    virtual int64_t FreeDiskMb(const std::string& path) = 0;
    virtual TMachineInfo MachineInfo() = 0;
};

struct Platform {
    IDisplay& Display;
    IEvents& Events;
    IAudio& Audio;
    ISystem& System;
};
