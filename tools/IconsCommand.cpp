// tervolin-tool icons SVG OUT_DIR: the application icon rendered at the sizes of the desktop's
// icon theme, as OUT_DIR/<N>x<N>/apps/tervolin.png for N = 16 ... 256.
#include <cstdio>
#include <filesystem>

#include "ToolCommand.h"
#include "content/SvgRenderer.h"
#include "core/MemoryStream.h"

namespace {

constexpr int IconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

int RunIcons(const ToolArgs& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tervolin-tool icons SVG OUT_DIR\n");
        return 2;
    }
    const std::vector<uint8_t> source = ReadPictureFile(args[0]);
    const TSvgPicture svg(source);
    for (const int size : IconSizes) {
        const std::string side = std::to_string(size);
        const std::filesystem::path folder =
            std::filesystem::path(args[1]) / (side + "x" + side) / "apps";
        std::filesystem::create_directories(folder);
        TPngPicture icon = BlankPicture(size, size);
        svg.Render(icon, 0, 0, size, size, {}, {});
        TMemoryStream(icon.Encode()).SaveToFile((folder / "tervolin.png").string());
    }
    return 0;
}

}  // namespace

static ToolCommand iconsCommand{"icons", "icons SVG OUT_DIR", &RunIcons};
