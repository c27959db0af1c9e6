// Fuzz target of interface descriptions and language files: the bytes up to the first NUL are
// loaded as a description, the rest as a language file. Every form is shown, drawn, ticked and
// pressed at a few points, the language file applied and restored, and the forms drawn again.
#include <cstdint>
#include <exception>
#include <string>

#include "graphics/GraphicsClasses.h"
#include "graphics/KelFontEngine.h"
#include "ui/InterfaceClasses.h"
#include "ui/KelInterfaceEngine.h"
#include "ui/NullInterfaceHost.h"

namespace {

// Hands out text with line breaks, a TAB and bytes that are not UTF-8.
struct TFuzzClipboard : IKelClipboard {
    std::string Content = "ab\r\nb\n\ta\r\xff";
    std::string Text() override { return Content; }
    void SetText(const std::string& text) override { Content = text; }
};

// Typing, selecting, clipboard keys and caret keys for whatever has the focus.
void Type(TKelInterfaceEngine& engine) {
    for (const char32_t c : {U'a', U'b', char32_t{1}, char32_t{3}, char32_t{22}, char32_t{24},
                             char32_t{22}, U'\u00e9', U'9'})
        engine.KeyPress(c);
    for (const int key : {vk::Left, vk::Back, vk::Home, vk::Delete, vk::End, vk::Right})
        engine.KeyDown(key, ssShift);
}

void Press(TKelInterfaceEngine& engine, int x, int y) {
    try {
        engine.MouseMove(0, x, y);
        engine.MouseDown(TMouseButton::mbLeft, ssLeft, x, y);
        engine.MouseMove(ssLeft, x + 3, y + 2);
        engine.MouseUp(TMouseButton::mbLeft, 0, x, y);
        Type(engine);
        engine.KeyDown(vk::Tab, 0);
    } catch (const std::exception&) {
        engine.ClearScriptQueue();  // a "SetProp" of a property that does not exist
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        RegisterGraphicsClasses();
        RegisterInterfaceClasses();
        return true;
    }();
    (void)registered;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t split = bytes.find('\0');
    const std::string description = bytes.substr(0, split);
    const std::string language = split == std::string::npos ? "" : bytes.substr(split + 1);

    // Knows two pictures.
    TNullInterfaceHost host([](const std::string& picture) {
        return TPoint{picture == "a" ? 40 : picture == "b" ? 7 : 0, picture.empty() ? 0 : 20};
    });
    TKelFontEngine fonts;
    fonts.Host = &host;
    TKelXMLTag font("TKelFont");
    font.AddAttribute("Name", "KelUnicode");
    font.AddAttribute("Height", "12");
    font.AddAttribute("Picture", "a");
    font.AddAttribute("Metrics", "32:0:0:0:4:0,97:0:0:1:7:1,98:8:0:0:9:0");
    fonts.AddFontFromTag(font);

    TKelInterfaceEngine engine;
    engine.Host = &host;
    engine.FontEngine = &fonts;
    TFuzzClipboard clipboard;
    engine.Clipboard = &clipboard;
    uint32_t clock = 0;
    engine.Clock = [&clock] { return clock += 37; };
    engine.LoadFromString(description);
    engine.GetAllPictures();
    for (int i = 0; i < engine.ObjectCount() && i < 64; ++i) {
        const std::string name = engine.GetObject(i)->Name();
        engine.ShowModal(name);
        engine.DrawAll();
        engine.Tick();
        Press(engine, 5, 5);
        Press(engine, 120, 40);
        TRects rects;
        engine.CollectDirtyRects(rects);
        engine.CollectAllRects(rects);
    }
    try {
        engine.LoadLanguageFromString(language);
    } catch (const std::exception&) {
        // A language file naming a property that does not exist ends its pass.
    }
    engine.RestoreProperties();
    engine.DrawAll();
    engine.HideModalList();
    if (engine.ObjectCount() > 0) engine.DeleteObjectByName(engine.GetObject(0)->Name());
    engine.DrawAll();
    return 0;
}
