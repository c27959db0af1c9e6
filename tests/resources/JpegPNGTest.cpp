// The picture codecs on fixtures the tests make themselves: every PNG colour type and bit depth
// (plain and interlaced), the six conversions, broken and oversized pictures.
#include "resources/JpegPNG.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>

namespace {

void AppendBytes(png_structp png, png_bytep data, size_t count) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

// Writes packed rows as a PNG; a plain-data frame around libpng's error jump.
bool WritePngRaw(std::vector<uint8_t>* out, int width, int height, int colorType, int depth,
                 bool interlaced, png_bytep* rows, const png_color* palette, int paletteSize) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendBytes, nullptr);
    png_set_IHDR(png, info, width, height, depth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette) png_set_PLTE(png, info, palette, paletteSize);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

int Channels(int colorType) {
    switch (colorType) {
        case 0:
            return 1;
        case 2:
            return 3;
        case 3:
            return 1;
        case 4:
            return 2;
        default:
            return 4;
    }
}

int Sample(int x, int y, int c, int depth) {
    if (depth == 16) return (x * 7919 + y * 10477 + c * 3331) % 65536;
    return (x * 7 + y * 13 + c * 5) % (1 << depth);
}

int To8(int sample, int depth) {
    if (depth == 16) return sample >> 8;
    return sample * 255 / ((1 << depth) - 1);
}

png_color PaletteEntry(int i) {
    return {uint8_t(i * 3), uint8_t(i * 5 + 1), uint8_t(i * 7 + 2)};
}

std::vector<uint8_t> MakePng(int colorType, int depth, int width, int height, bool interlaced) {
    const int channels = Channels(colorType);
    const size_t rowBytes = (size_t(width) * channels * depth + 7) / 8;
    std::vector<uint8_t> pixels(rowBytes * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                const int v = Sample(x, y, c, depth);
                const size_t bit = (size_t(x) * channels + c) * depth;
                uint8_t* row = pixels.data() + y * rowBytes;
                if (depth == 16) {
                    row[bit / 8] = uint8_t(v >> 8);
                    row[bit / 8 + 1] = uint8_t(v);
                } else {
                    row[bit / 8] |= uint8_t(v << (8 - depth - bit % 8));
                }
            }
        }
    }
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y) rows[y] = pixels.data() + y * rowBytes;
    std::vector<png_color> palette;
    if (colorType == 3) {
        for (int i = 0; i < (1 << depth); ++i) palette.push_back(PaletteEntry(i));
    }
    std::vector<uint8_t> out;
    EXPECT_TRUE(WritePngRaw(&out, width, height, colorType, depth, interlaced, rows.data(),
                            palette.empty() ? nullptr : palette.data(), int(palette.size())));
    return out;
}

TBitmap24 Gradient(int width, int height) {
    TBitmap24 bitmap{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = bitmap.Row(y) + 3 * x;
            p[0] = uint8_t(x * 4), p[1] = uint8_t(y * 4), p[2] = uint8_t(128);
        }
    }
    return bitmap;
}

std::vector<uint8_t> RgbaPng(int width, int height, uint8_t alpha) {
    TPngPicture picture;
    picture.Assign(Gradient(width, height));
    picture.CreateAlpha();
    std::fill(picture.Alpha.begin(), picture.Alpha.end(), alpha);
    return picture.Encode();
}

std::vector<uint8_t> GreyPng(int width, int height, uint8_t (*value)(int, int)) {
    TPngPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.ColorType = pctGrey;
    picture.Color.resize(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) std::memset(picture.ColorRow(y) + 3 * x, value(x, y), 3);
    }
    return picture.Encode();
}

}  // namespace

TEST(JpegPNGTest, DecodesEveryColourTypeAndBitDepth) {
    const struct {
        int colorType;
        std::vector<int> depths;
    } kinds[] = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    for (const auto& kind : kinds) {
        for (int depth : kind.depths) {
            for (bool interlaced : {false, true}) {
                SCOPED_TRACE(testing::Message() << "type " << kind.colorType << " depth " << depth
                                                << (interlaced ? " interlaced" : ""));
                const int w = 13, h = 7;
                const TPngPicture p =
                    TPngPicture::Decode(MakePng(kind.colorType, depth, w, h, interlaced));
                ASSERT_EQ(w, p.Width);
                ASSERT_EQ(h, p.Height);
                EXPECT_EQ(kind.colorType, p.ColorType);
                EXPECT_EQ(kind.colorType >= 4, p.HasAlpha());
                for (int y = 0; y < h; ++y) {
                    for (int x = 0; x < w; ++x) {
                        int r, g, b;
                        if (kind.colorType == 3) {
                            const png_color e = PaletteEntry(Sample(x, y, 0, depth));
                            r = e.red, g = e.green, b = e.blue;
                        } else if (kind.colorType == 2 || kind.colorType == 6) {
                            r = To8(Sample(x, y, 0, depth), depth);
                            g = To8(Sample(x, y, 1, depth), depth);
                            b = To8(Sample(x, y, 2, depth), depth);
                        } else {
                            r = g = b = To8(Sample(x, y, 0, depth), depth);
                        }
                        const uint8_t* bgr = p.ColorRow(y) + 3 * x;
                        ASSERT_EQ(b, bgr[0]) << x << "," << y;
                        ASSERT_EQ(g, bgr[1]) << x << "," << y;
                        ASSERT_EQ(r, bgr[2]) << x << "," << y;
                        if (p.HasAlpha()) {
                            const int alphaChannel = kind.colorType == 4 ? 1 : 3;
                            ASSERT_EQ(To8(Sample(x, y, alphaChannel, depth), depth),
                                      p.AlphaRow(y)[x]);
                        }
                    }
                }
            }
        }
    }
}

TEST(JpegPNGTest, EncodedPicturesDecodeToTheSamePixels) {
    for (int type : {pctGrey, pctRgb, pctGreyAlpha, pctRgbAlpha}) {
        const TPngPicture original = TPngPicture::Decode(MakePng(type, 8, 9, 5, false));
        const TPngPicture copy = TPngPicture::Decode(original.Encode());
        EXPECT_EQ(type, copy.ColorType);
        EXPECT_EQ(original.Color, copy.Color);
        EXPECT_EQ(original.Alpha, copy.Alpha);
    }
}

TEST(JpegPNGTest, PngToJpegUsesTheQualityAnd255MeansNinety) {
    const std::vector<uint8_t> png = RgbaPng(32, 24, 10);
    const TBitmap24 bitmap = TPngPicture::Decode(png).ToBitmap();
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(PngToJpeg(png, 255, jpeg));
    EXPECT_EQ(EncodeJpeg(bitmap, 90), jpeg);
    ASSERT_TRUE(PngToJpeg(png, 75, jpeg));
    EXPECT_EQ(EncodeJpeg(bitmap, 75), jpeg);
    const TBitmap24 decoded = DecodeJpeg(jpeg);
    EXPECT_EQ(32, decoded.Width);
    EXPECT_EQ(24, decoded.Height);
    std::vector<uint8_t> back;
    ASSERT_TRUE(JpegToPng(jpeg, back));
    const TPngPicture rgb = TPngPicture::Decode(back);
    EXPECT_EQ(pctRgb, rgb.ColorType);
    EXPECT_EQ(decoded.Bgr, rgb.Color);
}

TEST(JpegPNGTest, MasksCarryTheAlphaBothWays) {
    std::vector<uint8_t> mask;
    ASSERT_TRUE(PngAlphaToMask(RgbaPng(8, 6, 128), mask));
    const TPngPicture grey = TPngPicture::Decode(mask);
    EXPECT_EQ(pctGrey, grey.ColorType);
    EXPECT_EQ(std::vector<uint8_t>(8 * 6 * 3, 128), grey.Color);
    // A picture without alpha gives an opaque mask.
    ASSERT_TRUE(PngAlphaToMask(MakePng(pctRgb, 8, 4, 4, false), mask));
    EXPECT_EQ(std::vector<uint8_t>(4 * 4 * 3, 255), TPngPicture::Decode(mask).Color);

    const auto pattern = [](int x, int y) { return uint8_t(x * 30 + y); };
    const std::vector<uint8_t> patternMask = GreyPng(8, 6, pattern);
    std::vector<uint8_t> jpeg, png;
    ASSERT_TRUE(PngToJpeg(RgbaPng(8, 6, 1), 80, jpeg));
    ASSERT_TRUE(JpegWithMaskToPng(jpeg, patternMask, png));
    const TPngPicture withMask = TPngPicture::Decode(png);
    EXPECT_EQ(pctRgbAlpha, withMask.ColorType);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) EXPECT_EQ(pattern(x, y), withMask.AlphaRow(y)[x]);
    }
    ASSERT_TRUE(PngWithMask(MakePng(pctGrey, 8, 8, 6, false), patternMask, png));
    EXPECT_EQ(pctGreyAlpha, TPngPicture::Decode(png).ColorType);
    EXPECT_EQ(pattern(7, 5), TPngPicture::Decode(png).AlphaRow(5)[7]);
}

TEST(JpegPNGTest, ConversionsFailCleanlyOnBadInput) {
    const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
    std::vector<uint8_t> jpeg = {1, 2, 3}, result = {4};
    std::optional<std::vector<uint8_t>> mask;
    EXPECT_FALSE(SplitPng(junk, 90, jpeg, mask));
    EXPECT_TRUE(jpeg.empty());
    EXPECT_FALSE(mask.has_value());
    ASSERT_TRUE(SplitPng(RgbaPng(4, 4, 200), 90, jpeg, mask));
    ASSERT_TRUE(mask.has_value());
    EXPECT_EQ(200, TPngPicture::Decode(*mask).Color[0]);

    // A mask smaller than the picture is refused, not overread.
    const std::vector<uint8_t> small = GreyPng(7, 6, [](int, int) { return uint8_t(9); });
    EXPECT_FALSE(PngWithMask(RgbaPng(8, 6, 1), small, result));
    EXPECT_TRUE(result.empty());
    EXPECT_FALSE(
        JpegWithMaskToPng(jpeg, GreyPng(4, 3, [](int, int) { return uint8_t(1); }), result));
    EXPECT_FALSE(JpegToPng(junk, result));
    EXPECT_FALSE(PngToJpeg({}, 90, result));
    EXPECT_FALSE(PngAlphaToMask(junk, result));
}

TEST(JpegPNGTest, TruncatedAndOversizedPicturesAreErrors) {
    const std::vector<uint8_t> png = MakePng(pctRgbAlpha, 8, 40, 30, true);
    for (size_t size : {size_t(0), size_t(8), size_t(30), png.size() / 2, png.size() - 13}) {
        EXPECT_THROW(TPngPicture::Decode(std::span(png.data(), size)), TPictureError) << size;
    }
    const std::vector<uint8_t> jpeg = EncodeJpeg(Gradient(40, 30), 80);
    for (size_t size : {size_t(0), size_t(2), size_t(100)}) {
        EXPECT_THROW(DecodeJpeg(std::span(jpeg.data(), size)), TPictureError) << size;
    }
    // A JPEG cut in its data still yields a picture of the full size.
    EXPECT_EQ(30, DecodeJpeg(std::span(jpeg.data(), jpeg.size() - 40)).Height);

    // Headers that ask for a huge picture are refused before any pixel memory is taken.
    std::vector<uint8_t> hugePng = MakePng(pctRgb, 8, 2, 2, false);
    const uint8_t side[4] = {0, 0, 0x4E, 0x20};  // 20000
    std::memcpy(&hugePng[16], side, 4);
    std::memcpy(&hugePng[20], side, 4);
    const uint32_t crc = uint32_t(crc32(0, &hugePng[12], 17));
    const uint8_t crcBytes[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8),
                                 uint8_t(crc)};
    std::memcpy(&hugePng[29], crcBytes, 4);
    EXPECT_THROW(TPngPicture::Decode(hugePng), TPictureError);
    std::vector<uint8_t> hugeJpeg = jpeg;
    for (size_t i = 0; i + 8 < hugeJpeg.size(); ++i) {
        if (hugeJpeg[i] == 0xFF && hugeJpeg[i + 1] == 0xC0) {  // start of frame: height, width
            hugeJpeg[i + 5] = hugeJpeg[i + 6] = hugeJpeg[i + 7] = hugeJpeg[i + 8] = 0xF0;
            break;
        }
    }
    EXPECT_THROW(DecodeJpeg(hugeJpeg), TPictureError);
    EXPECT_THROW(TPngPicture::LoadFromFile("/nonexistent/picture.png"), TPictureFileMissing);
}
