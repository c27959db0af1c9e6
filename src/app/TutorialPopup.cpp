#include "app/TutorialPopup.h"

#include "app/TutorialArrow.h"
#include "ui/KelInterfaceObject.h"

std::optional<TShownTutorialPopup> ShownTutorialPopup(const TLevel& level,
                                                      const TKelInterfaceEngine& ui, uint32_t now) {
    const std::vector<TPopupWindow>& popups = level.PopupWindows;
    if (popups.empty() || !ui.Shown(popups.back().Name)) return std::nullopt;
    const TPopupWindow& popup = popups.back();
    const auto* window = dynamic_cast<const TKelInterfaceObject*>(ui.FindObject(popup.Name));
    if (!window) return std::nullopt;
    const TCell cell{popup.Col, popup.Row};
    // The layout that placed the popup says where its arrow points.
    const bool up = LayOutTutorialPopup(cell, window->Width(), window->Height()).ArrowUp;
    return TShownTutorialPopup{popup.Name, cell, up, TutorialArrowTip(cell, up, now)};
}
