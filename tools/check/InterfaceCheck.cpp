// The interface description.
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "app/GameManifest.h"
#include "check/CheckData.h"
#include "core/KelParserText.h"
#include "core/MemoryStream.h"
#include "graphics/KelFontEngine.h"
#include "resources/JpegPNG.h"
#include "ui/KelInterfaceEngine.h"
#include "ui/NullInterfaceHost.h"

namespace {

// A picture's size as the archive holds it, for laying the windows out as the game does; 0 by 0
// when it is missing or does not decode, which the pictures check reports.
TPoint MeasurePicture(TFileFolder& archive, const std::string& picture) {
    TMemoryStream* entry = picture.empty() ? nullptr : archive.FindFile(picture);
    if (!entry) return {0, 0};
    try {
        if (picture.size() >= 3 && SameText(picture.substr(picture.size() - 3), "png")) {
            const TPngPicture png = TPngPicture::Decode(entry->Bytes());
            return {png.Width, png.Height};
        }
        const TBitmap24 jpeg = DecodeJpeg(entry->Bytes());
        return {jpeg.Width, jpeg.Height};
    } catch (const std::exception&) {
        return {0, 0};
    }
}

}  // namespace

// "Tervolin.li", read with the game's loader and laid out with the archive's pictures and fonts:
// it loads; has every window and object the game uses by name, and those the levels name, of the
// class the game expects, each object in its own window; calls only published handlers; names only
// pictures of the archive; every window lies on the 800 x 600 screen, every shown object inside its
// window, and every caption fits. Archives without the description or "surfaces.dat" are not game
// archives.
void CheckInterface(TFileFolder& archive, TProblems& problems) {
    const std::string owner = InterfaceEntry;
    TMemoryStream* entry = archive.FindFile(InterfaceEntry);
    if (!entry) {
        if (archive.IndexOfFile("surfaces.dat") >= 0)
            problems.push_back(owner + ": the interface description is missing");
        return;
    }
    TKelFontEngine fonts;
    for (const char* name : GameFonts) {
        TMemoryStream* font = archive.FindFile(std::string(name) + ".xml");
        try {
            if (font) fonts.LoadFontFromStream(*font);
        } catch (const std::exception&) {
            // the fonts check reports it
        }
    }
    std::map<std::string, TPoint> sizes;
    TNullInterfaceHost host([&](const std::string& picture) {
        auto [known, added] = sizes.try_emplace(picture, TPoint{0, 0});
        if (added) known->second = MeasurePicture(archive, picture);
        return known->second;
    });
    TKelInterfaceEngine engine;
    engine.Host = &host;
    engine.FontEngine = &fonts;
    const std::string description = entry->ToString();
    engine.LoadFromString(description);
    if (!engine.LoadError().empty()) problems.push_back(owner + ": " + engine.LoadError());

    for (const char* name : GameWindows())
        if (!dynamic_cast<const TKelForm*>(engine.FindObject(name)))
            problems.push_back(owner + ": the window " + name + " is missing");
    CheckLevelWindows(archive, engine, problems);
    for (const TManifestWidget& widget : GameWidgets()) {
        const auto* object =
            dynamic_cast<const TKelInterfaceObject*>(engine.FindObject(widget.Name));
        const bool rightClass =
            object && (widget.Class ? &object->GetClass() == &widget.Class()
                                    : dynamic_cast<const TKelLabel*>(object) != nullptr);
        const std::string name = widget.Name;
        const std::string window = name.substr(0, name.find('_'));
        if (!object)
            problems.push_back(owner + ": " + widget.Name + " is missing");
        else if (!rightClass)
            problems.push_back(owner + ": " + widget.Name + " is a " + object->GetClass().Name +
                               ", not a " + (widget.Class ? widget.Class().Name : "TKelLabel"));
        else if (WindowOf(*object)->Name() != window)
            problems.push_back(owner + ": " + widget.Name + " is not in the window " + window);
    }

    static const std::regex method("Method=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(description.begin(), description.end(), method);
         it != std::sregex_iterator(); ++it)
        if (!IsPublishedHandler((*it)[1]))
            problems.push_back(owner + ": ExecMethod names " + std::string((*it)[1]) +
                               ", which the game does not publish");

    std::istringstream pictures(engine.GetAllPictures());
    for (std::string picture; std::getline(pictures, picture);) {
        if (!picture.empty() && picture.back() == '\r') picture.pop_back();
        if (!picture.empty() && archive.IndexOfFile(picture) < 0)
            problems.push_back(owner + ": picture " + picture + " is not in the archive");
    }

    const TRect screen{0, 0, ScreenWidth - 1, ScreenHeight - 1};
    for (const auto& object : engine.Objects()) {
        const auto* ui = dynamic_cast<const TKelInterfaceObject*>(object.get());
        if (!ui) continue;
        const TKelInterfaceObject* window = WindowOf(*ui);
        if (ui == window) {
            if (!Inside(ui->ScreenRect(), screen))
                problems.push_back(owner + ": the window " + ui->Name() +
                                   " does not fit the 800 x 600 screen");
            continue;
        }
        // Objects the game moves off the screen on purpose start hidden or are placed by it.
        if (ui->Visible() && ui->Width() > 0 && !Inside(ui->ScreenRect(), window->ScreenRect()))
            problems.push_back(owner + ": " + ui->Name() + " lies outside its window");
        if (const auto* label = dynamic_cast<const TKelLabel*>(ui))
            CheckCaptionRoom(*label, fonts, problems);
    }
    CheckLanguages(std::filesystem::path(archive.FileName()).parent_path() / "lng", description,
                   host, fonts, problems);
}
