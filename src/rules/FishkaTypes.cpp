// Reading piece types from their description.
#include "rules/FishkaTypes.h"

#include <sstream>

#include "core/CoreError.h"
#include "core/KelException.h"
#include "core/KelXmlValues.h"

static void Note(std::vector<std::string>* problems, const std::string& text) {
    if (problems) problems->push_back(text);
}

static TDrawStep ReadDrawPiece(const TKelXMLTag& step) {
    TDrawStep entry;
    entry.Num = AttrInt(&step, "Num");
    if (const std::string* rect = AttrValue(&step, "Rect")) {
        std::istringstream values(*rect);
        int32_t numbers[4];
        for (int32_t& number : numbers) {
            std::string word;
            if (!(values >> word)) throw TKelCoreError("Rect needs four numbers: " + *rect);
            number = StrToIntChecked(word, "Rect");
        }
        entry.X1 = numbers[0];
        entry.Y1 = numbers[1];
        entry.X2 = numbers[2];
        entry.Y2 = numbers[3];
    }
    return entry;
}

static TFishkaType ReadType(const TKelXMLTag& element, std::vector<std::string>* problems) {
    TFishkaType type;
    type.Name = AttrText(&element, "Name");
    const std::string where = "FishkaType \"" + type.Name + "\": ";
    const int32_t pieceCount = AttrInt(&element, "PieceCount");
    if (pieceCount < 1 || pieceCount > MaxPieces)
        throw TKelCoreError(where + "PieceCount must be 1 to 3, not " + std::to_string(pieceCount));
    type.PieceCount = uint8_t(pieceCount);
    type.FrameCount = AttrInt(&element, "FrameCount");
    if (const std::string* makeImages = AttrValue(&element, "MakeImages"))
        type.MakeImages = *makeImages != "false";

    if (const TKelXMLTag* order = element.FindTag("PieceOrder")) {
        for (const auto& piece : order->Tags()) {
            if (piece->Name != "Piece") continue;
            const int32_t num = AttrInt(piece.get(), "Num");
            if (num < 1 || num > MaxPieces) {
                Note(problems, where + "Piece Num " + std::to_string(num) + " is not 1 to 3");
                continue;
            }
            type.Pictures[size_t(num)] = AttrText(piece.get(), "Picture");
        }
    }
    if (const TKelXMLTag* colors = element.FindTag("Colors")) {
        if (colors->TagCount() > MaxColors)
            Note(problems, where + "Colors has " + std::to_string(colors->TagCount()) +
                               " children; only 8 are used");
        type.ColorCount = uint8_t(std::min(colors->TagCount(), MaxColors));
        for (int i = 0; i < type.ColorCount; ++i) {
            const TKelXMLTag* color = colors->GetTag(i);
            if (color->Name != "Color") continue;
            TFishColor& slot = type.Colors[size_t(i)];
            slot.Hue = AttrInt(color, "Hue");
            slot.Saturation = AttrInt(color, "Saturation");
            slot.Lightness = AttrInt(color, "Lightnes");
            slot.PostFix = AttrText(color, "ImagePostFix");
        }
    }
    if (const TKelXMLTag* sequence = element.FindTag("DrawSequence")) {
        for (const auto& step : sequence->Tags()) {
            if (step->Name != "DrawPiece") {
                type.DrawSequence.push_back(TDrawStep{0, 0, 0, 0, 0});
                continue;
            }
            const TDrawStep entry = ReadDrawPiece(*step);
            if (entry.Num < 1 || entry.Num > MaxPieces) {
                Note(problems,
                     where + "DrawPiece Num " + std::to_string(entry.Num) + " is not 1 to 3");
                continue;
            }
            type.DrawSequence.push_back(entry);
        }
    }
    return type;
}

void ReadFishkaTypes(TKelParser& document, TFishkaTypes& types,
                     std::vector<std::string>* problems) {
    try {
        const TKelXMLTag* root = document.GetTag(0);
        if (!root) throw TKelCoreError("XML file does not has tags!");
        if (root->Name != "FishkaTypes") return;
        for (const auto& element : root->Tags())
            if (element->Name == "FishkaType") types.push_back(ReadType(*element, problems));
    } catch (const std::exception& error) {
        // The cause goes to the problems and the log (a KelException logged itself).
        Note(problems, error.what());
        if (!dynamic_cast<const KelException*>(&error)) LogErrorText(error.what());
        throw KelException("Exception error in TKelGameEngine.LoadFishkaTypes!");
    }
}

bool ValidFishkaColor(const TFishkaTypes& types, int type, int color) {
    return type >= 0 && type < int(types.size()) && color >= 0 &&
           color < std::min<int>(types[size_t(type)].ColorCount, MaxColors);
}

namespace {

bool AllPieces(const TFish& fish, const TFishkaTypes& types, const std::array<bool, 4>& pieces) {
    if (fish.Type < 0 || size_t(fish.Type) >= types.size()) return false;
    const int count = types[size_t(fish.Type)].PieceCount;
    for (int i = 1; i <= count; ++i)
        if (!pieces[size_t(i)]) return false;
    return true;
}

}  // namespace

bool FullFishka(const TFish& fish, const TFishkaTypes& types) {
    return AllPieces(fish, types, fish.Has);
}

bool FullMakeFishka(const TFish& fish, const TFishkaTypes& types) {
    return AllPieces(fish, types, fish.Will);
}
