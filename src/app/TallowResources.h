#pragma once

#include "authoring/palettes/ButtonGrid.h"
#include "foundation/ImageResource.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class Image;
class Resources;

// The application's own resources: the application set (identifiers 1000 to 3999: its strings and
// its pictures by number, both relative to 1000), alive from start-up to exit, and the layouts of
// the application's picture-button palettes: the five tab sets (400 to 404) and the tab-set
// selector (405).
class TallowResources {
public:
    // Application string `number` (identifier 1000 + number) with %1 to %4 filled in, cut to fit
    // the caller's `size` bytes and always terminated; a missing string raises "String Resource
    // Missing " with its identifier.
    static void GetString(char* destination, size_t size, int32_t number, const char* arg1 = nullptr,
        const char* arg2 = nullptr, const char* arg3 = nullptr, const char* arg4 = nullptr);
    // The same text as a String.
    static String GetString(int32_t number, const char* arg1 = nullptr, const char* arg2 = nullptr,
        const char* arg3 = nullptr, const char* arg4 = nullptr);
    // The cached picture of a number of the application set, the same handle for the same number;
    // its picture is empty when neither a data file nor a bitmap of the program has that number.
    static SmartPtr<ImageResource> GetImageResource(int16_t number);
    // The picture of a number, or empty when there is none (a picture the program can do without).
    static SmartPtr<Image> FindPicture(int16_t number);
    // A new layout of palette 400 to 405; any other number fails the assertion "false".
    static std::unique_ptr<ButtonGrid> MakeButtonGrid(int16_t palette);

    static Resources& ApplicationSet();
};

namespace pw::app::testing {

// The set starts again empty, so a test's pictures are read from its own "Data" folder.
void ResetTallowResources();

} // namespace pw::app::testing
