// A recording host, a fixed-width test font and an interface engine wired to both, for the tests
// of the interface engine and its objects.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelInterfaceEngine.h"

// Records every call as one line of text; answers picture sizes from a table.
struct TRecordingHost : IKelGraphic {
    std::map<std::string, std::pair<int, int>> Sizes;
    std::vector<std::string> Calls;

    void Draw(const std::string& picture, const std::string& bump, TBlendingMode, int x, int y,
              uint8_t alpha, const std::optional<TRect>& source) override {
        std::string call = "Draw " + picture + " " + bump + " " + std::to_string(x) + "," +
                           std::to_string(y) + " a" + std::to_string(alpha);
        if (source)
            call += " src " + std::to_string(source->Left) + "," + std::to_string(source->Top) +
                    "-" + std::to_string(source->Right) + "," + std::to_string(source->Bottom);
        Calls.push_back(call);
    }
    void DrawBumpMap(const std::string& picture, const std::string& bump, int x, int y) override {
        Calls.push_back("Bump " + picture + " " + bump + " " + std::to_string(x) + "," +
                        std::to_string(y));
    }
    void DrawRect(const std::string&, const TRect& rect, uint32_t color, uint8_t alpha,
                  bool) override {
        Calls.push_back("Rect " + std::to_string(rect.Left) + "," + std::to_string(rect.Top) + "-" +
                        std::to_string(rect.Right) + "," + std::to_string(rect.Bottom) + " c" +
                        std::to_string(color) + " a" + std::to_string(alpha));
    }
    void ExtDraw(const std::string&, int) override {}
    void DrawColoredAlpha(const std::string&, const std::string&, int, int, uint32_t,
                          uint8_t) override {}
    void GetPictureSize(int& width, int& height, const std::string& picture) override {
        const auto size = Sizes.find(picture);
        width = size == Sizes.end() ? 0 : size->second.first;
        height = size == Sizes.end() ? 0 : size->second.second;
    }
    void GetScreenSize(int& width, int& height) override {
        width = 800;
        height = 600;
    }
    void PlaySound(const std::string& sound) override { Calls.push_back("Sound " + sound); }
    void PostFormDraw(const std::string& form) override { Calls.push_back("Post " + form); }
    void LowExtDraw(const std::string&, const TRect&, const std::string&, int, int, uint32_t,
                    uint8_t) override {}
    // The Draw calls only.
    std::vector<std::string> Draws() const {
        std::vector<std::string> draws;
        for (const std::string& call : Calls)
            if (call.rfind("Draw ", 0) == 0) draws.push_back(call);
        return draws;
    }
};

// Records the pen position and colour of every glyph the fonts draw.
struct TGlyphRecorder : IKelFontHost {
    const TKelFontEngine* Fonts = nullptr;
    std::vector<TPoint> Glyphs;
    std::vector<uint32_t> Colors;
    void ExtDraw(const std::string&, int count) override {
        for (int i = 0; i < count; ++i) {
            const TCharsRect& glyph = Fonts->Placements[static_cast<size_t>(i)];
            Glyphs.push_back({glyph.X, glyph.Y});
            Colors.push_back(glyph.Color);
        }
    }
};

class UiTest : public ::testing::Test {
  protected:
    UiTest() {
        glyphs.Fonts = &fonts;
        fonts.Host = &glyphs;
        engine.Host = &host;
        engine.FontEngine = &fonts;
        engine.OnError = [this](const std::string& text) { errors.push_back(text); };
        // "KelUnicode": every letter, digit and the space 10 pixels wide, lines 12 high.
        std::string metrics = "32:0:0:0:10:0";
        for (int code = 33; code < 127; ++code)
            metrics += "," + std::to_string(code) + ":0:0:0:10:0";
        TKelXMLTag tag("TKelFont");
        tag.AddAttribute("Name", "KelUnicode");
        tag.AddAttribute("Height", "12");
        tag.AddAttribute("Picture", "font.png");
        tag.AddAttribute("Metrics", metrics);
        fonts.AddFontFromTag(tag);
    }

    // Loads a description made of the given "o" elements.
    void Load(const std::string& objects) {
        engine.LoadFromString("<KelInterface Version=\"1\">\n" + objects + "</KelInterface>\n");
    }
    template <class T>
    T& Get(const std::string& name) {
        auto* object = dynamic_cast<T*>(engine.FindObject(name));
        EXPECT_NE(object, nullptr) << name;
        return *object;
    }

    TRecordingHost host;
    TGlyphRecorder glyphs;
    TKelFontEngine fonts;
    TKelInterfaceEngine engine;
    std::vector<std::string> errors;
};

// An "o" element of the class with the given properties ("Name=Form1", ...).
inline std::string Object(const std::string& className,
                          const std::vector<std::pair<std::string, std::string>>& properties) {
    std::string text = "<o c=\"" + className + "\">\n";
    for (const auto& [name, value] : properties)
        text += "<p n=\"" + name + "\">" + value + "</p>\n";
    return text + "</o>\n";
}
