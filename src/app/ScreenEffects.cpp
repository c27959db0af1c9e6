// Effect instances: creation from the archive, the advance with its restarts and ends, deletion
// with and without callbacks.
#include "app/ScreenEffects.h"

#include <algorithm>

#include "core/KelException.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "resources/FileFolder.h"

std::unique_ptr<TKelParticleEffect> LoadEffectEntry(TFileFolder& archive, const std::string& file,
                                                    IRandom* random) {
    TMemoryStream* entry = archive.FindFile(file);
    if (!entry) return nullptr;
    return Guarded(
        "Error in CTKelGameEngine.CreateKelEffectFromFile. Could not LoadFromStream " + file, [&] {
            auto effect = std::make_unique<TKelParticleEffect>();
            effect->SetName(file);
            effect->SetRandom(random);
            effect->LoadFromText(entry->ToString());
            return effect;
        });
}

void StartEffect(TKelParticleEffect& effect, uint32_t time) {
    effect.Start(time);
    effect.Initialize();
}

std::vector<std::string> EffectPictures(const TKelParticleEffect& effect) {
    std::vector<std::string> pictures;
    for (int i = 0; i < effect.SystemCount(); ++i) {
        const TKelParticleSystem* system = effect.GetSystem(i);
        if (system && !system->Resource.empty() &&
            std::find(pictures.begin(), pictures.end(), system->Resource) == pictures.end())
            pictures.push_back(system->Resource);
    }
    return pictures;
}

void CreateKelEffectFromFile(TScreenEffects& list, const TEffectSources& sources,
                             const TEffectRequest& request, uint32_t now) {
    if (!sources.Archive.FindFile(request.File)) {
        if (sources.Log) sources.Log("Can not find file name " + request.File + " in GameFolder");
        return;
    }
    list.push_back(TPartEffect{.Name = request.Name,
                               .Picture = request.Picture,
                               .IsText = request.IsText,
                               .TextColor = request.TextColor,
                               .Active = request.Active,
                               .RepeatDelay = request.RepeatDelay,
                               .Flag = request.Flag,
                               .CallbackArg = request.CallbackArg,
                               .OnEnd = request.OnEnd});
    TPartEffect& instance = list.back();
    Guarded("Exception error in TKelGameEngine.CreateKelEffectFromFile " + request.Name, [&] {
        if (request.IsText) {
            const int font = sources.Fonts ? sources.Fonts->IndexOfObject(request.FontName) : -1;
            if (font < 0)
                throw KelException("Can not find font " + request.FontName + " in Effect " +
                                   request.Name + "!");
            instance.FontIndex = font;
        } else if (!request.Picture.empty() &&
                   (!sources.Surfaces || sources.Surfaces->IndexOfSurface(request.Picture) < 0)) {
            throw KelException("Can not find surface " + request.Picture + " in Effect " +
                               request.Name + "!");
        }
        instance.Bounds = request.Bounds.value_or(ScreenRect);
        instance.X = request.X;
        instance.Y = request.Y;
        std::unique_ptr<TKelParticleEffect> effect =
            LoadEffectEntry(sources.Archive, request.File, sources.Random);
        if (!request.Path.empty()) effect->SetFunctionScript("FPath", request.Path);
        instance.Path = request.Path;
        const uint32_t start = request.StartTime == -1 ? now : uint32_t(request.StartTime);
        if (request.Active) {
            StartEffect(*effect, start);
        } else {
            effect->StartTime = effect->CurrentTime = start;
        }
        instance.Effect = std::move(effect);
    });
}

void CreateKelEffectFromTemplate(TScreenEffects& list, const TKelParticleEffect& source,
                                 const TEffectRequest& request, uint32_t now) {
    auto effect = std::make_unique<TKelParticleEffect>();
    effect->SetRandom(source.Random());
    effect->Assign(&source);
    if (!request.Path.empty()) effect->SetFunctionScript("FPath", request.Path);
    const uint32_t start = request.StartTime == -1 ? now : uint32_t(request.StartTime);
    if (request.Active)
        StartEffect(*effect, start);
    else
        effect->StartTime = effect->CurrentTime = start;
    list.push_back({.Name = request.Name,
                    .Picture = request.Picture,
                    .X = request.X,
                    .Y = request.Y,
                    .Path = request.Path,
                    .Effect = std::move(effect),
                    .Bounds = request.Bounds.value_or(ScreenRect),
                    .IsText = request.IsText,
                    .Active = request.Active,
                    .RepeatDelay = request.RepeatDelay,
                    .Flag = request.Flag});
}

void DeleteKelScreenEffect(TScreenEffects& list, size_t index) {
    if (index >= list.size()) return;
    TPartEffect removed = std::move(list[index]);
    list.erase(list.begin() + std::ptrdiff_t(index));
    removed.Effect.reset();
    if (removed.OnEnd) removed.OnEnd(removed.CallbackArg);
}

void DeleteKelScreenEffectByName(TScreenEffects& list, const std::string& name) {
    const int index = IndexOfScreenEffect(list, name);
    if (index >= 0) list.erase(list.begin() + index);
}

void DeleteAllScreenEffectByName(TScreenEffects& list, const std::string& name) {
    std::erase_if(list, [&](const TPartEffect& instance) { return instance.Name == name; });
}

int IndexOfScreenEffect(const TScreenEffects& list, const std::string& name) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].Name == name) return int(i);
    return -1;
}

namespace {

// Clock times of the game are 32-bit ticks far from wrapping; later-than is a plain comparison.
bool Passed(uint32_t now, int64_t time) {
    return int64_t(now) > time;
}

}  // namespace

void TickScreenEffects(TScreenEffects& list, uint32_t now) {
    // The length is read anew on every step: a callback may change the list.
    for (size_t i = 0; i < list.size();) {
        TPartEffect& instance = list[i];
        if (!instance.Effect || !instance.Active) {
            ++i;
            continue;
        }
        instance.Effect->Update(now);
        const bool ended =
            instance.Effect->Finished || (instance.EndTime > 0 && Passed(now, instance.EndTime));
        if (!ended) {
            ++i;
        } else if (instance.RepeatDelay > 0) {
            instance.Active = false;
            instance.RestartTime = int64_t(instance.Effect->StartTime) + instance.RepeatDelay;
            ++i;
        } else {
            DeleteKelScreenEffect(list, i);  // the next instance moves up to i
        }
    }
    for (TPartEffect& instance : list) {
        if (instance.Active || instance.RestartTime <= 0 || !Passed(now, instance.RestartTime))
            continue;
        instance.Active = true;
        instance.RestartTime = -1;
        if (instance.Effect) StartEffect(*instance.Effect, now);
    }
}
