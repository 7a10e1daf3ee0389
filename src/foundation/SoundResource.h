#pragma once

#include "foundation/Purgeable.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class Resources;

// A counted handle to the sound of one number of a resource set: the sound file named by that
// number in the "Data" folder, loaded on first use and kept until memory runs short and nobody else
// holds it. The set keeps one handle per number; a failed load leaves it unloaded to try again.
class SoundResource : public SmartImplementation, public Purgeable {
    PW_CLASS_INFO(SoundResource)
    PW_COPY_SLOTS

public:
    SoundResource(Resources* owner, int16_t number);
    ~SoundResource() override;
    SoundResource(const SoundResource&) = delete;
    SoundResource& operator=(const SoundResource&) = delete;

    // The sound, loaded first when needed (the missing-data-file error when there is none).
    SmartPtr<Smart> Get();
    // Lets the sound go when only this handle holds it.
    void Purge(uint32_t bytesWanted) override;

    bool IsLoaded() const { return loaded.Valid(); }
    int16_t GetNumber() const { return number; }
    // The set goes before its handles: they then refuse to load.
    void Orphan() { owner = nullptr; }

private:
    SmartPtr<Smart> loaded;
    Resources* owner;
    int16_t number;
};
