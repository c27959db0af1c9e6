// The surface report.
#include "app/SurfaceReport.h"

void WriteSurfaceReport(const TSurfEngine& store, TGameLog& log) {
    uint64_t total = 0;
    for (const TSurface& surface : store.Surfaces) {
        const uint64_t size = uint64_t(surface.Width) * uint64_t(surface.Height) * 4;
        total += size;
        log.WriteLog(surface.Name + " " + surface.FileName + " " + std::to_string(size),
                     "CurrentSurfaces.log");
    }
    log.WriteLog("Total surfaces size: " + std::to_string(total), "CurrentSurfaces.log");
}
