// The language files and the language window's buttons.
#include "app/LanguageButtons.h"

#include <algorithm>
#include <charconv>

#include "core/TextCase.h"
#include "ui/KelCheckBox.h"
#include "ui/KelForm.h"

namespace {

// The digits between the first "_" and the first "." after it, as a leading integer; 0 when the
// name has no such part.
int OrderNumber(const std::string& name) {
    const size_t underscore = name.find('_');
    if (underscore == std::string::npos) return 0;
    const size_t dot = name.find('.', underscore + 1);
    const std::string part = name.substr(
        underscore + 1, dot == std::string::npos ? std::string::npos : dot - underscore - 1);
    int number = 0;
    std::from_chars(part.data(), part.data() + part.size(), number);
    return number;
}

}  // namespace

bool IsLanguageFile(const std::string& name) {
    const std::string lower = LowerCase(name);
    return lower.size() >= 3 && lower.compare(lower.size() - 3, 3, "lng") == 0;
}

std::vector<std::string> AddLanguageButtons(TKelInterfaceEngine& ui,
                                            const std::vector<std::string>& languageFiles) {
    struct TCode {
        std::string Code;
        int Order;
    };
    std::vector<TCode> codes;
    for (const std::string& file : languageFiles) {
        const std::string lower = LowerCase(file);
        if (lower.find("scn") == std::string::npos)
            codes.push_back({lower.substr(0, 3), OrderNumber(file)});
    }
    std::vector<std::string> added;
    const auto* model = dynamic_cast<const TKelRadioButton*>(ui.FindObject("WLanguage_RBENU"));
    auto* window = dynamic_cast<TKelForm*>(ui.FindObject("WLanguage"));
    if (!model || !window) return added;
    int i = 1;
    while (!codes.empty()) {
        const auto first = std::min_element(codes.begin(), codes.end(),
                                            [](auto& a, auto& b) { return a.Order < b.Order; });
        const std::string code = first->Code;
        codes.erase(first);
        const std::string name = "WLanguage_RB" + UpperCase(code);
        if (code == "enu" || ui.FindObject(name)) continue;
        if (ui.CreateObject(name, "WLanguage", "TKelRadioButton") < 0) continue;
        auto* button = dynamic_cast<TKelRadioButton*>(ui.FindObject(name));
        if (!button) continue;
        button->Assign(*model);
        button->SetChecked(false);
        button->ResolveParent();
        if (i <= 5) {
            button->SetTop(model->Top() + i * 24);
        } else {
            button->SetTop(model->Top() + i * 24 - 144);
            button->SetLeft(model->Left() + 200);
        }
        ++i;
        added.push_back(name);
    }
    window->CollectChildren();
    window->BuildFocusList();
    return added;
}
