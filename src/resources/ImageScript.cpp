// The image-script interpreter.
#include "resources/ImageScript.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "core/KelParserText.h"
#include "core/TextLines.h"
#include "resources/PictureAdd.h"
#include "resources/PictureHue.h"
#include "resources/PictureOps.h"
#include "resources/ScriptText.h"

namespace {

constexpr uint16_t PictureKind = 2;

bool Has(const std::string& line, const char* text) {
    return line.find(text) != std::string::npos;
}

// A PNG or JPEG entry of the archive as a picture of colour type 2 or 6.
TPngPicture LoadPicture(TFileFolder& archive, const std::string& name) {
    const TMemoryStream* stream = archive.FindFile(name);
    if (!stream) throw std::runtime_error("File " + name + " does not exist in File Folder!");
    const std::span<const uint8_t> bytes(stream->Memory(), stream->Size());
    static constexpr uint8_t pngSignature[] = {0x89, 'P', 'N', 'G'};
    TPngPicture picture;
    if (bytes.size() >= 4 && std::equal(pngSignature, pngSignature + 4, bytes.begin())) {
        picture = TPngPicture::Decode(bytes);
        picture.ColorType = picture.HasAlpha() ? pctRgbAlpha : pctRgb;
    } else {
        picture.Assign(DecodeJpeg(bytes));
    }
    return picture;
}

class TScriptRun {
  public:
    explicit TScriptRun(TFileFolder& archive) : archive_(archive) {}

    void Line(const std::string& line) {
        if (Has(line, "<AutoImage ") && Has(line, ">")) AutoImage(line);
        const bool closed = Has(line, "/>");
        if (Has(line, "<AddImage ") && closed) AddImage(line);
        if (Has(line, "<FlipImageHorizontal/>")) FlipHorizontal(Picture("<FlipImageHorizontal"));
        if (Has(line, "<FlipImageVertical/>")) FlipVertical(Picture("<FlipImageVertical"));
        if (Has(line, "<ImageHueChange ") && closed) {
            ShiftPictureHue(Picture("<ImageHueChange"), IntAttribute(line, "hue", 0),
                            IntAttribute(line, "saturation", 0),
                            IntAttribute(line, "lightness", 0));
        }
        if (Has(line, "<RotateImage ") && closed) {
            TPngPicture& picture = Picture("<RotateImage");
            RotatePicture(picture, FloatAttribute(line, "x", (picture.Width - 1) / 2.0),
                          FloatAttribute(line, "y", (picture.Height - 1) / 2.0),
                          FloatAttribute(line, "angle", 0));
        }
        if (Has(line, "<ScaleImage ") && closed) {
            TPngPicture& picture = Picture("<ScaleImage");
            ScalePicture(picture, IntAttribute(line, "width", picture.Width),
                         IntAttribute(line, "height", picture.Height));
        }
        if (Has(line, "<CropImage ") && closed) {
            TPngPicture& picture = Picture("<CropImage");
            CropPicture(picture, IntAttribute(line, "left", 0), IntAttribute(line, "top", 0),
                        IntAttribute(line, "width", picture.Width),
                        IntAttribute(line, "height", picture.Height));
        }
    }

    void Finish() {
        if (!started_) return;
        const TPngPicture& picture = Picture("the end of the script");
        archive_.AddFile(name_ + ".pNg", PictureKind, TMemoryStream(picture.Encode()));
    }

  private:
    void AutoImage(const std::string& line) {
        started_ = true;
        added_ = 0;
        name_ = AttributeValue(line, "name");
        autosize_ = SameText(AttributeValue(line, "autosize"), "true");
        picture_.reset();
        if (!autosize_)
            picture_ =
                BlackPicture(IntAttribute(line, "width", 0), IntAttribute(line, "height", 0));
    }

    void AddImage(const std::string& line) {
        if (!started_) throw std::runtime_error("<AddImage before <AutoImage");
        TPngPicture source = LoadPicture(archive_, AttributeValue(line, "name"));
        TAddOptions options = WholePicture(source);
        const std::string rect = AttributeValue(line, "srcrect");
        if (!rect.empty()) {
            const std::vector<int32_t> r = IntList(rect, 4);
            options.RectLeft = std::max(r[0], 0);
            options.RectTop = std::max(r[1], 0);
            options.RectRight = std::min(r[2], source.Width - 1);
            options.RectBottom = std::min(r[3], source.Height - 1);
        }
        options.Left = IntAttribute(line, "left", 0);
        options.Top = IntAttribute(line, "top", 0);
        const std::string rotate = AttributeValue(line, "Rotate");
        if (!rotate.empty()) {
            RotateAboutCenter(source, FloatAttribute(line, "Rotate", 0));
        } else {
            options.ColorValue = IntAttribute(line, "colorvalue", 0);
            const std::string color = AttributeValue(line, "color");
            if (!color.empty()) {
                const std::vector<int32_t> rgb = IntList(color, 3);
                options.Red = rgb[0];
                options.Green = rgb[1];
                options.Blue = rgb[2];
            }
            options.Alfa = IntAttribute(line, "alfa", 255);
        }
        if (autosize_ && added_ == 0) {
            // Sides computed in 64 bits: the rectangle's numbers come from the script.
            const int64_t width = int64_t(options.RectRight) - options.RectLeft + 1;
            const int64_t height = int64_t(options.RectBottom) - options.RectTop + 1;
            picture_ = BlackPicture(int(std::clamp<int64_t>(width, 0, MaxPictureSide + 1)),
                                    int(std::clamp<int64_t>(height, 0, MaxPictureSide + 1)));
            options.Left = options.Top = 0;
        }
        options.First = added_ == 0;
        AddPicture(Picture("<AddImage"), source, options);
        ++added_;
    }

    TPngPicture& Picture(const std::string& command) {
        if (!picture_) throw std::runtime_error("No picture to work on at " + command);
        return *picture_;
    }

    TFileFolder& archive_;
    std::optional<TPngPicture> picture_;
    std::string name_;
    bool started_ = false, autosize_ = false;
    int added_ = 0;
};

}  // namespace

void RunImageScript(TFileFolder& archive, const std::string& script) {
    TScriptRun run(archive);
    for (const std::string& line : Lines(script)) run.Line(line);
    run.Finish();
}
