// tervolin-tool ui SOURCE WINDOW OUT.png [--lang FILE] [--press OBJECT]... [--type EDIT TEXT]...
//                 [--click X Y]... [--key NAME]... [--archive PATH]
// Shows a window of an interface description as the game draws it. SOURCE is a game archive
// (its "Tervolin.li" entry, pictures and fonts) or a description file on disk, whose pictures and
// fonts then come from --archive or the built archive game.zxc beside the tool (or one folder
// up). The language file, when given, is applied; WINDOW is shown with ShowModal; each --press
// delivers a left press and release at the centre of that visible object and runs the queued
// scripts, reporting the handlers they call as "exec METHOD" lines, since the tool has no game;
// each --type presses that edit and delivers the characters of TEXT to it as key presses; each
// --click delivers a left press and release at the screen point (X, Y) (following a rich label's
// link, for instance) and runs the queued scripts the same way; each --key presses that key as the
// game's scripts name it ("Tab", "Shift+Tab", "Down", "Return", ...), moving and using the keys'
// focus. Presses, typing, clicks and keys happen in the order given.
// The shown forms are drawn onto a black 800x600 frame written as PNG. Exit 1 with the reason
// when the description does not load or an object is missing, 2 on bad arguments.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include "ToolArgs.h"
#include "ToolCommand.h"
#include "app/GameScript.h"
#include "core/KelParserText.h"
#include "core/MemoryStream.h"
#include "core/Utf8.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "platform/HeadlessPlatform.h"
#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"
#include "ui/KelEdit.h"
#include "ui/KelInterfaceEngine.h"

namespace {

constexpr const char* Usage =
    "ui SOURCE WINDOW OUT.png [--lang FILE] [--press OBJECT]... [--type EDIT TEXT]... "
    "[--click X Y]... [--key NAME]... [--archive PATH]";
constexpr const char* DescriptionEntry = "Tervolin.li";
constexpr const char* Frame = "Frame";

// A press of an object, a press of an edit and the characters typed into it, a click at a
// screen point, or a key.
struct TUiAction {
    enum TKind { Press, Type, Click, Key } Kind = Press;
    std::string Object;
    std::string Text;
    TPoint Point;
    int KeyCode = 0;
    TShiftState Shift = 0;
};

struct TUiArgs {
    std::string Source, Window, Out, Language, Archive;
    std::vector<TUiAction> Actions;
};

bool ParseArgs(const ToolArgs& args, TUiArgs& out) {
    // "--type" and "--click" take two values; the other options one.
    ToolArgs rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--type" && args[i] != "--click") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 2 >= args.size()) return false;
        if (args[i] == "--type") {
            out.Actions.push_back({TUiAction::Type, args[i + 1], args[i + 2], {}});
        } else {
            TPoint point;
            if (!TryStrToInt(args[i + 1], point.X) || !TryStrToInt(args[i + 2], point.Y))
                return false;
            out.Actions.push_back({TUiAction::Click, "", "", point});
        }
        i += 2;
    }
    std::vector<std::string> positional;
    const bool read =
        ReadArgs(rest, positional, [&](const std::string& arg, const std::string& value) {
            if (arg == "--lang")
                out.Language = value;
            else if (arg == "--archive")
                out.Archive = value;
            else if (arg == "--press")
                out.Actions.push_back({TUiAction::Press, value, "", {}});
            else if (TUiAction key{TUiAction::Key, "", "", {}};
                     arg == "--key" && FindKeyName(value, key.KeyCode, key.Shift))
                out.Actions.push_back(key);
            else
                return false;
            return true;
        });
    if (!read || positional.size() != 3) return false;
    out.Source = positional[0];
    out.Window = positional[1];
    out.Out = positional[2];
    return true;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string ToolFolder() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return ".";
    const std::string exe(path, size_t(length));
    return exe.substr(0, exe.rfind('/'));
}

// The built archive beside the tool, or one folder up.
std::string DefaultArchive() {
    const std::string folder = ToolFolder();
    for (const std::string& candidate : {folder + "/game.zxc", folder + "/../game.zxc"})
        if (std::ifstream(candidate)) return candidate;
    throw std::runtime_error("no game.zxc beside the tool; give --archive PATH");
}

// Draws on the frame surface with the pictures and fonts of the archive, loading each picture
// when it is first asked for.
class TToolUiHost : public IKelGraphic, public IKelFontHost {
  public:
    TToolUiHost(TFileFolder& archive, TKelFontEngine& fonts) : archive_(archive), fonts_(fonts) {
        display_.Open(false, 32);
        surfaces_.Create(display_, ScreenWidth, ScreenHeight);
        surfaces_.CreateEmptySurface(Frame, ScreenWidth, ScreenHeight);
    }

    void Draw(const std::string& picture, const std::string&, TBlendingMode, int x, int y,
              uint8_t alpha, const std::optional<TRect>& source) override {
        if (!Load(picture)) return;
        TRect rect = source.value_or(TRect{0, 0, -1, -1});
        TRect* part = source ? &rect : nullptr;
        if (surfaces_.FindSurface(picture)->HasAlpha())
            surfaces_.DrawWithAlphaChannel(picture, Frame, x, y, alpha, part);
        else
            surfaces_.DrawSurface(picture, Frame, x, y, part);
    }
    void DrawBumpMap(const std::string&, const std::string&, int, int) override {}
    void DrawRect(const std::string&, const TRect& rect, uint32_t color, uint8_t alpha,
                  bool) override {
        surfaces_.FillRectColor(Frame, rect, color, alpha);
    }
    void ExtDraw(const std::string& fontPicture, int count) override {
        if (Load(fontPicture))
            surfaces_.DrawText(fontPicture, Frame, count, fonts_.Placements.data());
    }
    void DrawColoredAlpha(const std::string& picture, const std::string&, int x, int y,
                          uint32_t color, uint8_t alpha) override {
        if (Load(picture))
            surfaces_.DrawWithAlphaChannel(picture, Frame, x, y, alpha, nullptr, color, 255);
    }
    void GetPictureSize(int& width, int& height, const std::string& picture) override {
        width = height = 0;
        if (!Load(picture)) return;
        const TPoint size = surfaces_.GetSurfaceSize(picture);
        width = size.X;
        height = size.Y;
    }
    void GetScreenSize(int& width, int& height) override {
        width = ScreenWidth;
        height = ScreenHeight;
    }
    void PlaySound(const std::string&) override {}
    void PostFormDraw(const std::string&) override {}
    void LowExtDraw(const std::string&, const TRect&, const std::string&, int, int, uint32_t,
                    uint8_t) override {}

    void SaveFrame(const std::string& path) {
        const TSurface& frame = *surfaces_.FindSurface(Frame);
        TPngPicture out;
        out.Width = frame.Width;
        out.Height = frame.Height;
        out.Color.resize(size_t(frame.Width) * frame.Height * 3);
        for (int y = 0; y < frame.Height; ++y)
            for (int x = 0; x < frame.Width; ++x)
                for (int c = 0; c < 3; ++c)
                    out.ColorRow(y)[x * 3 + c] =
                        frame.Bits[size_t(y) * frame.Pitch + size_t(x) * 4 + size_t(c)];
        TMemoryStream(out.Encode()).SaveToFile(path);
    }

  private:
    // Whether the picture is a surface now; pictures that do not load are remembered as such.
    bool Load(const std::string& picture) {
        if (picture.empty() || missing_.count(picture)) return false;
        if (surfaces_.IndexOfSurface(picture) >= 0) return true;
        try {
            if (TMemoryStream* stream = archive_.FindFile(picture)) {
                const std::string lower =
                    picture.size() >= 3 ? picture.substr(picture.size() - 3) : picture;
                if (SameText(lower, "png"))
                    surfaces_.AddPngSurface(picture, picture, stream->Bytes(), true);
                else
                    surfaces_.AddJpegSurface(picture, picture, stream->Bytes());
                return true;
            }
        } catch (const std::exception& error) {
            std::cerr << "picture " << picture << ": " << error.what() << "\n";
        }
        missing_.insert(picture);
        return false;
    }

    TFileFolder& archive_;
    TKelFontEngine& fonts_;
    HeadlessDisplay display_;
    TSurfEngine surfaces_;
    std::set<std::string> missing_;
};

// Every font of the archive: a description X.xml beside its picture X.png.
void LoadFonts(TFileFolder& archive, TKelFontEngine& fonts) {
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string& name = archive.Entry(i).Name;
        if (name.size() < 5 || name.substr(name.size() - 4) != ".xml") continue;
        const std::string base = name.substr(0, name.size() - 4);
        if (archive.IndexOfFile(base + ".png") < 0) continue;
        try {
            fonts.LoadFontFromStream(*archive.FindFile(name));
        } catch (const std::exception&) {
            // Not a font description.
        }
    }
}

// The handlers the description's scripts name, each reported when called.
void RegisterReportedHandlers(TKelInterfaceEngine& engine, const std::string& description) {
    static const std::regex method("Method=\"([^\"]*)\"");
    const std::string text = DecodeEntities(description);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), method);
         it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[1];
        engine.RegisterHandler(name, [name] { std::cout << "exec " << name << "\n"; });
    }
}

int RunUi(const ToolArgs& args) {
    TUiArgs options;
    if (!ParseArgs(args, options)) {
        std::fprintf(stderr, "usage: tervolin-tool %s\n", Usage);
        return 2;
    }
    TFileFolder source = TFileFolder::Open(options.Source);
    const bool sourceIsArchive =
        source.LastError().empty() && source.IndexOfFile(DescriptionEntry) >= 0;
    std::string description;
    TFileFolder archive =
        sourceIsArchive
            ? std::move(source)
            : TFileFolder::Open(options.Archive.empty() ? DefaultArchive() : options.Archive);
    if (!archive.LastError().empty()) throw std::runtime_error(archive.LastError());
    if (sourceIsArchive) {
        const TMemoryStream& entry = *archive.FindFile(DescriptionEntry);
        description.assign(entry.Bytes().begin(), entry.Bytes().end());
    } else {
        description = ReadFile(options.Source);
    }

    TKelFontEngine fonts;
    LoadFonts(archive, fonts);
    TToolUiHost host(archive, fonts);
    fonts.Host = &host;
    TKelInterfaceEngine engine;
    engine.Host = &host;
    engine.FontEngine = &fonts;
    engine.Clock = [] { return 0u; };
    engine.OnError = [](const std::string& text) { std::cerr << text << "\n"; };
    RegisterReportedHandlers(engine, description);

    engine.LoadFromString(description);
    if (!engine.LoadError().empty()) {
        std::cerr << engine.LoadError() << "\n";
        return 1;
    }
    if (!options.Language.empty()) engine.LoadLanguageFromString(ReadFile(options.Language));
    if (!dynamic_cast<TKelForm*>(engine.FindObject(options.Window))) {
        std::cerr << "the description has no form " << options.Window << "\n";
        return 1;
    }
    engine.ShowModal(options.Window);
    const auto click = [&engine](int x, int y) {
        engine.MouseMove(0, x, y);
        engine.MouseDown(TMouseButton::mbLeft, ssLeft, x, y);
        engine.MouseUp(TMouseButton::mbLeft, 0, x, y);
        engine.MouseMove(0, -1, -1);
    };
    for (const TUiAction& action : options.Actions) {
        if (action.Kind == TUiAction::Click) {
            click(action.Point.X, action.Point.Y);
            continue;
        }
        if (action.Kind == TUiAction::Key) {
            engine.KeyDown(action.KeyCode, action.Shift);
            continue;
        }
        const std::string& name = action.Object;
        const auto* object = dynamic_cast<const TKelInterfaceObject*>(engine.FindObject(name));
        if (!object || !object->Visible()) {
            std::cerr << "no visible object " << name << "\n";
            return 1;
        }
        if (action.Kind == TUiAction::Type && !dynamic_cast<const TKelEdit*>(object)) {
            std::cerr << name << " is not an edit\n";
            return 1;
        }
        click(object->AbsLeft() + object->Width() / 2, object->AbsTop() + object->Height() / 2);
        for (const char32_t c : Utf8ToWide(action.Text)) engine.KeyPress(c);
    }
    engine.Tick();
    engine.DrawAll();
    host.SaveFrame(options.Out);
    return 0;
}

}  // namespace

static ToolCommand uiCommand{"ui", Usage, &RunUi};
