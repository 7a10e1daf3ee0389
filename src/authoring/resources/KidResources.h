#pragma once

#include "authoring/palettes/ButtonGrid.h"
#include "foundation/ImageResource.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/SoundResource.h"

#include <cstdint>
#include <memory>

class Resources;

// The authoring layer's resources: the kid set (identifiers 1000 to 4999: pictures and sounds by
// number, the pictures of the palette layouts) and the authoring set (identifiers 200 to 399:
// cursors, strings and patterns), both alive from start-up to exit, and the palette layouts by
// palette number. Numbers are relative to their set: 0 to 3999 and 0 to 199.
class KidResources {
public:
    // The cached sound of a number of the kid set, the same handle for the same number.
    static SmartPtr<SoundResource> Lookup(int16_t number);
    // The cached picture of a number of the kid set.
    static SmartPtr<ImageResource> LookupImage(int16_t number);
    // A new layout of palette 201 to 213 or 300 to 310 (see the table in the source); any other
    // number fails the assertion "false".
    static std::unique_ptr<ButtonGrid> MakeButtonGrid(int16_t palette);
    // String `number` of the authoring set with %1 to %4 filled in, into 256 bytes.
    static void GetString(char* destination, int32_t number, const char* arg1 = nullptr, const char* arg2 = nullptr,
        const char* arg3 = nullptr, const char* arg4 = nullptr);
    // Pattern `number` of the authoring set as eight rows.
    static void GetPattern(uint8_t* rows, int16_t number);

    static Resources& KidSet();
    static Resources& AuthoringSet();
};

// A new list of the kid set's sounds (or pictures) of the numbers first to last, in increasing
// order; empty when first is greater than last.
SmartList<SoundResource> MakeSoundResourceList(int16_t first, int16_t last);
SmartList<ImageResource> MakeImageResourceList(int16_t first, int16_t last);

namespace pw::authoring::testing {

// Both sets start again empty, so a test's pictures and sounds are read from its own "Data" folder.
void ResetKidResources();

} // namespace pw::authoring::testing
