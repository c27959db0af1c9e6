// Building the piece pictures with the store's copies, alpha merges and colour shift.
#include "app/FishPictures.h"

#include <algorithm>
#include <functional>

#include "core/KelException.h"

namespace {

bool Exists(const TSurfEngine& store, const std::string& name) {
    return store.IndexOfSurface(name) >= 0;
}

void LoadWhenMissing(TSurfEngine& store, TFileFolder& archive, const std::string& entry) {
    if (!Exists(store, entry)) store.LoadPNGFromFolder(archive, entry, "", entry);
}

// Whole-picture alpha merge into a fresh alpha buffer of 0: the destination takes the source's
// alpha (the merge turns 0 into 1, which no drawing can see).
void TakeAlpha(TSurfEngine& store, const std::string& source, const std::string& dest,
               const TRect* rect) {
    store.CreateAlphaChannel(dest, 0);
    store.MergeAlphaChannel(source, dest, 0, 0, rect, 255);
}

void Recolor(TSurfEngine& store, const std::string& name, const TFishColor& color) {
    // The colour's Saturation value shifts lightness and its Lightnes value saturation.
    store.ChangeHLS(name, color.Hue, color.Saturation, color.Lightness);
}

// Composes the pieces of mask q onto the new picture `dest` in DrawSequence order. The first
// piece is copied (so its edge pixels keep their own colour instead of being blended with the
// empty picture's black), the later ones are blended over it; each one's alpha is merged in.
void Compose(TSurfEngine& store, const TFishkaType& type, int q, const std::string& dest,
             const std::function<std::string(int)>& pieceName) {
    store.CreateAlphaChannel(dest, 0);
    bool first = true;
    for (const TDrawStep& step : type.DrawSequence) {
        if (step.Num < 1 || step.Num > type.PieceCount) continue;
        const int g = 1 << (step.Num - 1);
        if (!(q & g)) continue;
        const std::string piece = pieceName(g);
        TRect rect{step.X1, step.Y1, step.X2, step.Y2};
        TRect* source = step.X1 == -1 ? nullptr : &rect;
        if (first) {
            TRect copied = rect;  // the copy may adjust its rectangle; the merge needs the step's
            store.DrawSurface(piece, dest, 0, 0, source ? &copied : nullptr);
            first = false;
        } else {
            TRect drawn = rect;
            store.DrawWithAlphaChannel(piece, dest, 0, 0, 255, source ? &drawn : nullptr);
        }
        store.MergeAlphaChannel(piece, dest, 0, 0, source, 255);
    }
}

void MakeGeneratedColor(TSurfEngine& store, TFileFolder& archive, TFishkaType& type, int k) {
    const TFishColor& color = type.Colors[size_t(k)];
    for (int i = 1; i <= type.PieceCount; ++i) {
        const std::string src = type.Pictures[size_t(i)] + color.PostFix + ".png";
        LoadWhenMissing(store, archive, src);
        const TPoint size = store.GetSurfaceSize(src);
        type.PieceWidth = size.X, type.PieceHeight = size.Y;
        const std::string dst = FishPictureName(type, 1 << (i - 1), k);
        if (Exists(store, dst) || !store.CreateEmptySurface(dst, size.X, size.Y)) continue;
        store.DrawSurface(src, dst, 0, 0, nullptr);
        Recolor(store, dst, color);
        TakeAlpha(store, src, dst, nullptr);
    }
    for (int q = 1; q < (1 << type.PieceCount); ++q) {
        const std::string dst = FishPictureName(type, q, k);
        if (Exists(store, dst) || !store.CreateEmptySurface(dst, type.PieceWidth, type.PieceHeight))
            continue;
        Compose(store, type, q, dst, [&](int g) { return FishPictureName(type, g, k); });
    }
}

void MakeStripColor(TSurfEngine& store, TFileFolder& archive, TFishkaType& type, int k) {
    const TFishColor& color = type.Colors[size_t(k)];
    for (int q = 1; q < (1 << type.PieceCount); ++q) {
        const std::string strip = StripEntryName(type, q);
        LoadWhenMissing(store, archive, strip);
        const TPoint size = store.GetSurfaceSize(strip);
        type.PieceWidth = size.X / type.Frames();
        type.PieceHeight = size.Y;
        const std::string still = FishPictureName(type, q, k);
        if (!Exists(store, still) &&
            store.CreateEmptySurface(still, type.PieceWidth, type.PieceHeight)) {
            // The whole first frame.
            TRect copied{0, 0, type.PieceWidth - 1, type.PieceHeight - 1};
            store.DrawSurface(strip, still, 0, 0, &copied);
            const TRect frame{0, 0, type.PieceWidth - 1, type.PieceHeight - 1};
            TakeAlpha(store, strip, still, &frame);
            Recolor(store, still, color);
        }
        type.PieceWidth = size.X;
        const std::string anime = still + "anime";
        if (!Exists(store, anime) && store.CreateEmptySurface(anime, size.X, size.Y)) {
            store.DrawSurface(strip, anime, 0, 0, nullptr);
            TakeAlpha(store, strip, anime, nullptr);
            Recolor(store, anime, color);
        }
    }
}

}  // namespace

std::string FishPictureName(const TFishkaType& type, int mask, int color) {
    return type.Name + std::to_string(mask) + "c" + std::to_string(color + 1);
}

std::string GhostPictureName(const TFishkaType& type, int mask) {
    return type.Name + std::to_string(mask) + "cG";
}

std::string StripEntryName(const TFishkaType& type, int mask) {
    std::string digits;
    for (int i = 1; i <= MaxPieces; ++i) {
        if (mask & (1 << (i - 1))) digits += char('0' + i);
    }
    return type.Name + "_" + digits + "_anime.png";
}

void BuildColorFishPictures(TSurfEngine& store, TFileFolder& archive, TFishkaTypes& types,
                            const std::vector<TFishSpec>& fishes) {
    Guarded("Exception error in TKelGameEngine.MakeColorFishesSurfaces!", [&] {
        for (size_t t = 0; t < types.size(); ++t) {
            TFishkaType& type = types[t];
            const int colors = std::min<int>(type.ColorCount, MaxColors);
            for (int k = 0; k < colors; ++k) {
                const TFishSpec pair{int32_t(t), k};
                if (std::find(fishes.begin(), fishes.end(), pair) != fishes.end()) {
                    if (type.MakeImages) {
                        MakeGeneratedColor(store, archive, type, k);
                    } else {
                        MakeStripColor(store, archive, type, k);
                    }
                }
            }
        }
    });
}

void MakeGhostFishes(TSurfEngine& store, TFileFolder& archive, TFishkaTypes& types) {
    Guarded("Exception error in TKelGameEngine.MakeGhostFishes!", [&] {
        if (types.empty()) return;
        TFishkaType& type = types[0];
        for (int i = 1; i <= type.PieceCount; ++i) {
            const std::string src = type.Pictures[size_t(i)] + "Ghost.png";
            LoadWhenMissing(store, archive, src);
            const TPoint size = store.GetSurfaceSize(src);
            type.PieceWidth = size.X, type.PieceHeight = size.Y;
            const std::string dst = GhostPictureName(type, 1 << (i - 1));
            if (Exists(store, dst) || !store.CreateEmptySurface(dst, size.X, size.Y)) continue;
            store.DrawSurface(src, dst, 0, 0, nullptr);
            TakeAlpha(store, src, dst, nullptr);
        }
        for (int q = 1; q < (1 << type.PieceCount); ++q) {
            if (q == 1 || q == 2 || q == 4) continue;
            const std::string dst = GhostPictureName(type, q);
            if (Exists(store, dst) ||
                !store.CreateEmptySurface(dst, type.PieceWidth, type.PieceHeight))
                continue;
            Compose(store, type, q, dst, [&](int g) { return GhostPictureName(type, g); });
        }
    });
}
