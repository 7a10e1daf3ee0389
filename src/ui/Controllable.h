#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Smart.h"
#include "foundation/TypedArray.h"

#include <cstdint>

class TextClient;

// Something controls can drive (lists, text views, browsers). Controls link themselves to it and
// it broadcasts to them; it answers their questions through four operations whose meaning each
// controllable class defines. The links are plain pointers, in the order they were linked: a
// control unlinks itself before it goes.
class Controllable : public virtual Smart {
    PW_CLASS_INFO(Controllable)

public:
    // Two values for `argument`, through the two outputs.
    virtual void GetRange(int32_t argument, int32_t* first, int32_t* second) = 0;
    virtual int32_t GetPageSize(int32_t axis) = 0;
    virtual void TakeValue(int32_t value) = 0;
    virtual int32_t GetValueFor(int32_t tag) = 0;

    // Links an unlinked object, unlinks a linked one.
    void ToggleLink(TextClient* object);
    // Every linked object's RevealRange with the three values, the most recently linked first.
    void Broadcast(int32_t first, int32_t second, int32_t third);
    // Every linked object's TargetChanged, the most recently linked first.
    void BroadcastChange();
    // GetRange for the argument (its answer dropped), then GetValueFor the argument.
    int32_t Query(int32_t argument);

    uint32_t NumLinks() const { return links.NumItems(); }

protected:
    Controllable() = default;
    // A copy starts with no links: they belong to the controls of the original.
    Controllable(const Controllable&);
    Controllable& operator=(const Controllable&);

private:
    TypedArray<TextClient*> links;
};
