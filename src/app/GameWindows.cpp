#include "app/GameWindows.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

#include "app/screens/ScreenFlow.h"
#include "core/CoreError.h"
#include "core/KelException.h"
#include "core/KelParser.h"
#include "core/TextCase.h"
#include "core/TextLines.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"
#include "platform/Paths.h"
#include "ui/KelLabel.h"
#include "ui/KelProgressBar.h"

namespace fs = std::filesystem;

namespace {

// A plain file name of the game folder: no folders, no way out of it.
bool PlainFileName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name != "." && name != "..";
}

std::string SubtagText(const TKelXMLTag& tag, const std::string& name) {
    const TKelXMLTag* sub = tag.FindTag(name);
    return sub ? sub->Text : std::string();
}

}  // namespace

void TGameWindows::SetUpInterface(IKelGraphic* host) {
    s_.Interface.Host = host;
    s_.Interface.FontEngine = s_.Fonts.get();
    s_.Interface.Clipboard = &s_.Clipboard;
    s_.Interface.Clock = [this] { return s_.Now; };
    s_.Interface.OnError = [this](const std::string& text) { s_.Log.WriteLog(text); };
    s_.Flow->RegisterHandlers();
}

void TGameWindows::LoadInterface() {
    const std::string entry = s_.AppName + ".li";
    if (TMemoryStream* description = s_.Archive->FindFile(entry)) {
        description->SetPosition(0);
        s_.Interface.LoadFromStream(*description);
        if (!s_.Interface.LoadError().empty()) s_.Log.WriteLog(s_.Interface.LoadError());
    }
    // One log line per line of the summary, so every line carries its time.
    for (const std::string& line : NonEmptyLines(s_.Interface.GetInfo())) s_.Log.WriteLog(line);
    s_.Log.WriteLog("Kel Interface Loaded Ok...");
}

void TGameWindows::ShowGameLoading() {
    auto* window = dynamic_cast<TKelForm*>(s_.Interface.FindObject("WGameLoading"));
    auto* bar =
        dynamic_cast<TKelProgressBar*>(s_.Interface.FindObject("WGameLoading_PBGameLoading"));
    if (!window || !bar) {
        s_.Log.WriteLog("The loading window is missing");
        return;
    }
    // Its own pictures come first, so that it shows while the others load.
    s_.Surfaces->LoadPictureList(
        *s_.Archive, NonEmptyLines(s_.Fonts->GetPictureList() + "\n" + window->GetPictures() +
                                   "\n" + bar->GetPictures()));
    s_.Interface.ShowModal("WGameLoading");
    s_.Surfaces->OnProgress = [this, bar](int percent) {
        bar->SetPosition(percent);
        s_.Surfaces->DrawSurface("Background", "MemorySurface", 0, 0, nullptr);
        s_.Interface.DrawAll();
        std::vector<TRect> whole{ScreenRect};
        s_.Surfaces->PresentRects("MemorySurface", whole);
    };
}

void TGameWindows::LoadInterfacePictures() {
    for (const std::string& name : NonEmptyLines(s_.Interface.GetAllPictures()))
        if (s_.Archive->FindFile(name) &&
            std::find(s_.PermanentPictures.begin(), s_.PermanentPictures.end(), name) ==
                s_.PermanentPictures.end())
            s_.PermanentPictures.push_back(name);
    s_.Surfaces->LoadPictureList(*s_.Archive, s_.PermanentPictures);
    s_.Surfaces->OnProgress = nullptr;
    ResetWindows();
}

void TGameWindows::ResetWindows() {
    // The description was read before its pictures were loaded: objects that fit or align to
    // their pictures measure them again.
    for (const auto& object : s_.Interface.Objects())
        if (auto* form = dynamic_cast<TKelForm*>(object.get()); form && !form->Parent)
            form->UpdateLayout();
}

bool TGameWindows::LoadLoosePicture(const std::string& fileName) {
    if (!PlainFileName(fileName)) return false;
    const std::string name = LowerCase(fileName);
    if (s_.Surfaces->IndexOfSurface(name) >= 0) return true;
    const std::string path = JoinPath(s_.Folders.GameFolder, fileName);
    try {
        const bool png = name.size() >= 3 && name.compare(name.size() - 3, 3, "png") == 0;
        return png ? s_.Surfaces->LoadPNGFromFile(name, path)
                   : s_.Surfaces->LoadJPGFromFile(name, path);
    } catch (const std::exception& error) {
        s_.Log.WriteLog(fileName + ": " + error.what());
        return false;
    }
}

void TGameWindows::LoadAdditionalButtons(const std::string& fileName) {
    std::error_code error;
    if (!fs::is_regular_file(fileName, error)) return;
    Guarded("Exception error in TKelGameEngine.LoadAdditionalButtons!", [&] {
        TKelParser document;
        document.LoadFromFile(fileName);
        const TKelXMLTag* root = document.GetTag(0);
        if (!root) throw TKelCoreError(fileName + "XML file does not has tags!");
        logoLinks_.assign(size_t(root->TagCount()), std::string());
        for (int i = 0; i < root->TagCount(); ++i) AddLogoButton(*root->GetTag(i), i);
    });
}

std::string TGameWindows::LogoUrl(const TKelXMLTag& logo) const {
    const TKelXMLTag* url = logo.FindTag("URL");
    if (!url) return {};
    const TKelParserAttribute* source = url->FindAttribute("Source");
    if (!source) return JoinPath(s_.Folders.GameFolder, url->Text);
    if (source->Value != "registry") return url->Text;
    // Any prefix, a backslash, then the key path and the value name split at the first ".".
    const size_t slash = url->Text.find('\\');
    if (slash == std::string::npos) return url->Text;
    const std::string rest = url->Text.substr(slash + 1);
    const size_t dot = rest.find('.');
    if (dot == std::string::npos) return url->Text;
    return s_.Os.System.RegistryValue(rest.substr(0, dot), rest.substr(dot + 1));
}

void TGameWindows::AddLogoButton(const TKelXMLTag& logo, int index) {
    const std::string url = LogoUrl(logo);
    const TKelXMLTag* position = logo.FindTag("Position");
    const std::string parent = SubtagText(logo, "Parent");
    if (logo.Name != "Logo" || !position || !position->FindAttribute("x") ||
        !position->FindAttribute("y") || !dynamic_cast<TKelForm*>(s_.Interface.FindObject(parent)))
        return;
    const std::string name = "AddLogo" + std::to_string(index);
    if (s_.Interface.CreateObject(name, parent, "TKelLabel") < 0) return;
    auto* label = dynamic_cast<TKelLabel*>(s_.Interface.FindObject(name));
    if (!label) return;
    s_.Interface.ResolveParents();
    if (auto* form = dynamic_cast<TKelForm*>(s_.Interface.FindObject(parent)))
        form->CollectChildren();
    s_.Interface.SetProperty(name, "Alpha", "255");
    s_.Interface.SetProperty(name, "PictureAlpha", "255");
    s_.Interface.SetProperty(name, "Left", position->FindAttribute("x")->Value);
    s_.Interface.SetProperty(name, "Top", position->FindAttribute("y")->Value);
    const std::string caption = SubtagText(logo, "Caption");
    if (!caption.empty()) {
        s_.Interface.SetProperty(name, "FontName", "KelUnicode");
        s_.Interface.SetProperty(name, "Caption", caption);
    }
    const std::string picture = SubtagText(logo, "Picture");
    if (!picture.empty() && LoadLoosePicture(picture)) {
        const std::string pictureName = LowerCase(picture);
        s_.Interface.SetProperty(name, "Picture", pictureName);
        for (const char* state : {"PictureMouseOn", "PictureMouseDown"}) {
            const std::string other = SubtagText(logo, state);
            const bool loaded = !other.empty() && LoadLoosePicture(other);
            s_.Interface.SetProperty(
                name,
                state == std::string("PictureMouseOn") ? "MouseOverPicture" : "MouseDownPicture",
                loaded ? LowerCase(other) : pictureName);
        }
    }
    // The button answers clicks over its picture, or over its caption's line without one.
    int width = 0, height = 0;
    if (!label->Picture().empty()) {
        s_.Interface.Host->GetPictureSize(width, height, label->Picture());
    } else if (const TKelFont* font = s_.Fonts->FindFont("KelUnicode"); font && !caption.empty()) {
        width = font->TextWidth(Utf8ToWide(caption));
        height = font->Height;
    }
    s_.Interface.SetProperty(name, "Width", std::to_string(width));
    s_.Interface.SetProperty(name, "Height", std::to_string(height));
    label->UpdateLayout();  // the caption is wrapped for the label's whole size
    if (const TKelXMLTag* color = logo.FindTag("Color")) {
        if (const TKelParserAttribute* text = color->FindAttribute("Caption"))
            s_.Interface.SetProperty(name, "Color", text->Value);
        if (const TKelParserAttribute* over = color->FindAttribute("MouseOverCaption"))
            s_.Interface.SetProperty(name, "MouseOverColor", over->Value);
    }
    s_.Interface.SetProperty(name, "Visible", "true");
    if (logo.FindTag("URL")) {
        s_.Interface.SetProperty(name, "OnMouseUp", "ExecMethod Method=\"AddLogoMouseUp\";");
        logoLinks_[size_t(index)] = url;
    }
}

void TGameWindows::OpenLogoLink() {
    const TKelObject* sender = s_.Interface.Sender();
    if (!sender) return;
    const std::string& name = sender->Name();
    const std::string prefix = "AddLogo";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return;
    const std::string digits = name.substr(prefix.size(), 3);
    int index = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc() || end != digits.data() + digits.size() || index < 0 ||
        size_t(index) >= logoLinks_.size())
        return;
    if (!logoLinks_[size_t(index)].empty()) s_.Os.System.OpenLink(logoLinks_[size_t(index)]);
}

std::string TGameWindows::TopForm() const {
    const TKelForm* top = s_.Interface.TopForm();
    return top ? top->Name() : std::string();
}

void TGameWindows::SetTopForm(const std::string& name) {
    s_.Interface.HideModalList();
    s_.Interface.ShowModal(name);
}

void TGameWindows::SetCaption(const std::string& object, const std::string& text) {
    s_.Interface.SetProperty(object, "Caption", text);
}

std::string TGameWindows::CaptionOf(const std::string& object) const {
    if (!s_.Interface.FindObject(object)) return {};
    return ValueToText(s_.Interface.GetProperty(object, "Caption"));
}

int32_t TGameWindows::NumberProperty(const std::string& object, const std::string& property) const {
    if (!s_.Interface.FindObject(object)) return 0;
    const TKelValue value = s_.Interface.GetProperty(object, property);
    const int32_t* number = std::get_if<int32_t>(&value);
    return number ? *number : 0;
}

bool TGameWindows::Checked(const std::string& object) const {
    return s_.Windows->NumberProperty(object, "Checked") != 0;
}

void TGameWindows::FocusObject(const std::string& formName, const std::string& objectName) {
    auto* form = dynamic_cast<TKelForm*>(s_.Interface.FindObject(formName));
    if (!form) return;
    for (TKelFocusedObject* object : form->FocusList())
        object->SetFocused(object->Name() == objectName);
}

TKelGrid* TGameWindows::Grid(const std::string& name) const {
    return dynamic_cast<TKelGrid*>(s_.Interface.FindObject(name));
}
