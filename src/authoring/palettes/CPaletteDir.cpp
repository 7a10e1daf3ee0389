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

void CPaletteDir::PlayClick(const SmartPtr<SoundResource>& sound)
{
    if (!sound.Valid())
        return;
    try {
        SmartPtr<Smart> loaded = sound->Get();
        if (Sound* playing = SmartCast<Sound>(loaded.Get()))
            playing->Play(true);
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
    }
}

// The choice counts whether or not the click could be heard.
void CPaletteDir::CellChosen(int16_t index)
{
    PlayClick(clickSound);
    SelectIndex(index);
}

void CPaletteDir::DeselectLinked()
{
    if (linkedDir.Valid())
        linkedDir->SelectIndex(0);
}
