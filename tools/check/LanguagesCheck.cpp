// The language files beside the archive, laid over the interface description as the game lays
// them.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/LanguageButtons.h"
#include "check/CheckData.h"
#include "core/KelParserText.h"
#include "core/TextCase.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelGrid.h"
#include "ui/KelInterfaceEngine.h"

namespace {

// A file of the folder "lng" beside the archive, which the game lays over the description: its
// first three letters are the language's code, and a name holding "scn" gets no button in the
// language window.
struct TLanguageFile {
    std::string Name, Code;
    bool OwnButton = false;
};

// The folder's language files, by name.
std::vector<TLanguageFile> LanguageFiles(const std::filesystem::path& folder) {
    std::vector<TLanguageFile> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || !IsLanguageFile(name)) continue;
        const std::string lower = LowerCase(name);
        files.push_back({name, lower.substr(0, 3), lower.find("scn") == std::string::npos});
    }
    std::sort(files.begin(), files.end(),
              [](const TLanguageFile& a, const TLanguageFile& b) { return a.Name < b.Name; });
    return files;
}

std::string LastPropertyText(const TKelXMLTag& object, const std::string& property) {
    std::string text;
    for (const auto& p : object.Tags()) {
        const TKelParserAttribute* n = p->FindAttribute("n");
        if (n && n->Value == property) text = p->Text;
    }
    return text;
}

bool HasLetters(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c & 0x80) != 0;
    });
}

// The cells a language file gives a grid: every character in the cell's font, every text within
// its column.
void CheckGridCells(const std::string& owner, const TKelGrid& grid, const TKelFontEngine& fonts,
                    TProblems& problems) {
    const auto& columns = grid.Columns();
    for (size_t i = 0; i < grid.Cells().size() && !columns.empty(); ++i) {
        const TKelGrid::TCell& cell = grid.Cells()[i];
        const TKelFont* font = fonts.FindFont(cell.FontName);
        if (cell.Text.empty() || !font) continue;
        const std::string who = owner + ": " + grid.Name() + " cell " + std::to_string(i);
        const std::u32string missing = MissingGlyphs(cell.Text, *font);
        if (!missing.empty())
            problems.push_back(who + ": the font " + cell.FontName + " has no glyphs for \"" +
                               WideToUtf8(missing) + "\"");
        const TKelGrid::TColumn& column = columns[i % columns.size()];
        if (font->TextWidth(cell.Text) + std::abs(cell.TextShiftLeft) > column.Width)
            problems.push_back(who + ": \"" + WideToUtf8(cell.Text) +
                               "\" is wider than its column");
    }
}

// One language file laid over the description as the game does it, on the language buttons the
// game adds: it reads; names only objects and readable properties that exist (a language must be
// undone when another one is chosen); the values convert; a language other than English
// translates every caption that has words, the language buttons included; and every caption and
// grid cell it sets fits, and every object it names or adds stays inside its window.
void CheckLanguage(const std::filesystem::path& folder, const TLanguageFile& file,
                   const std::vector<TLanguageFile>& files, const std::string& description,
                   IKelGraphic& host, TKelFontEngine& fonts, TProblems& problems) {
    const std::string owner = "lng/" + file.Name;
    std::string text;
    try {
        TMemoryStream bytes;
        bytes.LoadFromFile((folder / file.Name).string());
        text = bytes.ToString();
    } catch (const std::exception& error) {
        problems.push_back(owner + ": " + error.what());
        return;
    }
    TKelInterfaceEngine engine;
    engine.Host = &host;
    engine.FontEngine = &fonts;
    engine.LoadFromString(description);
    std::vector<std::string> names;
    for (const TLanguageFile& each : files) names.push_back(each.Name);
    // The language buttons as the game adds them.
    const std::vector<std::string> buttons = AddLanguageButtons(engine, names);

    TKelParser document;
    document.LoadFromString(text);
    for (const std::string& warning : document.Warnings) problems.push_back(owner + ": " + warning);
    const TKelXMLTag* root = document.GetTag(0);
    if (!root || root->Name != "KelInterface") {
        problems.push_back(owner + ": the file does not begin with a KelInterface element");
        return;
    }
    std::set<std::string> named, captioned;
    for (const auto& object : root->Tags()) {
        if (object->Name != "o") continue;
        const bool properties =
            std::all_of(object->Tags().begin(), object->Tags().end(), [](const auto& p) {
                return p->Name == "p" && p->AttributeCount() == 1 && p->FindAttribute("n");
            });
        const std::string name = LastPropertyText(*object, "Name");
        if (!properties) {
            problems.push_back(owner + ": the element of " + (name.empty() ? "no name" : name) +
                               " holds more than properties; the rest of the file is ignored");
            break;
        }
        const TKelObject* target = engine.FindObject(name);
        if (!target) {
            problems.push_back(owner + ": there is no object " +
                               (name.empty() ? "without a name" : name));
            continue;
        }
        named.insert(name);
        for (const auto& p : object->Tags()) {
            const std::string property = p->FindAttribute("n")->Value;
            const TKelProperty* known = target->GetClass().FindProperty(property);
            if (!known)
                problems.push_back(owner + ": " + name + " has no property " + property);
            else if (!known->Read && property != "Name")
                problems.push_back(owner + ": " + name + "." + property +
                                   " cannot be read back, so another language cannot undo it");
            else if (property == "Caption")
                captioned.insert(name);
        }
    }

    engine.OnError = [&](const std::string& error) { problems.push_back(owner + ": " + error); };
    try {
        engine.LoadLanguageFromString(text);
    } catch (const std::exception& error) {
        problems.push_back(owner + ": loading stops: " + error.what());
    }
    engine.OnError = nullptr;

    for (const auto& object : engine.Objects()) {
        const std::string& name = object->Name();
        const bool button = std::find(buttons.begin(), buttons.end(), name) != buttons.end();
        const auto* ui = dynamic_cast<const TKelInterfaceObject*>(object.get());
        if (ui && (named.count(name) || button) && ui != WindowOf(*ui) && ui->Visible() &&
            ui->Width() > 0 && !Inside(ui->ScreenRect(), WindowOf(*ui)->ScreenRect()))
            problems.push_back(owner + ": " + name + " lies outside its window");
        if (const auto* label = dynamic_cast<const TKelLabel*>(object.get())) {
            if (named.count(name)) CheckCaptionFits(owner, *label, fonts, problems);
            // The language buttons read the languages' own names: English stays English.
            if (!captioned.count(name) && (button || file.Code != "enu") &&
                name != "WLanguage_RBENU" && HasLetters(label->Caption()))
                problems.push_back(owner + ": " + name + " keeps its English caption \"" +
                                   label->Caption() + "\"");
        } else if (const auto* grid = dynamic_cast<const TKelGrid*>(object.get())) {
            if (named.count(name)) CheckGridCells(owner, *grid, fonts, problems);
        }
    }
}

}  // namespace

// Every language file of the folder, and the language buttons in English: their captions are
// copies of the English button's until a file names them, and English has a file only when one
// with the code "enu" exists.
void CheckLanguages(const std::filesystem::path& folder, const std::string& description,
                    IKelGraphic& host, TKelFontEngine& fonts, TProblems& problems) {
    const std::vector<TLanguageFile> files = LanguageFiles(folder);
    for (const TLanguageFile& file : files)
        CheckLanguage(folder, file, files, description, host, fonts, problems);
    const bool english = std::any_of(files.begin(), files.end(),
                                     [](const TLanguageFile& file) { return file.Code == "enu"; });
    const bool others = std::any_of(files.begin(), files.end(), [](const TLanguageFile& file) {
        return file.Code != "enu" && file.OwnButton;
    });
    if (others && !english)
        problems.push_back(
            "lng: no enu file names the language buttons, so in English they all "
            "read like the English one");
}
