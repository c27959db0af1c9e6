// The install conversion on small archives written to a scratch folder: every extension of the
// table with its exact letter case, missing companions, skipped and failing jobs, the image
// scripts it runs and the progress it reports.
#include "resources/PngMorf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "support/ArchiveBytes.h"
#include "support/PictureFixtures.h"

namespace {

const TPngPicture Translucent = FilledPicture(4, 2, {200, 100, 50, 128}, true);
const TPngPicture Opaque = FilledPicture(4, 2, {200, 100, 50});

std::string Jpeg(const TPngPicture& picture) {
    const std::vector<uint8_t> bytes = EncodeJpeg(picture.ToBitmap(), 95);
    return std::string(bytes.begin(), bytes.end());
}

std::string Png(const TPngPicture& picture) {
    const std::vector<uint8_t> bytes = picture.Encode();
    return std::string(bytes.begin(), bytes.end());
}

std::string Mask(const TPngPicture& picture) {
    std::vector<uint8_t> mask;
    PngAlphaToMask(picture.Encode(), mask);
    return std::string(mask.begin(), mask.end());
}

using TEntries = std::vector<std::pair<std::string, std::string>>;

class PngMorfTest : public ScratchFolderTest {
  protected:
    void WriteArchive(const std::string& name, const TEntries& entries) {
        TFileFolder archive = TFileFolder::CreateEmpty(PathOf(name));
        for (const auto& [entry, bytes] : entries) AddEntry(archive, entry, bytes, 7);
        archive.Save();
    }

    // Converts source.zxc into dest.zxc; answers the error text, empty on success.
    std::string Install() {
        TPNGMorf morf(90);
        morf.SetProgress(
            [this](const std::string& text, int percent) { reports.emplace_back(text, percent); });
        morf.AddJob("<Job Source=\"" + PathOf("source.zxc") + "\" Dest=\"" +
                    PathOf("made/temp/dest.zxc") + "\"/>");
        try {
            morf.Run();
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "";
    }

    // Names and kinds of the destination's entries.
    std::vector<std::pair<std::string, int>> DestEntries() {
        TFileFolder dest = TFileFolder::Open(PathOf("made/temp/dest.zxc"));
        std::vector<std::pair<std::string, int>> entries;
        for (int i = 0; i < dest.Count(); ++i)
            entries.emplace_back(dest.Entry(i).Name, dest.Entry(i).EntryTag);
        return entries;
    }

    std::vector<std::pair<std::string, int>> reports;
};

TEST_F(PngMorfTest, EveryExtensionConvertsByItsExactCase) {
    struct Case {
        TEntries source;
        std::vector<std::pair<std::string, int>> dest;
    };
    const std::string script =
        "<AutoImage name=\"made\" autosize=\"true\">\n<AddImage name=\"p.png\"/>\n";
    const Case cases[] = {
        {{{"a.PNG", Png(Translucent)}}, {{"a._JPG", 2}, {"a._PNG", 2}}},
        {{{"a._JPG", Jpeg(Opaque)}, {"a._PNG", Mask(Translucent)}}, {{"a.PNG", 2}}},
        {{{"a.PnG", Png(Translucent)}, {"a.jpg", Jpeg(Opaque)}}, {{"a._PnG", 2}, {"a.jpg", 2}}},
        {{{"a.jpg", Jpeg(Opaque)}, {"a.PnG", Png(Translucent)}}, {{"a.jpg", 7}, {"a._PnG", 2}}},
        {{{"a._jpg", Jpeg(Opaque)}, {"a._PnG", Mask(Translucent)}}, {{"a.PnG", 2}}},
        {{{"s.aim", script}}, {{"s._aim", 1}}},
        {{{"p.png", Png(Opaque)}, {"s._aim", script}},
         {{"p.png", 7}, {"s.aim", 1}, {"made.pNg", 2}}},
        {{{"old.pNg", Png(Opaque)}, {"x.xml", "<a/>"}, {"noext", "n"}},
         {{"x.xml", 7}, {"noext", 7}}},
        {{{"a.png", Png(Opaque)}, {"b.Png", ""}, {"c.tar.PNG", Png(Opaque)}},
         {{"a.png", 7}, {"b.Png", 7}, {"c.tar.PNG", 7}}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder / "made");
        WriteArchive("source.zxc", c.source);
        ASSERT_EQ(Install(), "") << c.source[0].first;
        EXPECT_EQ(DestEntries(), c.dest) << c.source[0].first;
    }
}

TEST_F(PngMorfTest, PackedPicturesExpandToTheirPixels) {
    WriteArchive("source.zxc", {{"a._JPG", Jpeg(Opaque)}, {"a._PNG", Mask(Translucent)}});
    ASSERT_EQ(Install(), "");
    TFileFolder dest = TFileFolder::Open(PathOf("made/temp/dest.zxc"));
    const TPngPicture picture = EntryPicture(dest, "a.PNG");
    ASSERT_TRUE(picture.HasAlpha());
    const TRgba pixel = PixelAt(picture, 3, 1);
    EXPECT_EQ(pixel.A, 128);
    EXPECT_NEAR(pixel.R, 200, 3);
    EXPECT_NEAR(pixel.B, 50, 3);
}

TEST_F(PngMorfTest, AMissingCompanionEndsTheRun) {
    struct Case {
        TEntries source;
        const char* error;
    };
    const Case cases[] = {
        {{{"a._PNG", Mask(Translucent)}}, "File a._JPG does not exist!"},
        {{{"a._PNG", Mask(Translucent)}, {"a._jpg", Jpeg(Opaque)}}, "File a._JPG does not exist!"},
        {{{"a.PnG", Png(Translucent)}}, "File a.jpg does not exist!"},
        {{{"a._PnG", Mask(Translucent)}, {"a._JPG", Jpeg(Opaque)}}, "File a._jpg does not exist!"},
    };
    for (const Case& c : cases) {
        WriteArchive("source.zxc", c.source);
        EXPECT_EQ(Install(), c.error);
        EXPECT_FALSE(std::filesystem::exists(folder / "made/temp/dest.zxc"));
    }
}

TEST_F(PngMorfTest, MissingSourceFailsAndAnExistingDestinationIsKept) {
    EXPECT_EQ(Install(), "Can not find file " + PathOf("source.zxc") + "!");
    WriteArchive("source.zxc", {{"x.xml", "<a/>"}});
    std::filesystem::create_directories(folder / "made/temp");
    WriteBytes(folder / "made/temp/dest.zxc", {1, 2, 3});
    EXPECT_EQ(Install(), "");
    EXPECT_EQ(ReadBytes(folder / "made/temp/dest.zxc"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(reports.empty());
}

TEST_F(PngMorfTest, AFailingScriptWritesNothing) {
    WriteArchive("source.zxc", {{"s._aim",
                                 "<AutoImage name=\"m\" width=\"4\" height=\"4\">\n"
                                 "<AddImage name=\"gone.png\"/>"}});
    EXPECT_EQ(Install(), "File gone.png does not exist in File Folder!");
    EXPECT_FALSE(std::filesystem::exists(folder / "made/temp/dest.zxc"));
}

TEST_F(PngMorfTest, ProgressCountsEntriesThenScripts) {
    auto script = [](const std::string& name) {
        return "<AutoImage name=\"" + name + "\" width=\"1\" height=\"1\">";
    };
    WriteArchive("source.zxc",
                 {{"a", ""}, {"b._aim", script("b")}, {"c", ""}, {"d._aim", script("d")}});
    ASSERT_EQ(Install(), "");
    const std::vector<std::pair<std::string, int>> expected = {
        {"Done: 0% ( a)", 0},          {"Done: 33.33% ( b._aim)", 33}, {"Done: 66.67% ( c)", 67},
        {"Done: 100% ( d._aim)", 100}, {"Done: 50% ( b.aim)", 50},     {"Done: 100% ( d.aim)", 100},
    };
    EXPECT_EQ(reports, expected);
}

TEST_F(PngMorfTest, ASingleEntryReportsNoEntryProgress) {
    WriteArchive("source.zxc", {{"x.xml", "<a/>"}});
    ASSERT_EQ(Install(), "");
    EXPECT_TRUE(reports.empty());
}

}  // namespace
