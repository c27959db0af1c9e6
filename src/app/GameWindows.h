// TGameWindows: the game's windows: the interface engine set up with the game as its host, the
// description "Tervolin.li" loaded from the archive, its pictures loaded with the start-up
// pictures, the loading screen shown while they load, the extra title buttons of "AddLogo.xml",
// and the reading and writing of the windows' widgets (a missing object reads as empty or 0).
// Relies on the game's services.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/GameServices.h"
#include "core/KelParser.h"
#include "ui/KelGrid.h"

class TGameWindows {
  public:
    explicit TGameWindows(TGameServices& services) : s_(services) {}

    void SetUpInterface(IKelGraphic* host);
    void LoadInterface();
    void ShowGameLoading();
    void LoadInterfacePictures();
    void ResetWindows();
    void LoadAdditionalButtons(const std::string& fileName);
    // The links of the extra title buttons, by the index of their element in "AddLogo.xml".
    const std::vector<std::string>& LogoLinks() const { return logoLinks_; }
    void OpenLogoLink();

    // The name of the interface window on top of the window stack; empty when no window is
    // shown.
    std::string TopForm() const;
    // Empties the window stack and shows the named window alone.
    void SetTopForm(const std::string& name);
    void SetCaption(const std::string& object, const std::string& text);
    std::string CaptionOf(const std::string& object) const;
    int32_t NumberProperty(const std::string& object, const std::string& property) const;
    bool Checked(const std::string& object) const;
    void FocusObject(const std::string& formName, const std::string& objectName);
    TKelGrid* Grid(const std::string& name) const;

  private:
    bool LoadLoosePicture(const std::string& fileName);
    std::string LogoUrl(const TKelXMLTag& logo) const;
    void AddLogoButton(const TKelXMLTag& logo, int index);

    TGameServices& s_;
    std::vector<std::string> logoLinks_;
};
