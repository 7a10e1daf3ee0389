#include "authoring/palettes/CPaletteDir.h"

#include "foundation/Exception.h"
#include "graphics/Sound.h"

PW_DEFINE_CLASS(CPaletteDir, nullptr, nullptr, Window)
PW_DEFINE_NO_COPY_SLOTS(CPaletteDir)

CPaletteDir::CPaletteDir(int32_t kind, const SmartPtr<SoundResource>& clickSound)
    : Floater(kind)
    , clickSound(clickSound)
{
}

CPaletteDir::~CPaletteDir() = default;

// A click sound whose file cannot be read is passed over: the choice still counts.
void CPaletteDir::CellChosen(int16_t index)
{
    if (clickSound.Valid()) {
        try {
            SmartPtr<Smart> loaded = clickSound->Get();
            if (Sound* sound = SmartCast<Sound>(loaded.Get()))
                sound->Play(true);
        } catch (Exception*) {
            CurrentException() = SmartPtr<Exception>();
        }
    }
    SelectIndex(index);
}

void CPaletteDir::DeselectLinked()
{
    if (linkedDir.Valid())
        linkedDir->SelectIndex(0);
}
