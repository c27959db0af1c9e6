// Showing what the rules decide while a level is played.
#include "app/PlayScreen.h"

#include <algorithm>
#include <cmath>

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
        const TEffectSources sources{
            .Archive = *links_.Archive,
            .Surfaces = links_.SurfaceStore.get(),
            .Random = &links_.Random,
            .Log = [this](const std::string& line) { links_.Log.WriteLog(line); }};
        CreateKelEffectFromFile(list, sources, request, links_.Now());
    }
    if (list.size() == before || !list.back().Effect) return;
    TKelParticleEffect& effect = *list.back().Effect;
    if (order.LifetimeMs >= 0) effect.SetLifetime(uint32_t(order.LifetimeMs));
    if (!order.FirstSystemPicture.empty() && effect.SystemCount() > 0) {
        if (TKelParticleSystem* first = effect.GetSystem(0)) {
            first->Resource = order.FirstSystemPicture;
            first->FrameCount = order.FirstSystemFrames;
        }
    }
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

void TPlayScreen::GroupBonus(int n, uint32_t at, const std::vector<TCell>& group) {
    links_.GroupBonus(n, at, group);
}

void TPlayScreen::LevelComplete(uint32_t now) {
    links_.LevelComplete(now);
}
