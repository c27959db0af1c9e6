// The window's icon: a PNG picture of the data folder as ARGB pixels, nothing when it cannot be.
#include "app/WindowIcon.h"

#include <gtest/gtest.h>

#include "core/MemoryStream.h"
#include "resources/JpegPNG.h"
#include "support/TempFolder.h"

namespace {

void WritePicture(const TempFolder& folder, const std::string& name, TPngPicture picture) {
    TMemoryStream(picture.Encode()).SaveToFile(folder.File(name));
}

TEST(WindowIconTest, ReadsColourAndAlphaAsArgb) {
    TempFolder folder;
    TPngPicture picture{2, 1, pctRgbAlpha, {0x10, 0x20, 0x30, 0xFF, 0x00, 0x80}, {0x40, 0xFF}};
    WritePicture(folder, "icon.png", picture);
    const TIconPixels icon = LoadIconPixels(folder.File("icon.png"));
    EXPECT_EQ(icon.Width, 2);
    EXPECT_EQ(icon.Height, 1);
    EXPECT_EQ(icon.Argb, (std::vector<uint32_t>{0x40302010, 0xFF8000FF}));

    WritePicture(folder, "opaque.png", TPngPicture{1, 1, pctRgb, {1, 2, 3}, {}});
    EXPECT_EQ(LoadIconPixels(folder.File("opaque.png")).Argb, std::vector<uint32_t>{0xFF030201});
}

TEST(WindowIconTest, NothingForAMissingBrokenOrLargePicture) {
    TempFolder folder;
    folder.Write("broken.png", "not a picture");
    TPngPicture large{257, 1, pctRgb, std::vector<uint8_t>(257 * 3), {}};
    WritePicture(folder, "large.png", large);
    for (const char* name : {"missing.png", "broken.png", "large.png"}) {
        const TIconPixels icon = LoadIconPixels(folder.File(name));
        EXPECT_TRUE(icon.Argb.empty()) << name;
        EXPECT_EQ(icon.Width, 0) << name;
    }
}

}  // namespace
