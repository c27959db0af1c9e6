// TOptionsWindow: the options window (full screen, colour depth, hints and the two volumes, heard
// while their sliders move), confirmed or cancelled; and the switch between window and full
// screen, which opens the display again and rebuilds every picture. Relies on the game's
// services.
#pragma once

#include <string>

#include "app/GameServices.h"

class TOptionsWindow {
  public:
    explicit TOptionsWindow(TGameServices& services) : s_(services) {}

    // The window from the stored options (Cancel, and at start-up), the language in force before
    // the window was opened restored.
    void ResetOptionsWindow();
    void ApplyVolumeSlider(bool music);
    void ApplyOptionsWindow();
    void ChangeWindowMode();

  private:
    int SliderPosition(const std::string& slider, int fallback) const;
    void ShowDisplayOptions();
    // Opens the display in the mode of the options and rebuilds every picture; false (the game
    // closing) when no depth can be set.
    bool ReopenDisplay();
    void DoPostChangeWindowMode();

    TGameServices& s_;
};
