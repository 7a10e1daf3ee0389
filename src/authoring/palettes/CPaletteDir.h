#pragma once

#include "authoring/palettes/Floater.h"
#include "authoring/palettes/PaletteClient.h"
#include "foundation/SoundResource.h"

// The floating window that holds button palettes. Its palettes report the clicked cell to it (it
// is their client); it plays its click sound and hands the cell number to SelectIndex, which its
// subclasses give a meaning. Closing it only hides it. It can be linked to a second palette
// window whose selection it clears on request.
class CPaletteDir : public Floater, public pw::authoring::PaletteClient {
    PW_CLASS_INFO(CPaletteDir)
    PW_COPY_SLOTS

public:
    // The click sound may be empty.
    CPaletteDir(int32_t kind, const SmartPtr<SoundResource>& clickSound);
    ~CPaletteDir() override;

    void Close() override { Hide(); }

    // The click sound, then SelectIndex. Subclasses that add steps call this first.
    void CellChosen(int16_t index) override;
    virtual void SelectIndex(int16_t) { }
    // The linked window selects no cell.
    virtual void DeselectLinked();

    void SetLinkedDir(const SmartPtr<CPaletteDir>& window) { linkedDir = window; }

    // Plays the sound when there is one; a sound whose file cannot be read is passed over.
    static void PlayClick(const SmartPtr<SoundResource>& sound);

private:
    SmartPtr<SoundResource> clickSound;
    SmartPtr<CPaletteDir> linkedDir;
};
