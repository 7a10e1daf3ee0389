// ExtFloodFill: the 4-connected area of one pixel value, filled with the DC's brush.
#include "platform/gdi/Brush.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Painter.h"
#include "platform/kernel/LastError.h"

#include <vector>

using pw::platform::Fail;
using namespace pw::platform::gdi;

namespace {

struct Run {
    int y;
    int left;
    int right; // exclusive
};

// The runs of the 4-connected area of pixels holding `value` around (x, y), inside the clip.
// Each cell of `state` (over the clip box) is 0 outside the clip, 1 fillable, 2 taken.
std::vector<Run> FindArea(const Surface& surface, const RegionData& clip, int x, int y, uint32_t value)
{
    RECT box = clip.Box();
    int width = box.right - box.left;
    std::vector<uint8_t> state(static_cast<size_t>(width) * (box.bottom - box.top), 0);
    for (int row = box.top; row < box.bottom; ++row)
        clip.ForEachSpanInRow(row, box.left, box.right, [&](int a, int b) {
            for (int col = a; col < b; ++col)
                if (surface.Get(col, row) == value)
                    state[static_cast<size_t>(row - box.top) * width + (col - box.left)] = 1;
        });
    auto cell = [&](int col, int row) -> uint8_t& {
        return state[static_cast<size_t>(row - box.top) * width + (col - box.left)];
    };

    std::vector<Run> runs;
    std::vector<POINT> seeds { { x, y } };
    while (!seeds.empty()) {
        POINT seed = seeds.back();
        seeds.pop_back();
        if (cell(seed.x, seed.y) != 1)
            continue;
        int left = seed.x;
        int right = seed.x + 1;
        while (left > box.left && cell(left - 1, seed.y) == 1)
            --left;
        while (right < box.right && cell(right, seed.y) == 1)
            ++right;
        for (int col = left; col < right; ++col)
            cell(col, seed.y) = 2;
        runs.push_back({ static_cast<int>(seed.y), left, right });
        for (int row : { static_cast<int>(seed.y) - 1, static_cast<int>(seed.y) + 1 }) {
            if (row < box.top || row >= box.bottom)
                continue;
            for (int col = left; col < right; ++col)
                if (cell(col, row) == 1 && (col == left || cell(col - 1, row) != 1))
                    seeds.push_back({ col, row });
        }
    }
    return runs;
}

} // namespace

// FLOODFILLSURFACE: fills with the selected brush (aligned to the brush origin, no ROP2) the
// 4-connected area inside the clip of pixels whose value is the value `color` resolves to. 0 when
// the seed lies outside the clip or holds another value.
BOOL WINAPI ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (type != FLOODFILLSURFACE)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    Painter painter(*dc);
    const Surface& surface = painter.Target();
    long long px = 0LL + x + dc->Origin().x;
    long long py = 0LL + y + dc->Origin().y;
    uint32_t value = surface.ValueOf(dc->Resolve(color));
    if (px < INT32_MIN || px > INT32_MAX || py < INT32_MIN || py > INT32_MAX
        || !painter.Clip().Contains(static_cast<int>(px), static_cast<int>(py))
        || surface.Get(static_cast<int>(px), static_cast<int>(py)) != value)
        return FALSE;
    std::vector<Run> runs = FindArea(surface, painter.Clip(), static_cast<int>(px), static_cast<int>(py), value);
    const Brush* brush = ObjectTable::Find<Brush>(dc->brush);
    std::optional<Ink> ink = brush ? Ink::OfBrush(*dc, surface, *brush) : std::nullopt;
    if (ink)
        for (const Run& run : runs)
            painter.Span(run.y, run.left, run.right, *ink);
    return TRUE;
}
