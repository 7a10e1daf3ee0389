#include "authoring/resources/KidResources.h"

#include "foundation/Exception.h"
#include "foundation/Resources.h"

namespace {

struct Layout {
    int16_t palette;
    int16_t rows;
    int16_t columns;
    int16_t cellWidth;
    int16_t cellHeight;
    // Picture numbers of the kid set; 0 means none.
    int16_t normal;
    int16_t selected;
    int16_t disabled;
};

constexpr Layout kLayouts[] = {
    { 201, 1, 7, 30, 25, 20, 21, 0 },
    { 202, 3, 2, 25, 25, 30, 31, 0 },
    { 203, 2, 2, 33, 33, 10, 11, 0 },
    { 204, 2, 1, 22, 17, 50, 51, 0 },
    { 206, 1, 1, 66, 33, 60, 61, 62 },
    { 210, 1, 3, 100, 34, 100, 101, 0 },
    { 211, 1, 3, 100, 34, 110, 111, 0 },
    { 212, 1, 3, 100, 34, 120, 121, 0 },
    { 213, 1, 3, 100, 34, 130, 131, 0 },
    { 300, 2, 7, 35, 35, 2000, 0, 0 },
    { 301, 2, 10, 35, 35, 2010, 0, 0 },
    // The option palettes of the tools window have a cell for every option of their tool: the
    // dropper's 32 colours (302), the selection tool's 4 modes (304), the brush's 24 brushes and
    // the eraser's 20 sizes (305), the bucket's 10 gradients (310).
    { 302, 4, 8, 35, 35, 0, 0, 0 },
    { 304, 2, 2, 35, 35, 2040, 0, 0 },
    { 305, 3, 8, 35, 35, 0, 0, 0 },
    { 306, 2, 5, 35, 35, 0, 0, 0 },
    { 307, 2, 9, 35, 35, 0, 0, 0 },
    { 308, 2, 3, 35, 35, 0, 0, 0 },
    { 309, 2, 2, 35, 35, 0, 0, 0 },
    { 310, 2, 5, 35, 35, 0, 0, 0 },
};

SmartPtr<ImageResource> PictureOrNone(int16_t number)
{
    return number == 0 ? SmartPtr<ImageResource>() : KidResources::LookupImage(number);
}

} // namespace

namespace {

std::unique_ptr<Resources>& KidHolder()
{
    static std::unique_ptr<Resources> set = std::make_unique<Resources>(1000, 4999);
    return set;
}

std::unique_ptr<Resources>& AuthoringHolder()
{
    static std::unique_ptr<Resources> set = std::make_unique<Resources>(200, 399);
    return set;
}

} // namespace

Resources& KidResources::KidSet()
{
    return *KidHolder();
}

Resources& KidResources::AuthoringSet()
{
    return *AuthoringHolder();
}

void pw::authoring::testing::ResetKidResources()
{
    KidHolder() = std::make_unique<Resources>(1000, 4999);
    AuthoringHolder() = std::make_unique<Resources>(200, 399);
}

SmartPtr<ImageResource> KidResources::LookupImage(int16_t number)
{
    return KidSet().GetImageResource(number);
}

SmartPtr<SoundResource> KidResources::Lookup(int16_t number)
{
    return KidSet().GetSoundResource(number);
}

namespace {

// The running number is wider than the numbers, so a list may end at the last one.
template <typename T, SmartPtr<T> (*lookup)(int16_t)>
SmartList<T> MakeResourceList(int16_t first, int16_t last)
{
    SmartList<T> list;
    for (int32_t number = first; number <= last; ++number)
        list.Append(lookup(static_cast<int16_t>(number)));
    return list;
}

} // namespace

SmartList<SoundResource> MakeSoundResourceList(int16_t first, int16_t last)
{
    return MakeResourceList<SoundResource, &KidResources::Lookup>(first, last);
}

SmartList<ImageResource> MakeImageResourceList(int16_t first, int16_t last)
{
    return MakeResourceList<ImageResource, &KidResources::LookupImage>(first, last);
}

std::unique_ptr<ButtonGrid> KidResources::MakeButtonGrid(int16_t palette)
{
    for (const Layout& layout : kLayouts) {
        if (layout.palette != palette)
            continue;
        auto grid = std::make_unique<ButtonGrid>();
        grid->rows = layout.rows;
        grid->columns = layout.columns;
        grid->cellWidth = layout.cellWidth;
        grid->cellHeight = layout.cellHeight;
        grid->normalPicture = PictureOrNone(layout.normal);
        grid->selectedPicture = PictureOrNone(layout.selected);
        grid->disabledPicture = PictureOrNone(layout.disabled);
        return grid;
    }
    AssertionFailed("false", PW_HERE);
}

void KidResources::GetString(char* destination, int32_t number, const char* arg1, const char* arg2, const char* arg3,
    const char* arg4)
{
    AuthoringSet().GetString(destination, number, arg1, arg2, arg3, arg4);
}

void KidResources::GetPattern(uint8_t* rows, int16_t number)
{
    AuthoringSet().GetPattern(number, rows);
}
