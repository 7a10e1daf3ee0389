// What bitmaps lend the resource sets: the BMP file type of the "Data" folder's replacement
// pictures, pictures read from those files or made from the module's bitmaps, both keyed on value
// 255 as resource pictures are, their sizes, and the 8 x 8 pattern at their top left.
#include "graphics/BitMap.h"

#include "foundation/File.h"
#include "foundation/Resources.h"
#include "graphics/BMPFile.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr uint32_t kResourceKey = 255;

const bool bitmapMakersLent = [] {
    auto& services = pw::foundation::GetResourceServices();
    services.bitmapFileType = &BMPFile::GetFileType();
    services.bitmapFromFile = [](File& file) { return SmartPtr<Smart>(new BitMap(file, true, kResourceKey)); };
    services.bitmapFromHandle = [](HBITMAP bitmap) { return SmartPtr<Smart>(new BitMap(bitmap, true, kResourceKey)); };
    services.bitmapSize = [](Smart& bitmap) { return SmartCast<BitMap>(&bitmap)->GetBounds().Size(); };
    services.bitmapPattern = [](Smart& bitmap, uint8_t* rows) {
        Pattern pattern = SmartCast<BitMap>(&bitmap)->GetPattern();
        std::copy(std::begin(pattern.rows), std::end(pattern.rows), rows);
    };
    return true;
}();

} // namespace
