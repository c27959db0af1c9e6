// SVG rendering over librsvg (parsing, drawing) and cairo (an ARGB image surface per render).
#include "content/SvgRenderer.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>

struct TSvgPicture::THandle {
    RsvgHandle* Handle = nullptr;
    ~THandle() {
        if (Handle) g_object_unref(Handle);
    }
};

namespace {

constexpr int MaxSvgSide = 4096;

std::string TakeMessage(GError* error) {
    std::string text = error ? error->message : "unknown error";
    if (error) g_error_free(error);
    return text;
}

}  // namespace

TSvgPicture::TSvgPicture(std::span<const uint8_t> bytes) : handle_(std::make_unique<THandle>()) {
    GError* error = nullptr;
    handle_->Handle = rsvg_handle_new_from_data(bytes.data(), bytes.size(), &error);
    if (!handle_->Handle) throw TPictureError("SVG not read: " + TakeMessage(error));
    rsvg_handle_set_dpi(handle_->Handle, 96);
    double width = 0, height = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle_->Handle, &width, &height)) {
        RsvgRectangle box{};
        gboolean hasBox = FALSE;
        rsvg_handle_get_intrinsic_dimensions(handle_->Handle, nullptr, nullptr, nullptr, nullptr,
                                             &hasBox, &box);
        if (!hasBox) throw TPictureError("SVG without a size");
        width = box.width, height = box.height;
    }
    if (!(width >= 1 && height >= 1 && width <= MaxSvgSide && height <= MaxSvgSide))
        throw TPictureError("SVG size outside 1.." + std::to_string(MaxSvgSide));
    width_ = int(std::lround(width));
    height_ = int(std::lround(height));
}

TSvgPicture::~TSvgPicture() = default;

void TSvgPicture::Render(TPngPicture& target, int x, int y, int width, int height,
                         const std::vector<std::string>& layers,
                         const TSvgTransform& transform) const {
    if (x < 0 || y < 0 || width < 1 || height < 1 || x + width > target.Width ||
        y + height > target.Height || !target.HasAlpha())
        throw TPictureError("SVG render area outside the picture");
    for (const std::string& layer : layers) {
        if (!rsvg_handle_has_sub(handle_->Handle, layer.c_str()))
            throw TPictureError("SVG has no layer " + layer);
    }

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    const double cx = width / 2.0, cy = height / 2.0;
    cairo_translate(cr, cx + transform.Dx, cy + transform.Dy);
    cairo_rotate(cr, transform.Rotate * std::numbers::pi / 180);
    cairo_scale(cr, transform.Scale, transform.Scale);
    cairo_translate(cr, -cx, -cy);
    cairo_push_group(cr);
    const RsvgRectangle viewport{0, 0, double(width), double(height)};
    std::string failure;
    GError* error = nullptr;
    if (layers.empty()) {
        if (!rsvg_handle_render_document(handle_->Handle, cr, &viewport, &error))
            failure = TakeMessage(error);
    }
    for (const std::string& layer : layers) {
        if (!rsvg_handle_render_layer(handle_->Handle, cr, layer.c_str(), &viewport, &error)) {
            failure = TakeMessage(error);
            break;
        }
    }
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, transform.Opacity);
    cairo_surface_flush(surface);

    // Cairo keeps premultiplied native-endian 0xAARRGGBB words; the picture wants plain colour.
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int row = 0; row < height; ++row) {
        const uint32_t* words = reinterpret_cast<const uint32_t*>(data + size_t(row) * stride);
        uint8_t* bgr = target.ColorRow(y + row) + size_t(x) * 3;
        uint8_t* alpha = target.AlphaRow(y + row) + x;
        for (int col = 0; col < width; ++col, bgr += 3) {
            const uint32_t w = words[col];
            const unsigned a = w >> 24;
            const auto plain = [a](unsigned premultiplied) {
                return a == 0 ? uint8_t(0) : uint8_t((premultiplied * 255 + a / 2) / a);
            };
            bgr[0] = plain(w & 0xFF);
            bgr[1] = plain((w >> 8) & 0xFF);
            bgr[2] = plain((w >> 16) & 0xFF);
            alpha[col] = uint8_t(a);
        }
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    if (!failure.empty()) throw TPictureError("SVG not rendered: " + failure);
}

TPngPicture BlankPicture(int width, int height) {
    TPngPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.ColorType = pctRgbAlpha;
    picture.Color.assign(size_t(width) * height * 3, 0);
    picture.Alpha.assign(size_t(width) * height, 0);
    return picture;
}

double TStripMotion::At(int frame, int frames) const {
    return Base + Amplitude * std::sin(2 * std::numbers::pi * Cycles * frame / frames);
}

TSvgTransform TStripRecipe::FrameTransform(int frame) const {
    return {Rotate.At(frame, Frames) + Spin * frame / Frames, Scale.At(frame, Frames),
            Dx.At(frame, Frames), Dy.At(frame, Frames), Opacity.At(frame, Frames)};
}

TStripRecipe ParseStripRecipe(const std::string& text) {
    TStripRecipe recipe;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string key;
        if (!(words >> key)) continue;
        const auto fail = [&](const std::string& why) {
            throw std::runtime_error("recipe line " + std::to_string(number) + ": " + why);
        };
        const auto motion = [&](TStripMotion& m) {
            if (!(words >> m.Base)) fail(key + " needs a base value");
            if (words >> m.Amplitude) words >> m.Cycles;
        };
        if (key == "source") {
            if (!(words >> recipe.Source)) fail("source needs a file name");
        } else if (key == "frames") {
            if (!(words >> recipe.Frames) || recipe.Frames < 1 || recipe.Frames > 256)
                fail("frames must be 1..256");
        } else if (key == "size") {
            if (!(words >> recipe.Width >> recipe.Height) || recipe.Width < 1 ||
                recipe.Height < 1 || recipe.Width > 1024 || recipe.Height > 1024)
                fail("size must be two numbers 1..1024");
        } else if (key == "rotate") {
            motion(recipe.Rotate);
        } else if (key == "spin") {
            if (!(words >> recipe.Spin)) fail("spin needs degrees");
        } else if (key == "scale") {
            motion(recipe.Scale);
        } else if (key == "dx") {
            motion(recipe.Dx);
        } else if (key == "dy") {
            motion(recipe.Dy);
        } else if (key == "opacity") {
            motion(recipe.Opacity);
        } else if (key == "strip" || key == "still") {
            TStripOutput output;
            output.Still = key == "still";
            if (!(words >> output.Entry)) fail(key + " needs an entry name");
            for (std::string layer; words >> layer;) output.Layers.push_back("#" + layer);
            if (output.Layers.empty()) fail(key + " needs at least one layer");
            recipe.Outputs.push_back(std::move(output));
        } else {
            fail("unknown directive " + key);
        }
        std::string extra;
        if (words.clear(), words >> extra) fail("unexpected " + extra);
    }
    if (recipe.Source.empty()) throw std::runtime_error("recipe names no source");
    if (recipe.Width == 0) throw std::runtime_error("recipe gives no frame size");
    return recipe;
}

TPngPicture RenderStripOutput(const TSvgPicture& picture, const TStripRecipe& recipe,
                              const TStripOutput& output) {
    const int frames = output.Still ? 1 : recipe.Frames;
    TPngPicture strip = BlankPicture(recipe.Width * frames, recipe.Height);
    for (int frame = 0; frame < frames; ++frame) {
        picture.Render(strip, frame * recipe.Width, 0, recipe.Width, recipe.Height, output.Layers,
                       recipe.FrameTransform(frame));
    }
    return strip;
}
