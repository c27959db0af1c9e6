// Registration of the interface classes.
#include "ui/InterfaceClasses.h"

#include "core/KelBaseClasses.h"
#include "ui/KelCheckBox.h"
#include "ui/KelEdit.h"
#include "ui/KelForm.h"
#include "ui/KelGrid.h"
#include "ui/KelHint.h"
#include "ui/KelMoving.h"
#include "ui/KelProgressBar.h"
#include "ui/KelSlider.h"

void RegisterInterfaceClasses() {
    TKelClassReg& registry = TKelClassReg::Instance();
    for (const TKelClass* kelClass :
         {&TKelInterfaceObject::StaticClass(), &TKelFocusedObject::StaticClass(),
          &TKelForm::StaticClass(), &TKelTabForm::StaticClass(), &TKelLabel::StaticClass(),
          &TKelCheckBox::StaticClass(), &TKelRadioButton::StaticClass(),
          &TKelProgressBar::StaticClass(), &TKelMoving::StaticClass(), &TKelEdit::StaticClass(),
          &TKelSlider::StaticClass(), &TKelGrid::StaticClass(), &TKelRichLabel::StaticClass(),
          &TKelHint::StaticClass()})
        registry.Add(*kelClass);
}
