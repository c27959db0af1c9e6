// The PNG and JPEG codecs and the conversions between them. libpng and libjpeg report errors by
// long jumps, so every call into them sits in a small C-style function whose frame holds only
// plain data; buffers those functions fill are malloc'd into plain state structs and handed to
// C++ containers after the function returned.
#include "resources/JpegPNG.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <sys/stat.h>
#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

constexpr size_t MaxPictureFileBytes = size_t(256) << 20;

bool SizeAllowed(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= uint64_t(MaxPictureSide) &&
           height <= uint64_t(MaxPictureSide) && width * height <= uint64_t(MaxPicturePixels);
}

// ---- PNG decoding ----

struct TPngReadState {
    const uint8_t* Data;
    size_t Size, Position;
    char Message[160];
    uint32_t Width, Height;
    int ColorType, Channels;
    unsigned char* Pixels;  // Height rows of Width x Channels bytes
    png_bytep* Rows;
};

void PngError(png_structp png, png_const_charp message) {
    auto* state = static_cast<TPngReadState*>(png_get_error_ptr(png));
    std::snprintf(state->Message, sizeof state->Message, "%s", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep out, size_t count) {
    auto* state = static_cast<TPngReadState*>(png_get_io_ptr(png));
    if (count > state->Size - state->Position) png_error(png, "truncated PNG data");
    std::memcpy(out, state->Data + state->Position, count);
    state->Position += count;
}

// Decodes into state->Pixels (RGB or RGBA after the transforms). False with state->Message set
// on any error; nothing is left allocated then.
bool DecodePngRaw(TPngReadState* state) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state, PngError, PngWarning);
    if (!png) {
        std::snprintf(state->Message, sizeof state->Message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::free(state->Rows);
        std::free(state->Pixels);
        state->Rows = nullptr;
        state->Pixels = nullptr;
        return false;
    }
    if (!info) png_error(png, "out of memory");
    png_set_read_fn(png, state, PngRead);
    png_set_user_limits(png, MaxPictureSide, MaxPictureSide);
    png_set_chunk_malloc_max(png, 16u << 20);
    png_read_info(png, info);
    state->Width = png_get_image_width(png, info);
    state->Height = png_get_image_height(png, info);
    state->ColorType = png_get_color_type(png, info);
    if (!SizeAllowed(state->Width, state->Height)) png_error(png, "picture too large");
    png_set_strip_16(png);
    png_set_packing(png);
    if (state->ColorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (!(state->ColorType & PNG_COLOR_MASK_COLOR)) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    state->Channels = png_get_channels(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if ((state->Channels != 3 && state->Channels != 4) ||
        rowBytes != size_t(state->Width) * state->Channels) {
        png_error(png, "unsupported PNG layout");
    }
    state->Pixels = static_cast<unsigned char*>(std::malloc(rowBytes * state->Height));
    state->Rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * state->Height));
    if (!state->Pixels || !state->Rows) png_error(png, "out of memory");
    for (uint32_t y = 0; y < state->Height; ++y) state->Rows[y] = state->Pixels + y * rowBytes;
    png_read_image(png, state->Rows);
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(state->Rows);
    state->Rows = nullptr;
    return true;
}

// ---- PNG encoding ----

struct TPngWriteState {
    unsigned char* Data;
    size_t Size, Capacity;
    char Message[160];
};

void PngWriteError(png_structp png, png_const_charp message) {
    auto* state = static_cast<TPngWriteState*>(png_get_error_ptr(png));
    std::snprintf(state->Message, sizeof state->Message, "%s", message);
    png_longjmp(png, 1);
}

void PngWrite(png_structp png, png_bytep data, size_t count) {
    auto* state = static_cast<TPngWriteState*>(png_get_io_ptr(png));
    if (state->Size + count > state->Capacity) {
        const size_t capacity = std::max(state->Capacity * 2, state->Size + count + 4096);
        auto* grown = static_cast<unsigned char*>(std::realloc(state->Data, capacity));
        if (!grown) png_error(png, "out of memory");
        state->Data = grown;
        state->Capacity = capacity;
    }
    std::memcpy(state->Data + state->Size, data, count);
    state->Size += count;
}

void PngFlush(png_structp) {}

bool EncodePngRaw(TPngWriteState* state, const unsigned char* pixels, uint32_t width,
                  uint32_t height, int colorType, size_t rowBytes) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, state, PngWriteError, PngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    if (!info) png_error(png, "out of memory");
    png_set_write_fn(png, state, PngWrite, PngFlush);
    png_set_IHDR(png, info, width, height, 8, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < height; ++y) {
        png_write_row(png, const_cast<png_bytep>(pixels + y * rowBytes));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// ---- JPEG ----

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    info->err->format_message(info, error->Message);
    std::longjmp(error->Jump, 1);
}

void JpegSilence(j_common_ptr) {}

struct TJpegReadState {
    const uint8_t* Data;
    size_t Size;
    TJpegError Error;
    uint32_t Width, Height;
    unsigned char* Pixels;  // Height rows of 3 x Width bytes, blue, green, red
};

bool DecodeJpegRaw(TJpegReadState* state) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&state->Error.Manager);
    state->Error.Manager.error_exit = JpegErrorExit;
    state->Error.Manager.output_message = JpegSilence;
    if (setjmp(state->Error.Jump)) {
        jpeg_destroy_decompress(&info);
        std::free(state->Pixels);
        state->Pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, state->Data, static_cast<unsigned long>(state->Size));
    jpeg_read_header(&info, TRUE);
    if (!SizeAllowed(info.image_width, info.image_height)) {
        std::snprintf(state->Error.Message, sizeof state->Error.Message, "picture too large");
        std::longjmp(state->Error.Jump, 1);
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    state->Width = info.output_width;
    state->Height = info.output_height;
    const size_t rowBytes = size_t(state->Width) * 3;
    state->Pixels = static_cast<unsigned char*>(std::malloc(rowBytes * state->Height));
    if (!state->Pixels || info.output_components != 3) {
        std::snprintf(state->Error.Message, sizeof state->Error.Message, "unsupported JPEG");
        std::longjmp(state->Error.Jump, 1);
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = state->Pixels + size_t(info.output_scanline) * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct TJpegWriteState {
    TJpegError Error;
    unsigned char* Data;  // malloc'd by the library
    unsigned long Size;
};

bool EncodeJpegRaw(TJpegWriteState* state, const unsigned char* pixels, uint32_t width,
                   uint32_t height, int quality) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&state->Error.Manager);
    state->Error.Manager.error_exit = JpegErrorExit;
    state->Error.Manager.output_message = JpegSilence;
    if (setjmp(state->Error.Jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &state->Data, &state->Size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + size_t(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

// ---- helpers of the conversions ----

// Copies the mask's grey values into the picture's alpha rows; false when the mask is smaller.
bool TakeAlphaFromMask(TPngPicture& picture, const TPngPicture& mask) {
    if (mask.Width < picture.Width || mask.Height < picture.Height) return false;
    picture.CreateAlpha();
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* grey = mask.ColorRow(y);
        uint8_t* alpha = picture.AlphaRow(y);
        for (int x = 0; x < picture.Width; ++x) alpha[x] = grey[3 * x];
    }
    return true;
}

template <class F>
bool Converting(std::vector<uint8_t>& result, F&& convert) {
    result.clear();
    try {
        convert();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

void TPngPicture::CreateAlpha() {
    if (HasAlpha()) return;
    ColorType = (ColorType == pctGrey) ? pctGreyAlpha : pctRgbAlpha;
    Alpha.assign(size_t(Width) * Height, 255);
}

void TPngPicture::Assign(const TBitmap24& bitmap) {
    Width = bitmap.Width;
    Height = bitmap.Height;
    ColorType = pctRgb;
    Color = bitmap.Bgr;
    Alpha.clear();
}

TBitmap24 TPngPicture::ToBitmap() const {
    return TBitmap24{Width, Height, Color};
}

TPngPicture TPngPicture::Decode(std::span<const uint8_t> bytes) {
    TPngReadState state{};
    state.Data = bytes.data();
    state.Size = bytes.size();
    if (!DecodePngRaw(&state)) throw TPictureError(std::string("PNG: ") + state.Message);
    TPngPicture picture;
    picture.Width = int(state.Width);
    picture.Height = int(state.Height);
    picture.ColorType = state.ColorType;
    const size_t pixels = size_t(state.Width) * state.Height;
    picture.Color.resize(pixels * 3);
    const bool keepAlpha = picture.HasAlpha() && state.Channels == 4;
    if (picture.HasAlpha()) picture.Alpha.assign(pixels, 255);
    for (size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = state.Pixels + i * state.Channels;
        picture.Color[3 * i] = p[2];
        picture.Color[3 * i + 1] = p[1];
        picture.Color[3 * i + 2] = p[0];
        if (keepAlpha) picture.Alpha[i] = p[3];
    }
    std::free(state.Pixels);
    return picture;
}

TPngPicture TPngPicture::LoadFromFile(const std::string& path) {
    return Decode(ReadPictureFile(path));
}

std::vector<uint8_t> TPngPicture::Encode() const {
    if (!SizeAllowed(uint64_t(std::max(Width, 0)), uint64_t(std::max(Height, 0))) ||
        Color.size() < size_t(Width) * Height * 3 ||
        (HasAlpha() && Alpha.size() < size_t(Width) * Height)) {
        throw TPictureError("PNG: nothing to save");
    }
    const bool grey = ColorType == pctGrey || ColorType == pctGreyAlpha;
    const int channels = (grey ? 1 : 3) + (HasAlpha() ? 1 : 0);
    const int type = grey ? (HasAlpha() ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_GRAY)
                          : (HasAlpha() ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB);
    const size_t pixels = size_t(Width) * Height;
    std::vector<uint8_t> raw(pixels * channels);
    for (size_t i = 0; i < pixels; ++i) {
        uint8_t* p = raw.data() + i * channels;
        const uint8_t* c = Color.data() + 3 * i;
        if (grey) {
            p[0] = c[0];
        } else {
            p[0] = c[2];
            p[1] = c[1];
            p[2] = c[0];
        }
        if (HasAlpha()) p[channels - 1] = Alpha[i];
    }
    TPngWriteState state{};
    const bool ok = EncodePngRaw(&state, raw.data(), uint32_t(Width), uint32_t(Height), type,
                                 size_t(Width) * channels);
    std::vector<uint8_t> bytes;
    if (ok) bytes.assign(state.Data, state.Data + state.Size);
    std::free(state.Data);
    if (!ok) throw TPictureError(std::string("PNG: ") + state.Message);
    return bytes;
}

TBitmap24 DecodeJpeg(std::span<const uint8_t> bytes) {
    TJpegReadState state{};
    state.Data = bytes.data();
    state.Size = bytes.size();
    if (!DecodeJpegRaw(&state)) throw TPictureError(std::string("JPEG: ") + state.Error.Message);
    TBitmap24 bitmap{int(state.Width), int(state.Height), {}};
    bitmap.Bgr.assign(state.Pixels, state.Pixels + size_t(state.Width) * state.Height * 3);
    std::free(state.Pixels);
    return bitmap;
}

TBitmap24 LoadJpegFile(const std::string& path) {
    return DecodeJpeg(ReadPictureFile(path));
}

std::vector<uint8_t> EncodeJpeg(const TBitmap24& bitmap, int quality) {
    if (!SizeAllowed(uint64_t(std::max(bitmap.Width, 0)), uint64_t(std::max(bitmap.Height, 0))) ||
        bitmap.Bgr.size() < size_t(bitmap.Width) * bitmap.Height * 3) {
        throw TPictureError("JPEG: nothing to save");
    }
    TJpegWriteState state{};
    const bool ok = EncodeJpegRaw(&state, bitmap.Bgr.data(), uint32_t(bitmap.Width),
                                  uint32_t(bitmap.Height), std::clamp(quality, 1, 100));
    std::vector<uint8_t> bytes;
    if (ok) bytes.assign(state.Data, state.Data + state.Size);
    std::free(state.Data);
    if (!ok) throw TPictureError(std::string("JPEG: ") + state.Error.Message);
    return bytes;
}

std::vector<uint8_t> ReadPictureFile(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw TPictureFileMissing("picture file not found: " + path);
    }
    if (size_t(info.st_size) > MaxPictureFileBytes) {
        throw TPictureError("picture file too large: " + path);
    }
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes(size_t(info.st_size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()))) {
        throw TPictureError("cannot read picture file: " + path);
    }
    return bytes;
}

bool PngToJpeg(std::span<const uint8_t> png, uint8_t quality, std::vector<uint8_t>& result) {
    return Converting(result, [&] {
        result = EncodeJpeg(TPngPicture::Decode(png).ToBitmap(), quality == 255 ? 90 : quality);
    });
}

bool JpegToPng(std::span<const uint8_t> jpeg, std::vector<uint8_t>& result) {
    return Converting(result, [&] {
        TPngPicture picture;
        picture.Assign(DecodeJpeg(jpeg));
        result = picture.Encode();
    });
}

bool PngAlphaToMask(std::span<const uint8_t> png, std::vector<uint8_t>& result) {
    return Converting(result, [&] {
        const TPngPicture source = TPngPicture::Decode(png);
        TPngPicture mask;
        mask.Width = source.Width;
        mask.Height = source.Height;
        mask.ColorType = pctGrey;
        mask.Color.assign(size_t(source.Width) * source.Height * 3, 255);
        if (source.HasAlpha()) {
            for (size_t i = 0; i < source.Alpha.size(); ++i) {
                std::memset(&mask.Color[3 * i], source.Alpha[i], 3);
            }
        }
        result = mask.Encode();
    });
}

bool PngWithMask(std::span<const uint8_t> png, std::span<const uint8_t> mask,
                 std::vector<uint8_t>& result) {
    return Converting(result, [&] {
        TPngPicture picture = TPngPicture::Decode(png);
        if (!TakeAlphaFromMask(picture, TPngPicture::Decode(mask))) {
            throw TPictureError("mask smaller than the picture");
        }
        result = picture.Encode();
    });
}

bool SplitPng(std::span<const uint8_t> png, uint8_t quality, std::vector<uint8_t>& jpeg,
              std::optional<std::vector<uint8_t>>& mask) {
    mask.reset();
    if (!PngToJpeg(png, quality, jpeg)) return false;
    mask.emplace();
    return PngAlphaToMask(png, *mask);
}

bool JpegWithMaskToPng(std::span<const uint8_t> jpeg, std::span<const uint8_t> mask,
                       std::vector<uint8_t>& result) {
    return Converting(result, [&] {
        TPngPicture picture;
        picture.Assign(DecodeJpeg(jpeg));
        if (!TakeAlphaFromMask(picture, TPngPicture::Decode(mask))) {
            throw TPictureError("mask smaller than the picture");
        }
        result = picture.Encode();
    });
}
