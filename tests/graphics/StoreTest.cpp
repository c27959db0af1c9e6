// The surface store: pixel-format analysis and packing, records, loading pictures from the
// archive and from files, loose pictures, and the rebuild after a display change.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Log.h"
#include "support/FakeDisplay.h"
#include "graphics/SurfEngine.h"
#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Png(int w, int h, bool alpha, uint8_t red = 200) {
    TPngPicture p;
    p.Width = w;
    p.Height = h;
    p.ColorType = pctRgb;
    p.Color.resize(size_t(w) * h * 3);
    for (size_t i = 0; i < p.Color.size(); i += 3) {
        p.Color[i] = 10, p.Color[i + 1] = 100, p.Color[i + 2] = red;
    }
    if (alpha) {
        p.CreateAlpha();
        for (size_t i = 0; i < p.Alpha.size(); ++i) p.Alpha[i] = uint8_t(i);
    }
    return p.Encode();
}

std::vector<uint8_t> Jpeg(int w, int h) {
    return EncodeJpeg(TBitmap24{w, h, std::vector<uint8_t>(size_t(w) * h * 3, 128)}, 90);
}

void Write(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tervolin-store-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        engine.Create(display);
        engine.Log = [this](const std::string& line) { logged.push_back(line); };
    }
    void TearDown() override { fs::remove_all(folder); }
    void AddEntry(const std::string& name, const std::vector<uint8_t>& bytes) {
        archive.AddFile(name, 0, TMemoryStream(bytes));
    }
    fs::path folder;
    FakeDisplay display;
    TSurfEngine engine;
    TFileFolder archive = TFileFolder::CreateEmpty("unused.zxc");
    std::vector<std::string> logged;
};

}  // namespace

TEST(PixelLayoutTest, AnalysesMasksAndPacksColours) {
    struct Case {
        TPixelFormat format;
        int shifts[3], bits[3];
        const char* name;
    } cases[] = {
        {{16, 0xF800, 0x07E0, 0x001F}, {11, 5, 0}, {5, 6, 5}, "B5G6R5"},
        {{16, 0x7C00, 0x03E0, 0x001F}, {10, 5, 0}, {5, 5, 5}, "B5G5R5"},
        {{32, 0xFF0000, 0x00FF00, 0x0000FF}, {16, 8, 0}, {8, 8, 8}, "B8G8R8"},
        {{32, 0x0000FF, 0x00FF00, 0xFF0000}, {0, 8, 16}, {8, 8, 8}, "R8G8B8"},
    };
    for (const Case& c : cases) {
        const TPixelLayout l = TPixelLayout::FromFormat(c.format);
        EXPECT_EQ(c.name, l.Name);
        EXPECT_EQ(c.shifts[0], l.RShift);
        EXPECT_EQ(c.shifts[1], l.GShift);
        EXPECT_EQ(c.shifts[2], l.BShift);
        EXPECT_EQ(c.bits[0], l.RBits);
        EXPECT_EQ(c.bits[1], l.GBits);
        EXPECT_EQ(c.bits[2], l.BBits);
    }
    const TPixelLayout l565 = TPixelLayout::FromFormat(cases[0].format);
    EXPECT_EQ(0xFFFFu, l565.Pack(255, 255, 255));
    EXPECT_EQ(0u, l565.Pack(7, 3, 7));
    EXPECT_EQ(0x00123456u, TPixelLayout::FromFormat(cases[2].format).Pack(0x12, 0x34, 0x56));
}

TEST_F(StoreTest, RecordsAreFoundAndDeletedFirstByExactName) {
    AddEntry("pic.png", Png(3, 2, true));
    engine.LoadPNGFromFolder(archive, "pic.png", "", "pic.png");
    engine.LoadPNGFromFolder(archive, "pic.png", "", "PIC.PNG");
    engine.CreateEmptySurface("Other", 5, 4);
    ASSERT_EQ(3u, engine.Surfaces.size());
    EXPECT_EQ(0, engine.IndexOfSurface("pic.png"));
    EXPECT_EQ(-1, engine.IndexOfSurface("Pic.png"));
    EXPECT_EQ((TPoint{0, 0}), engine.GetSurfaceSize("missing"));
    EXPECT_EQ((TPoint{5, 4}), engine.GetSurfaceSize("Other"));
    engine.DeleteSurface("pic.png");
    ASSERT_EQ(2u, engine.Surfaces.size());
    EXPECT_EQ("PIC.PNG", engine.Surfaces[0].FileName);
    engine.DeleteSurface("missing");
    EXPECT_EQ(2u, engine.Surfaces.size());
    EXPECT_FALSE(engine.CreateEmptySurface("huge", 0, 10));
    EXPECT_FALSE(engine.CreateEmptySurface("huge", TSurfEngine::MaxSurfaceSide + 1, 1));
}

TEST_F(StoreTest, ArchivePicturesAlwaysHaveAlphaDiskPicturesOnlyTheirOwn) {
    AddEntry("plain.png", Png(4, 3, false));
    AddEntry("alpha.png", Png(4, 3, true));
    AddEntry("photo.jpg", Jpeg(6, 5));
    engine.LoadPNGFromFolder(archive, "plain.png", "", "plain.png");
    engine.LoadPNGFromFolder(archive, "alpha.png", "", "alpha.png");
    engine.LoadJPGFromFolder(archive, "photo.jpg", "photo.jpg");
    engine.LoadPNGFromFolder(archive, "absent.png", "", "absent.png");
    Write(folder / "plain.png", Png(4, 3, false));
    EXPECT_TRUE(engine.LoadPNGFromFile("disk", (folder / "plain.png").string()));
    EXPECT_FALSE(engine.LoadPNGFromFile("none", (folder / "none.png").string()));
    Write(folder / "bad.png", {1, 2, 3});
    EXPECT_THROW(engine.LoadPNGFromFile("bad", (folder / "bad.png").string()), TPictureError);

    ASSERT_EQ(4u, engine.Surfaces.size());
    EXPECT_EQ(std::vector<uint8_t>(12, 255), engine.FindSurface("plain.png")->Alpha);
    EXPECT_EQ(4, engine.FindSurface("plain.png")->AlphaPitch);
    EXPECT_EQ(7, engine.FindSurface("alpha.png")->Alpha[7]);
    EXPECT_FALSE(engine.FindSurface("photo.jpg")->HasAlpha());
    EXPECT_FALSE(engine.FindSurface("disk")->HasAlpha());
    EXPECT_EQ(0x00C8640Au, PixelAt(engine, "plain.png", 3, 2));
    EXPECT_EQ(0x00808080u, PixelAt(engine, "photo.jpg", 5, 4));

    engine.CreateAlphaChannel("disk", 9);
    EXPECT_EQ(std::vector<uint8_t>(12, 9), engine.FindSurface("disk")->Alpha);
    engine.FillAlphaChannel("photo.jpg", 1);
    EXPECT_FALSE(engine.FindSurface("photo.jpg")->HasAlpha());
}

TEST_F(StoreTest, SixteenBitPicturesArePackedWithTheDisplayMasks) {
    display.Format = Format555();
    engine.Create(display);
    AddEntry("p.png", Png(2, 2, false, 255));
    engine.LoadPNGFromFolder(archive, "p.png", "", "p.png");
    // red 255 -> 31, green 100 -> 12, blue 10 -> 1 in a 5-5-5 word.
    EXPECT_EQ((31u << 10) | (12u << 5) | 1u, PixelAt(engine, "p.png", 1, 1));
    EXPECT_EQ(4, engine.FindSurface("p.png")->Pitch);
}

TEST_F(StoreTest, LoosePicturesLoadFirstAndOverrideTheArchive) {
    Write(folder / "Title.png", Png(2, 2, true, 1));
    Write(folder / "photo.JPG", Jpeg(3, 3));
    Write(folder / "broken.png", {0x89, 'P', 'N', 'G'});
    Write(folder / "notes.txt", {'x'});
    EXPECT_EQ(2, engine.LoadLoosePictures(folder.string()));
    ASSERT_EQ(1u, logged.size());
    EXPECT_NE(std::string::npos, logged[0].find("broken.png"));
    AddEntry("Title.png", Png(2, 2, true, 250));
    AddEntry("Bar.png", Png(2, 2, true));
    std::vector<int> progress;
    engine.OnProgress = [&](int percent) { progress.push_back(percent); };
    const auto loaded = engine.LoadPictureList(archive, {"Title.png", "Bar.png", "photo.JPG"});
    EXPECT_EQ(std::vector<std::string>{"Bar.png"}, loaded);
    EXPECT_EQ(0x0001640Au, PixelAt(engine, "Title.png", 0, 0));  // the loose one
    EXPECT_EQ((std::vector<int>{50, 100}), progress);
}

// A display change: every record loses its pixels, the engine is bound to the new display and
// the store is rebuilt from the archive, the disk and the records' sizes.
TEST_F(StoreTest, ReinitBringsEveryPictureBackInTheNewFormat) {
    AddEntry("bar.png", Png(4, 2, false));
    AddEntry("photo.jpg", Jpeg(3, 3));
    engine.LoadPNGFromFolder(archive, "bar.png", "", "bar.png");
    engine.LoadJPGFromFolder(archive, "photo.jpg", "photo.jpg");
    engine.CreateEmptySurface("MemoryBufferAddLight", 800, 600);
    engine.CreateAlphaChannel("MemoryBufferAddLight", 255);
    Write(folder / "Logo.png", Png(5, 5, true));
    ASSERT_TRUE(engine.LoadPNGFromFile("Logo.png", (folder / "Logo.png").string()));
    // Records that name a file of the game folder, one safely and one leaving it.
    TSurface fromDisk, escaping;
    fromDisk.Name = "Extra.PNG", fromDisk.FileName = "EXTRA.png", fromDisk.Width = 2;
    escaping.Name = "x.png", escaping.FileName = "../x.png", escaping.Width = 2;
    engine.AddSurface(std::move(fromDisk));
    engine.AddSurface(std::move(escaping));
    Write(folder / "EXTRA.png", Png(2, 2, false));
    Write(folder.parent_path() / "x.png", Png(2, 2, false));

    engine.ReleaseSurfaces();
    display.Format = Format565();
    engine.Create(display);
    std::vector<int> progress;
    engine.OnProgress = [&](int percent) { progress.push_back(percent); };
    engine.ReinitSurfaces(archive, folder.string(), " bar.png\tnot-there ");

    EXPECT_EQ(0, engine.IndexOfSurface("bar.png"));
    for (const TSurface& s : engine.Surfaces) EXPECT_TRUE(s.HasSurface()) << s.Name;
    EXPECT_EQ((TPoint{3, 3}), engine.GetSurfaceSize("photo.jpg"));
    EXPECT_EQ((TPoint{800, 600}), engine.GetSurfaceSize("MemoryBufferAddLight"));
    EXPECT_FALSE(engine.FindSurface("MemoryBufferAddLight")->HasAlpha());
    EXPECT_EQ((TPoint{5, 5}), engine.GetSurfaceSize("Logo.png"));
    EXPECT_NE(-1, engine.IndexOfSurface("extra.png"));
    EXPECT_EQ(-1, engine.IndexOfSurface("x.png"));
    EXPECT_EQ(5u, engine.Surfaces.size());
    EXPECT_EQ(uint32_t(TPixelLayout::FromFormat(Format565()).Pack(200, 100, 10)),
              PixelAt(engine, "bar.png", 0, 0));
    EXPECT_EQ((std::vector<int>{20, 40, 60, 80}), progress);
    fs::remove(folder.parent_path() / "x.png");

    // Nothing to rebuild: the passes change nothing.
    const size_t before = engine.Surfaces.size();
    engine.ReinitSurfaces(archive, folder.string(), "");
    EXPECT_EQ(before, engine.Surfaces.size());
}

TEST_F(StoreTest, ReinitReportsAnUnreadablePictureAsTheStoresError) {
    AddEntry("bad.png", {1, 2, 3});
    TSurface record;
    record.Name = record.FileName = "bad.png";
    record.Width = record.Height = 1;
    engine.AddSurface(std::move(record));
    EXPECT_THROW(
        {
            try {
                engine.ReinitSurfaces(archive, folder.string(), "");
            } catch (const KelException& e) {
                EXPECT_STREQ("Exception Error in TSurfEngine.ReinitSurfaces.", e.what());
                throw;
            }
        },
        KelException);
}
