// TSurfEngine: the store of named surfaces in the display's pixel format (system memory, with an
// optional alpha buffer of one byte per pixel), the pictures loaded into it from PNG and JPEG,
// presentation of the changed rectangles of the frame, and the drawing operations between
// surfaces: copies, alpha draws, fills, additive blends, shaders, lines and colour shifts.
// Relies on the platform display (IDisplay), the picture codecs (JpegPNG), the pixel operations
// (PixelOps) and the archive (TFileFolder). Single-threaded.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "graphics/CharsRects.h"
#include "graphics/PixelLayout.h"
#include "graphics/PixelOps.h"
#include "graphics/RowKernels.h"
#include "platform/Platform.h"

struct TPngPicture;

// Receives the lines the store writes to the run log.
using TLogSink = std::function<void(const std::string&)>;

struct TSurface {
    std::string Name;      // the key, compared exactly
    std::string FileName;  // archive entry or disk file; empty for blank surfaces
    int AlphaPitch = -1;   // Width when there is an alpha buffer, else -1
    int Width = 0, Height = 0;
    std::vector<uint8_t> Alpha;   // Width x Height bytes, or empty
    std::vector<uint8_t> Pixels;  // the pixel buffer; empty after the display was released
    uint8_t* Bits = nullptr;      // top-left pixel, stable for the buffer's life
    int Pitch = 0;

    bool HasSurface() const { return Bits != nullptr; }
    bool HasAlpha() const { return AlphaPitch >= 0; }
    TPixelView View() {
        return {Bits, Pitch, Width, Height, Alpha.empty() ? nullptr : Alpha.data()};
    }
};

// A shader picture: nine kernel weights per pixel, row by row.
struct TSurfaceShader {
    std::string Name;
    int Width = 0, Height = 0;
    std::vector<uint8_t> Kernels;
    const uint8_t* Kernel(int x, int y) const { return &Kernels[9 * (size_t(y) * Width + x)]; }
};

class TFileFolder;

class TSurfEngine {
  public:
    // Pictures larger than this in either direction are refused, so that no picture header can
    // ask for more than 16384 x 16384 x 4 bytes.
    static constexpr int MaxSurfaceSide = 16384;

    IDisplay* Display = nullptr;
    int ScreenWidth = 800;
    int ScreenHeight = 600;
    std::vector<TSurface> Surfaces;
    std::vector<TSurfaceShader> Shaders;
    TPixelLayout PixelFormat;
    // The window's visible region in client coordinates. The platform always shows the whole
    // client area, so this is one rectangle: the screen.
    std::vector<TRect> ClipList;
    std::function<void(int)> OnProgress;
    TLogSink Log;
    // The row kernels the drawing operations use; the fastest the processor runs.
    const TRowKernels* Kernels = &TRowKernels::Active();

    TSurfEngine() = default;
    TSurfEngine(const TSurfEngine&) = delete;
    TSurfEngine& operator=(const TSurfEngine&) = delete;
    ~TSurfEngine() { Destroy(); }

    // Binds the engine to an open display and analyses its pixel format. Called again after a
    // display change; the surface records are kept.
    void Create(IDisplay& display, int width = 800, int height = 600);
    // Releases every surface, alpha buffer and shader and forgets the display.
    void Destroy();

    // --- the store ---
    int IndexOfSurface(const std::string& name) const;
    TSurface* FindSurface(const std::string& name);
    void AddSurface(TSurface surface);
    TPoint GetSurfaceSize(const std::string& name) const;
    void DeleteSurface(const std::string& name);
    // Gives the record a fresh pixel buffer of width x height in the display's format; false
    // (record unchanged) for sizes outside 1..MaxSurfaceSide.
    bool CreateSurface(TSurface& surface, int width, int height);
    bool CreateEmptySurface(const std::string& name, int width, int height);
    void CreateAlphaChannel(const std::string& name, uint8_t value);
    void FillAlphaChannel(const std::string& name, uint8_t value);
    // Frees every record's pixel buffer (names, sizes and alpha buffers stay): the first step of
    // a display change, before Create and ReinitSurfaces.
    void ReleaseSurfaces();

    // --- loading pictures ---
    // A surface from PNG bytes; alwaysAlpha gives a picture without an alpha channel an alpha
    // buffer of 255 (the archive's rule) instead of none (the disk file's rule). Decoder errors
    // throw TPictureError.
    void AddPngSurface(const std::string& name, const std::string& fileName,
                       std::span<const uint8_t> bytes, bool alwaysAlpha);
    void AddJpegSurface(const std::string& name, const std::string& fileName,
                        std::span<const uint8_t> bytes);
    void LoadPNGFromFolder(TFileFolder& folder, const std::string& name,
                           const std::string& gameFolder, const std::string& entryName);
    void LoadJPGFromFolder(TFileFolder& folder, const std::string& name,
                           const std::string& entryName);
    // False when the file does not exist; other decoder errors throw.
    bool LoadPNGFromFile(const std::string& name, const std::string& path);
    bool LoadJPGFromFile(const std::string& name, const std::string& path);
    // Loads the listed pictures of the start-up that no surface has yet, each named by its
    // archive entry: PNG when the name ends in "png" (any case), else JPEG. Reports progress and
    // answers the names that had to be loaded.
    std::vector<std::string> LoadPictureList(TFileFolder& folder,
                                             const std::vector<std::string>& names);
    // Loads every PNG and JPEG file at the top of the folder as a surface named by its file
    // name, in sorted order; a file that does not decode is logged and skipped. Answers the
    // number of surfaces added.
    int LoadLoosePictures(const std::string& folder);
    // Rebuilds the store after a display change: the listed names (blank- or tab-separated)
    // first, then every record still without pixels.
    void ReinitSurfaces(TFileFolder& folder, const std::string& gameFolder,
                        const std::string& names);

    // --- presentation ---
    // The whole screen: (0, 0, ScreenWidth - 1, ScreenHeight - 1).
    TRect WholeScreen() const { return {0, 0, ScreenWidth - 1, ScreenHeight - 1}; }
    void CheckClipper();
    // Replaces the list by its non-empty intersections with the visible region; unchanged when
    // the whole screen is visible.
    void ClipRedrawRects(std::vector<TRect>& rects);
    // Hands the listed rectangles of the frame surface to the display; a rectangle reaching
    // outside the screen is skipped (not clipped), and so is an empty one. Nothing is presented
    // for an empty list or a frame smaller than the screen.
    void PresentRects(const std::string& frameName, std::vector<TRect>& rects);

    // --- blits and blends ---
    void DrawSurface(const std::string& source, const std::string& dest, int x, int y, TRect* rect,
                     uint32_t flags = 16);
    void DrawSurfaceInd(int source, int dest, int x, int y, TRect* rect, uint32_t flags = 16);
    void DrawWithAlphaChannel(const std::string& source, const std::string& dest, int x, int y,
                              uint8_t opacity, TRect* rect, uint32_t color = 0, uint8_t amount = 0,
                              const uint8_t* table = nullptr, bool centred = false);
    void DrawWithAlphaChannelInReal(const std::string& source, const std::string& dest, double x,
                                    double y, uint8_t opacity, TRect* rect, uint32_t color = 0,
                                    uint8_t amount = 0);
    void DrawText(const std::string& fontPicture, const std::string& dest, int count,
                  const TCharsRect* placements);
    void FillRectColor(const std::string& dest, TRect rect, uint32_t color, uint8_t amount);
    void FillRectByte(const std::string& dest, uint8_t value, TRect rect);
    void MergeAlphaChannel(const std::string& source, const std::string& dest, int x, int y,
                           const TRect* rect, uint8_t amount);
    void AddBlend(const std::string& dest, const std::string& a, const std::string& b,
                  const TRect* rectA, const TRect* rectB, const TRect* clip);

    // --- shaders, lines, colour ---
    void LoadAllShadersFromFolder(TFileFolder& folder);
    bool LoadShaderFromFolder(TFileFolder& folder, const std::string& entryName);
    void AddShader(const std::string& name, const TPngPicture& picture);
    int IndexOfShader(const std::string& name) const;
    void DrawShader(const std::string& dest, const std::string& shader, const std::string& source,
                    int x, int y, const TRect* rect);
    void DrawLine(const std::string& dest, uint32_t color, double x1, double y1, double x2,
                  double y2, uint8_t alpha);
    void ChangeHLS(const std::string& name, int dH, int dL, int dS);

  private:
    void WriteLog(const std::string& line) const {
        if (Log) Log(line);
    }
    void Pack(TSurface& surface, const TPngPicture& picture) const;
    void RebuildPicture(TFileFolder& folder, const std::string& gameFolder, const std::string& name,
                        const std::string& fileName);
    bool LoadDiskPicture(const std::string& name, const std::string& fileName,
                         const std::string& path, bool png);
    void CopyOpaque(TSurface& source, TSurface& dest, int x, int y, TRect* rect);
    void ReportProgress(int index, int count, int& threshold) const;
};

// Opens the display the way the game does: the configured depth, then 16 bits. When both fail
// the display is closed, the log receives "Error in init DirectX mode FullScreen=" and the
// option value, and the answer is false; the caller then ends the program.
bool SetUpDisplay(IDisplay& display, int fullScreenMode, int bitCount, const TLogSink& log);
