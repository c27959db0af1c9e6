// Registration of the graphics classes.
#include "graphics/GraphicsClasses.h"

#include "core/KelBaseClasses.h"
#include "graphics/KelFont.h"

void RegisterGraphicsClasses() {
    TKelClassReg::Instance().Add(TKelFont::StaticClass());
}
