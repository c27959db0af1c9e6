// The game's windows: the interface engine set up with the game as its host, the description
// "Tervolin.li" loaded from the archive, its pictures loaded with the start-up pictures, the
// loading screen shown while they load, and the extra title buttons of "AddLogo.xml".
#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

#include "app/GameEngine.h"
#include "core/CoreError.h"
#include "core/KelException.h"
#include "core/KelParser.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"
#include "platform/Paths.h"
#include "ui/KelLabel.h"
#include "ui/KelProgressBar.h"

namespace fs = std::filesystem;

namespace {

// The lines of a text, empty ones left out.
std::vector<std::string> ListedNames(const std::string& text) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) names.push_back(line);
        start = end + 1;
    }
    return names;
}

// A plain file name of the game folder: no folders, no way out of it.
bool PlainFileName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name != "." && name != "..";
}

std::string LowerCase(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string SubtagText(const TKelXMLTag& tag, const std::string& name) {
    const TKelXMLTag* sub = tag.FindTag(name);
    return sub ? sub->Text : std::string();
}

}  // namespace

void TKelGameEngine::SetUpInterface() {
    interface_.Host = this;
    interface_.FontEngine = fontEngine_.get();
    interface_.Clipboard = &clipboard_;
    interface_.Clock = [this] { return currentTick_; };
    interface_.OnError = [this](const std::string& text) { log_.WriteLog(text); };
    RegisterHandlers();
}

void TKelGameEngine::LoadInterface() {
    const std::string entry = appName_ + ".li";
    if (TMemoryStream* description = archive_->FindFile(entry)) {
        description->SetPosition(0);
        interface_.LoadFromStream(*description);
        if (!interface_.LoadError().empty()) log_.WriteLog(interface_.LoadError());
    }
    // One log line per line of the summary, so every line carries its time.
    for (const std::string& line : ListedNames(interface_.GetInfo())) log_.WriteLog(line);
    log_.WriteLog("Kel Interface Loaded Ok...");
}

void TKelGameEngine::ShowGameLoading() {
    auto* window = dynamic_cast<TKelForm*>(interface_.FindObject("WGameLoading"));
    auto* bar = dynamic_cast<TKelProgressBar*>(interface_.FindObject("WGameLoading_PBGameLoading"));
    if (!window || !bar) {
        log_.WriteLog("The loading window is missing");
        return;
    }
    // Its own pictures come first, so that it shows while the others load.
    surfaceStore_->LoadPictureList(
        *archive_, ListedNames(fontEngine_->GetPictureList() + "\n" + window->GetPictures() + "\n" +
                               bar->GetPictures()));
    interface_.ShowModal("WGameLoading");
    surfaceStore_->OnProgress = [this, bar](int percent) {
        bar->SetPosition(percent);
        surfaceStore_->DrawSurface("Background", "MemorySurface", 0, 0, nullptr);
        interface_.DrawAll();
        std::vector<TRect> whole{ScreenRect};
        surfaceStore_->PresentRects("MemorySurface", whole);
    };
}

void TKelGameEngine::LoadInterfacePictures() {
    for (const std::string& name : ListedNames(interface_.GetAllPictures()))
        if (archive_->FindFile(name) &&
            std::find(permanentPictures_.begin(), permanentPictures_.end(), name) ==
                permanentPictures_.end())
            permanentPictures_.push_back(name);
    surfaceStore_->LoadPictureList(*archive_, permanentPictures_);
    surfaceStore_->OnProgress = nullptr;
    ResetWindows();
}

void TKelGameEngine::ResetWindows() {
    // The description was read before its pictures were loaded: objects that fit or align to
    // their pictures measure them again.
    for (const auto& object : interface_.Objects())
        if (auto* form = dynamic_cast<TKelForm*>(object.get()); form && !form->Parent)
            form->UpdateLayout();
}

bool TKelGameEngine::LoadLoosePicture(const std::string& fileName) {
    if (!PlainFileName(fileName)) return false;
    const std::string name = LowerCase(fileName);
    if (surfaceStore_->IndexOfSurface(name) >= 0) return true;
    const std::string path = JoinPath(folders_.GameFolder, fileName);
    try {
        const bool png = name.size() >= 3 && name.compare(name.size() - 3, 3, "png") == 0;
        return png ? surfaceStore_->LoadPNGFromFile(name, path)
                   : surfaceStore_->LoadJPGFromFile(name, path);
    } catch (const std::exception& error) {
        log_.WriteLog(fileName + ": " + error.what());
        return false;
    }
}

void TKelGameEngine::LoadAdditionalButtons(const std::string& fileName) {
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

std::string TKelGameEngine::LogoUrl(const TKelXMLTag& logo) const {
    const TKelXMLTag* url = logo.FindTag("URL");
    if (!url) return {};
    const TKelParserAttribute* source = url->FindAttribute("Source");
    if (!source) return JoinPath(folders_.GameFolder, url->Text);
    if (source->Value != "registry") return url->Text;
    // Any prefix, a backslash, then the key path and the value name split at the first ".".
    const size_t slash = url->Text.find('\\');
    if (slash == std::string::npos) return url->Text;
    const std::string rest = url->Text.substr(slash + 1);
    const size_t dot = rest.find('.');
    if (dot == std::string::npos) return url->Text;
    return platform_.System.RegistryValue(rest.substr(0, dot), rest.substr(dot + 1));
}

void TKelGameEngine::AddLogoButton(const TKelXMLTag& logo, int index) {
    const std::string url = LogoUrl(logo);
    const TKelXMLTag* position = logo.FindTag("Position");
    const std::string parent = SubtagText(logo, "Parent");
    if (logo.Name != "Logo" || !position || !position->FindAttribute("x") ||
        !position->FindAttribute("y") || !dynamic_cast<TKelForm*>(interface_.FindObject(parent)))
        return;
    const std::string name = "AddLogo" + std::to_string(index);
    if (interface_.CreateObject(name, parent, "TKelLabel") < 0) return;
    auto* label = dynamic_cast<TKelLabel*>(interface_.FindObject(name));
    if (!label) return;
    interface_.ResolveParents();
    if (auto* form = dynamic_cast<TKelForm*>(interface_.FindObject(parent)))
        form->CollectChildren();
    interface_.SetProperty(name, "Alpha", "255");
    interface_.SetProperty(name, "PictureAlpha", "255");
    interface_.SetProperty(name, "Left", position->FindAttribute("x")->Value);
    interface_.SetProperty(name, "Top", position->FindAttribute("y")->Value);
    const std::string caption = SubtagText(logo, "Caption");
    if (!caption.empty()) {
        interface_.SetProperty(name, "FontName", "KelUnicode");
        interface_.SetProperty(name, "Caption", caption);
    }
    const std::string picture = SubtagText(logo, "Picture");
    if (!picture.empty() && LoadLoosePicture(picture)) {
        const std::string pictureName = LowerCase(picture);
        interface_.SetProperty(name, "Picture", pictureName);
        for (const char* state : {"PictureMouseOn", "PictureMouseDown"}) {
            const std::string other = SubtagText(logo, state);
            const bool loaded = !other.empty() && LoadLoosePicture(other);
            interface_.SetProperty(
                name,
                state == std::string("PictureMouseOn") ? "MouseOverPicture" : "MouseDownPicture",
                loaded ? LowerCase(other) : pictureName);
        }
    }
    // The button answers clicks over its picture, or over its caption's line without one.
    int width = 0, height = 0;
    if (!label->Picture().empty()) {
        GetPictureSize(width, height, label->Picture());
    } else if (const TKelFont* font = fontEngine_->FindFont("KelUnicode");
               font && !caption.empty()) {
        width = font->TextWidth(Utf8ToWide(caption));
        height = font->Height;
    }
    interface_.SetProperty(name, "Width", std::to_string(width));
    interface_.SetProperty(name, "Height", std::to_string(height));
    label->UpdateLayout();  // the caption is wrapped for the label's whole size
    if (const TKelXMLTag* color = logo.FindTag("Color")) {
        if (const TKelParserAttribute* text = color->FindAttribute("Caption"))
            interface_.SetProperty(name, "Color", text->Value);
        if (const TKelParserAttribute* over = color->FindAttribute("MouseOverCaption"))
            interface_.SetProperty(name, "MouseOverColor", over->Value);
    }
    interface_.SetProperty(name, "Visible", "true");
    if (logo.FindTag("URL")) {
        interface_.SetProperty(name, "OnMouseUp", "ExecMethod Method=\"AddLogoMouseUp\";");
        logoLinks_[size_t(index)] = url;
    }
}

void TKelGameEngine::OpenLogoLink() {
    const TKelObject* sender = interface_.Sender();
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
    if (!logoLinks_[size_t(index)].empty()) platform_.System.OpenLink(logoLinks_[size_t(index)]);
}
