// Showing what the rules decide while a level is played.
#include "app/PlayScreen.h"

#include <algorithm>
#include <cmath>

#include "core/KelException.h"

namespace {

constexpr TRect PlayArea{5, 30, 794, 595};

int RoundShare(int distance, int32_t dt, int32_t remaining) {
    return int(std::nearbyint(double(distance) * dt / remaining));
}

}  // namespace

void TPlayScreen::CellChanged(TCell cell, uint32_t now) {
    links_.Presenter.NameCellPicture(cell.Col, cell.Row, now);
    links_.Redraw.FillRect(CellBox(cell.Col, cell.Row));
}

std::string TPlayScreen::CellPicture(TCell cell) const {
    return links_.View.Cell(cell.Col, cell.Row).SurfName;
}

TPoint TPlayScreen::CellPictureSize(TCell cell) const {
    const TCellView& view = links_.View.Cell(cell.Col, cell.Row);
    return {view.PicWidth, view.PicHeight};
}

bool TPlayScreen::PictureExists(const std::string& name) const {
    return !name.empty() && links_.SurfaceStore && links_.SurfaceStore->IndexOfSurface(name) >= 0;
}

void TPlayScreen::ResetCellFrame(TCell cell) {
    links_.View.Cell(cell.Col, cell.Row).Frame = 0;
}

void TPlayScreen::StartCellEffect(TCell cell, const std::string& file, uint32_t at) {
    links_.Presenter.StartCellEffect(cell, file, at);
}

void TPlayScreen::FreeCellEffect(TCell cell) {
    TCellView& view = links_.View.Cell(cell.Col, cell.Row);
    view.Effect.reset();
    view.EffectFile.clear();
}

void TPlayScreen::FreeCellEffects(TCell cell) {
    FreeCellEffect(cell);
    links_.View.Cell(cell.Col, cell.Row).Effect2.reset();
}

void TPlayScreen::MoveCell(TCell from, TCell to) {
    TCellView& source = links_.View.Cell(from.Col, from.Row);
    TCellView& target = links_.View.Cell(to.Col, to.Row);
    target.SurfName = source.SurfName;
    target.PicWidth = source.PicWidth;
    target.PicHeight = source.PicHeight;
    target.Frame = source.Frame;
    target.FlyFrom = source.FlyFrom;
    target.FlyHalfSize = source.FlyHalfSize;
    target.FlyPicture = source.FlyPicture;
    target.Effect = std::move(source.Effect);
    target.Effect2 = std::move(source.Effect2);
    target.EffectFile = std::move(source.EffectFile);
    source.EffectFile.clear();
}

void TPlayScreen::RotateCells(const std::vector<TCell>& line) {
    if (line.size() < 2) return;
    TCellView last = std::move(links_.View.Cell(line.back().Col, line.back().Row));
    for (size_t i = line.size() - 1; i > 0; --i)
        links_.View.Cell(line[i].Col, line[i].Row) =
            std::move(links_.View.Cell(line[i - 1].Col, line[i - 1].Row));
    links_.View.Cell(line.front().Col, line.front().Row) = std::move(last);
}

int TPlayScreen::CobraDirection(TCell cell) const {
    const TCellView& view = links_.View.Cell(cell.Col, cell.Row);
    if (!view.Effect || view.Effect->SystemCount() < 1) return 1;
    const TKelParticleSystem* system = view.Effect->GetSystem(0);
    if (!system || system->Particles.empty()) return 1;
    const TKelParticle& particle = *system->Particles.front();
    const int index = particle.IndexOfParam("Rotation");
    const TKelParticleParams* rotation = particle.GetParamRecord(index);
    if (!rotation) return 1;
    const double value = rotation->Value[0];
    // A value that names no facing turns no beam.
    return std::isfinite(value) && std::fabs(value) < 1000 ? int(std::nearbyint(value)) : 0;
}

void TPlayScreen::ShowInFirstSystem(TKelParticleEffect& effect, const std::string& picture,
                                    int32_t frames) {
    if (effect.SystemCount() < 1) return;
    if (TKelParticleSystem* first = effect.GetSystem(0)) {
        first->Resource = picture.substr(0, TFileFolder::MaxNameLength);
        first->FrameCount = frames;
    }
}

void TPlayScreen::StartCellBreakEffect(TCell cell, uint32_t now) {
    TCellView& view = links_.View.Cell(cell.Col, cell.Row);
    const TKelParticleEffect* source = links_.GlobalEffects.Find("efBreakFishka.xml");
    if (!source) {
        links_.Log.WriteLog("Can not find file name efBreakFishka.xml in GameFolder");
        return;
    }
    auto effect = std::make_unique<TKelParticleEffect>();
    effect->SetRandom(source->Random());
    effect->Assign(source);
    ShowInFirstSystem(*effect, view.SurfName + "anime", links_.TypeFrames(cell));
    StartEffect(*effect, now);
    view.Effect = std::move(effect);
    view.EffectFile = "efBreakFishka.xml";
}

void TPlayScreen::StartFlight(TCell to, TCell from) {
    const TCellView& source = links_.View.Cell(from.Col, from.Row);
    TCellView& target = links_.View.Cell(to.Col, to.Row);
    target.FlyPicture = source.SurfName;
    target.FlyHalfSize = {source.PicWidth / 2, source.PicHeight / 2};
    target.FlyFrom = CellCentre(from.Col, from.Row);
}

void TPlayScreen::AdvanceFlight(TCell cell, TPoint target, int32_t dt, int32_t remaining) {
    TCellView& view = links_.View.Cell(cell.Col, cell.Row);
    const TPoint old = view.FlyFrom;
    view.FlyFrom.X += RoundShare(target.X - old.X, dt, remaining);
    view.FlyFrom.Y += RoundShare(target.Y - old.Y, dt, remaining);
    const TPoint half = view.FlyHalfSize;
    links_.Redraw.FillRect(
        {std::min(old.X, view.FlyFrom.X) - half.X, std::min(old.Y, view.FlyFrom.Y) - half.Y,
         std::max(old.X, view.FlyFrom.X) + half.X, std::max(old.Y, view.FlyFrom.Y) + half.Y});
}

void TPlayScreen::EndFlight(TCell cell) {
    links_.View.Cell(cell.Col, cell.Row).FlyPicture.clear();
}

void TPlayScreen::StartScreenEffect(const TScreenEffectOrder& order) {
    TScreenEffects& list = links_.ScreenEffects;
    TEffectRequest request;
    request.Name = order.Name;
    request.File = order.File;
    request.X = order.Position.X;
    request.Y = order.Position.Y;
    request.StartTime = order.Start;
    request.Picture = order.Picture;
    request.Path = order.Path;
    if (order.ClipToBoard) request.Bounds = PlayArea;
    const size_t before = list.size();
    if (order.FromGlobal) {
        const TKelParticleEffect* source = links_.GlobalEffects.Find(order.File);
        if (!source) {
            links_.Log.WriteLog("Can not find file name " + order.File + " in GameFolder");
            return;
        }
        CreateKelEffectFromTemplate(list, *source, request, links_.Now());
    } else {
        CreateKelEffectFromFile(list, Sources(), request, links_.Now());
    }
    if (list.size() == before || !list.back().Effect) return;
    TKelParticleEffect& effect = *list.back().Effect;
    if (order.LifetimeMs >= 0) effect.SetLifetime(uint32_t(order.LifetimeMs));
    if (!order.FirstSystemPicture.empty())
        ShowInFirstSystem(effect, order.FirstSystemPicture, order.FirstSystemFrames);
}

bool TPlayScreen::ScreenEffectExists(const std::string& name) const {
    return IndexOfScreenEffect(links_.ScreenEffects, name) >= 0;
}

void TPlayScreen::DeleteScreenEffects(const std::string& name) {
    DeleteAllScreenEffectByName(links_.ScreenEffects, name);
}

void TPlayScreen::ScoreChanged() {
    links_.ScoreChanged();
}

void TPlayScreen::PlaySound(const std::string& event, int64_t at) {
    links_.SoundEvents.ScheduleSoundEvent(event, at, links_.Now());
}

void TPlayScreen::MarkRedraw(const TRect& rect) {
    links_.Redraw.FillRect(rect);
}

void TPlayScreen::HoverAgain(uint32_t now) {
    links_.HoverAgain(now);
}

TEffectSources TPlayScreen::Sources() const {
    return {.Archive = *links_.Archive,
            .Surfaces = links_.SurfaceStore.get(),
            .Fonts = links_.FontEngine.get(),
            .Random = &links_.Random,
            .Log = [this](const std::string& line) { links_.Log.WriteLog(line); }};
}

void TPlayScreen::GroupBonus(int n, uint32_t at, const std::vector<TCell>& group) {
    Guarded("Exception error in TKelGameEngine.CreateGroupEffect!", [&] {
        if (n <= 2 || n > 64 || group.empty()) return;
        int64_t sumX = 0, sumY = 0;
        for (const TCell& cell : group) {
            sumX += 65 * cell.Col - 31;
            sumY += 73 * cell.Row - 29;
        }
        int x = int(sumX / int64_t(group.size())), y = int(sumY / int64_t(group.size()));
        const char* kind = n == 3   ? "Great"
                           : n == 4 ? "Excellent"
                           : n <= 6 ? "Incredible"
                                    : "Fantastic";
        const std::string picture = std::string("Bonus") + kind + ".png";
        const std::string file = std::string("efBonus") + kind + ".xml";
        TScreenEffects& list = links_.ScreenEffects;
        const TEffectSources sources = Sources();
        TEffectRequest request{.Name = "+50", .File = file, .X = x, .Y = y, .StartTime = at};
        const size_t before = list.size();
        CreateKelEffectFromFile(list, sources, request, links_.Now());
        // Kept on the screen: the right edge, the top and the bottom (not the left). The word is
        // a strip of frames: one frame is what shows.
        TPoint size = links_.SurfaceStore->GetSurfaceSize(picture);
        if (list.size() > before && list.back().Effect && list.back().Effect->SystemCount() > 0)
            size.X /= std::max(1, list.back().Effect->GetSystem(0)->FrameCount);
        const int w = size.X, h = size.Y + 70;
        if (x + w / 2 > 800) x = 800 - w / 2;
        if (y - h / 2 < 0) y = h / 2;
        if (y + h / 2 > 600) y = 600 - h / 2;
        if (list.size() > before) {
            list.back().X = x;
            list.back().Y = y;
        }
        // The size in digits under the word: four black outline copies, then the number.
        const int d = n == 3 ? 60 : 70;
        request.IsText = true;
        request.Picture = std::to_string(n);
        request.FontName = "LithosDigist-Black";
        request.TextColor = 0;
        for (const TPoint shift : {TPoint{-2, 0}, TPoint{2, 0}, TPoint{0, -2}, TPoint{0, 2}}) {
            request.X = x + shift.X;
            request.Y = y + d + shift.Y;
            CreateKelEffectFromFile(list, sources, request, links_.Now());
        }
        request.X = x;
        request.Y = y + d;
        request.TextColor = -1;
        CreateKelEffectFromFile(list, sources, request, links_.Now());
        links_.SoundEvents.ScheduleSoundEvent(std::string("GroupMade") + kind, at, links_.Now());
    });
}

void TPlayScreen::LevelComplete(uint32_t now) {
    links_.LevelComplete(now);
}
