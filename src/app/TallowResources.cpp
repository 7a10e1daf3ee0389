#include "app/TallowResources.h"

#include "foundation/Exception.h"
#include "foundation/Resources.h"
#include "foundation/Utilities.h"
#include "graphics/Image.h"

#include <windows.h>

namespace {

// The two cell sizes of the application's palettes.
struct CellSize {
    int16_t width;
    int16_t height;
};
constexpr CellSize kTabCell { 86, 50 };
constexpr CellSize kSelectorCell { 133, 78 };

struct Layout {
    int16_t palette;
    int16_t rows;
    int16_t columns;
    CellSize cell;
    // Picture numbers of the application set.
    int16_t normal;
    int16_t pressed;
};

constexpr Layout kLayouts[] = {
    { 400, 1, 5, kTabCell, 511, 512 },
    { 401, 1, 5, kTabCell, 521, 522 },
    { 402, 1, 5, kTabCell, 531, 532 },
    { 403, 1, 5, kTabCell, 541, 542 },
    { 404, 1, 5, kTabCell, 501, 502 },
    { 405, 5, 1, kSelectorCell, 551, 552 },
};

std::unique_ptr<Resources>& ApplicationHolder()
{
    static std::unique_ptr<Resources> set = std::make_unique<Resources>(1000, 3999);
    return set;
}

} // namespace

Resources& TallowResources::ApplicationSet()
{
    return *ApplicationHolder();
}

void pw::app::testing::ResetTallowResources()
{
    ApplicationHolder() = std::make_unique<Resources>(1000, 3999);
}

void TallowResources::GetString(char* destination, size_t size, int32_t number, const char* arg1,
    const char* arg2, const char* arg3, const char* arg4)
{
    // The set composes into a message buffer of its own size; the caller's may be smaller.
    char text[kMessageSize];
    ApplicationSet().GetString(text, number, arg1, arg2, arg3, arg4);
    if (size > 0)
        CopyBounded(text, destination, static_cast<uint32_t>(size));
}

String TallowResources::GetString(int32_t number, const char* arg1, const char* arg2, const char* arg3,
    const char* arg4)
{
    char text[kMessageSize];
    ApplicationSet().GetString(text, number, arg1, arg2, arg3, arg4);
    return String(text);
}

SmartPtr<ImageResource> TallowResources::GetImageResource(int16_t number)
{
    return ApplicationSet().GetImageResource(number);
}

SmartPtr<Image> TallowResources::FindPicture(int16_t number)
{
    SmartPtr<ImageResource> picture = GetImageResource(number);
    try {
        return SmartPtr<Image>(SmartCast<Image>(picture->Get().Get()));
    } catch (Exception*) {
        // The missing-data-file error only means there is no such picture; nothing is reported.
        SetLastError(0);
        return SmartPtr<Image>();
    }
}

std::unique_ptr<ButtonGrid> TallowResources::MakeButtonGrid(int16_t palette)
{
    for (const Layout& layout : kLayouts) {
        if (layout.palette != palette)
            continue;
        auto grid = std::make_unique<ButtonGrid>();
        grid->rows = layout.rows;
        grid->columns = layout.columns;
        grid->cellWidth = layout.cell.width;
        grid->cellHeight = layout.cell.height;
        grid->normalPicture = GetImageResource(layout.normal);
        grid->selectedPicture = GetImageResource(layout.pressed);
        return grid;
    }
    AssertionFailed("false", PW_HERE);
}
