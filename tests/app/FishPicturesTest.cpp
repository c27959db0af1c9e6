// Building the coloured piece pictures and the ghosts from a small archive of strips and pieces.
#include "app/FishPictures.h"

#include <gtest/gtest.h>

#include "core/KelException.h"
#include "core/ColorHLS.h"
#include "support/FakeDisplay.h"
#include "resources/JpegPNG.h"

namespace {

// A picture whose pixel (x, y) has grey value 40 + 20x + 60y and alpha alphaOf(x, y).
TMemoryStream Picture(int width, int height, uint8_t (*alphaOf)(int, int)) {
    TPngPicture picture;
    picture.Width = width, picture.Height = height, picture.ColorType = pctRgbAlpha;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t grey = uint8_t(40 + 20 * x + 60 * y);
            picture.Color.insert(picture.Color.end(), {grey, grey, grey});
            picture.Alpha.push_back(alphaOf(x, y));
        }
    }
    return TMemoryStream(picture.Encode());
}

uint8_t Opaque(int, int) {
    return 255;
}
uint8_t LeftHalf(int x, int) {
    return x < 2 ? 255 : 0;
}
uint8_t Rising(int x, int) {
    return uint8_t(60 * x);
}

class FishPicturesTest : public ::testing::Test {
  protected:
    FishPicturesTest() : archive(TFileFolder::CreateEmpty("unused.zxc")) {
        store.Create(display);
        TFishkaType strips;
        strips.Name = "Sun";
        strips.PieceCount = 2;
        strips.FrameCount = 2;
        strips.MakeImages = false;
        strips.ColorCount = 3;
        strips.Colors[0] = {"", 0, 0, 190};
        strips.Colors[1] = {"", -80, 10, 150};
        strips.Colors[2] = {"", 45, -20, 100};
        strips.Pictures = {"", "G1", "G2", ""};
        strips.DrawSequence = {{1}, {0}, {2}};
        types.push_back(strips);
        // Strips of two 4 x 2 frames; the frame's last column is opaque.
        for (const char* entry : {"Sun_1_anime.png", "Sun_2_anime.png", "Sun_12_anime.png"})
            archive.AddFile(entry, 1, Picture(8, 2, Opaque));
        archive.AddFile("G1Ghost.png", 1, Picture(4, 2, Rising));
        archive.AddFile("G2Ghost.png", 1, Picture(4, 2, LeftHalf));
    }

    // The colour the store's shift gives a grey value: its bytes 0, 1, 2 in the R, G, B roles.
    uint32_t Shifted(int grey, const TFishColor& color) {
        const THLS hls = RGBToHLS(grey, grey, grey);
        const TRGB rgb =
            HLSToRGB(hls.H + color.Hue, hls.L + color.Saturation, hls.S + color.Lightness);
        return uint32_t(rgb.R) | uint32_t(rgb.G) << 8 | uint32_t(rgb.B) << 16;
    }
    uint8_t AlphaAt(const std::string& name, int x, int y) {
        TSurface* s = store.FindSurface(name);
        return s->Alpha[size_t(y) * s->Width + x];
    }

    FakeDisplay display;
    TSurfEngine store;
    TFileFolder archive;
    TFishkaTypes types;
};

}  // namespace

TEST_F(FishPicturesTest, NamesFollowTypeMaskAndColour) {
    EXPECT_EQ(FishPictureName(types[0], 5, 2), "Sun5c3");
    EXPECT_EQ(GhostPictureName(types[0], 7), "Sun7cG");
    const char* strips[] = {"",
                            "Sun_1_anime.png",
                            "Sun_2_anime.png",
                            "Sun_12_anime.png",
                            "Sun_3_anime.png",
                            "Sun_13_anime.png",
                            "Sun_23_anime.png",
                            "Sun_123_anime.png"};
    for (int q = 1; q < 8; ++q) EXPECT_EQ(StripEntryName(types[0], q), strips[q]);
}

TEST_F(FishPicturesTest, BuildsOnlyTheLevelsColoursFromWholeRecolouredStrips) {
    BuildColorFishPictures(store, archive, types, {{0, 1}, {5, 0}, {0, 7}});
    for (int q = 1; q <= 3; ++q) {
        for (int k = 0; k < 3; ++k) {
            const std::string still = FishPictureName(types[0], q, k);
            EXPECT_EQ(store.IndexOfSurface(still) >= 0, k == 1) << still;
            EXPECT_EQ(store.IndexOfSurface(still + "anime") >= 0, k == 1) << still;
        }
    }
    EXPECT_EQ(store.GetSurfaceSize("Sun3c2"), (TPoint{4, 2}));
    EXPECT_EQ(store.GetSurfaceSize("Sun3c2anime"), (TPoint{8, 2}));
    EXPECT_EQ(types[0].PieceWidth, 8);
    EXPECT_EQ(types[0].PieceHeight, 2);
    // Every pixel of frame 0, its last column and row too, recoloured; the strip likewise.
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 8; ++x) {
            const uint32_t expected = Shifted(40 + 20 * x + 60 * y, types[0].Colors[1]);
            if (x < 4) {
                EXPECT_EQ(PixelAt(store, "Sun1c2", x, y) & 0xFFFFFF, expected) << x << "," << y;
                EXPECT_EQ(AlphaAt("Sun1c2", x, y), 255);
            }
            EXPECT_EQ(PixelAt(store, "Sun3c2anime", x, y) & 0xFFFFFF, expected) << x << "," << y;
        }
    }
}

TEST_F(FishPicturesTest, ReusesExistingPicturesAndLeavesGapsForMissingStrips) {
    store.CreateEmptySurface("Sun2c1", 3, 3);
    FillSurface(store, "Sun2c1", 0x123456);
    types[0].PieceCount = 3;  // Sun_3_anime.png and the others with piece 3 are missing
    BuildColorFishPictures(store, archive, types, {{0, 0}});
    EXPECT_EQ(store.GetSurfaceSize("Sun2c1"), (TPoint{3, 3}));
    EXPECT_EQ(PixelAt(store, "Sun2c1", 1, 1), 0x123456u);
    EXPECT_EQ(store.GetSurfaceSize("Sun2c1anime"), (TPoint{8, 2}));
    EXPECT_LT(store.IndexOfSurface("Sun4c1"), 0);
    EXPECT_LT(store.IndexOfSurface("Sun7c1anime"), 0);
    EXPECT_GE(store.IndexOfSurface("Sun3c1"), 0);
}

TEST_F(FishPicturesTest, GhostCompositesKeepTheFirstPiecesEdgesAndBlendTheRest) {
    MakeGhostFishes(store, archive, types);
    for (const char* name : {"Sun1cG", "Sun2cG", "Sun3cG"})
        EXPECT_EQ(store.GetSurfaceSize(name), (TPoint{4, 2})) << name;
    // Piece 1 fades in from the left; piece 2 covers the left half.
    const uint32_t grey[] = {0x282828, 0x3C3C3C, 0x505050, 0x646464};
    EXPECT_EQ(PixelAt(store, "Sun3cG", 0, 0) & 0xFFFFFF, grey[0]);  // piece 2 on top
    EXPECT_EQ(PixelAt(store, "Sun3cG", 1, 0) & 0xFFFFFF, grey[1]);
    // Right half: piece 1 alone, its own colour under partial alpha, not darkened by it (the
    // blend of piece 2's transparent pixels takes at most 1 off each channel).
    EXPECT_NEAR(int(PixelAt(store, "Sun3cG", 2, 0) & 0xFF), int(grey[2] & 0xFF), 1);
    EXPECT_NEAR(int(PixelAt(store, "Sun3cG", 3, 0) & 0xFF), int(grey[3] & 0xFF), 1);
    EXPECT_EQ(AlphaAt("Sun3cG", 0, 0), 255);
    EXPECT_NEAR(AlphaAt("Sun3cG", 2, 0), 120, 2);
    EXPECT_NEAR(AlphaAt("Sun3cG", 3, 0), 180, 2);
    EXPECT_EQ(AlphaAt("Sun1cG", 1, 1), 60);
    EXPECT_EQ(AlphaAt("Sun2cG", 3, 1), 1);  // the merge into a buffer of 0 gives 1, not 0
}

TEST_F(FishPicturesTest, GeneratedTypesColourThePiecesAndComposeThem) {
    TFishkaType& type = types[0];
    type.MakeImages = true;
    type.Pictures = {"", "Big", "Small", ""};
    type.Colors[0].PostFix = "Red";
    archive.AddFile("BigRed.png", 1, Picture(4, 2, Opaque));
    archive.AddFile("SmallRed.png", 1, Picture(4, 2, LeftHalf));
    BuildColorFishPictures(store, archive, types, {{0, 0}});
    EXPECT_EQ(PixelAt(store, "Sun1c1", 3, 1) & 0xFFFFFF, Shifted(160, type.Colors[0]));
    EXPECT_NEAR(int(PixelAt(store, "Sun3c1", 3, 1) & 0xFF),
                int(Shifted(160, type.Colors[0]) & 0xFF), 1);
    EXPECT_EQ(AlphaAt("Sun2c1", 3, 0), 1);
    EXPECT_EQ(AlphaAt("Sun3c1", 3, 0), 255);
}

TEST_F(FishPicturesTest, BrokenPicturesRaiseTheOperationsError) {
    TFileFolder broken = TFileFolder::CreateEmpty("unused.zxc");
    broken.AddFile("Sun_1_anime.png", 1, TMemoryStream(std::string("not a png")));
    broken.AddFile("G1Ghost.png", 1, TMemoryStream(std::string("not a png")));
    try {
        BuildColorFishPictures(store, broken, types, {{0, 0}});
        ADD_FAILURE();
    } catch (const KelException& error) {
        EXPECT_STREQ(error.what(), "Exception error in TKelGameEngine.MakeColorFishesSurfaces!");
    }
    try {
        MakeGhostFishes(store, broken, types);
        ADD_FAILURE();
    } catch (const KelException& error) {
        EXPECT_STREQ(error.what(), "Exception error in TKelGameEngine.MakeGhostFishes!");
    }
}
