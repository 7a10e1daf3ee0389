#include "authoring/panes/OverviewLayout.h"

#include <algorithm>

namespace pw::authoring {

namespace {

// Floor division: rows and columns left of or above the origin count down from -1.
int32_t FloorDiv(int32_t a, int32_t b)
{
    int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

bool OverviewLayout::Compute(int32_t width, int32_t height, int16_t& factor, uint32_t bits, int32_t viewWidth,
    int16_t frames)
{
    factor = std::clamp<int16_t>(factor, 1, 256);
    frameRect = Rect(0, 0, width / factor, height / factor);
    int16_t oldV = frameV;
    int16_t oldAcross = numAcross;
    frameH = static_cast<int16_t>(frameRect.right + 6);
    frameV = static_cast<int16_t>(frameRect.bottom + 2);
    frameRect.Offset(3, 1);
    if (bits & kPlainCells) {
        frameV = static_cast<int16_t>(frameV + 6);
        frameRect.Offset(0, 3);
    } else {
        frameV = static_cast<int16_t>(frameV + 16);
        frameRect.Offset(0, 8);
    }
    numFrames = frames;
    numAcross = frameH > 0 ? static_cast<int16_t>(std::max<int32_t>(1, (viewWidth - 2) / frameH)) : 1;
    numRows = static_cast<int16_t>((numFrames - 1) / numAcross + 1);
    stripRect = Rect(0, 1, frameH * numAcross + 2, frameV - 1);
    return frameV == oldV && numAcross == oldAcross;
}

Rect OverviewLayout::Cell(int32_t frame) const
{
    int32_t column = numAcross < 1 ? 0 : frame % numAcross;
    int32_t row = numAcross < 1 ? 0 : frame / numAcross;
    Rect cell = frameRect;
    cell.Offset(frameH * column + 1, (row - topRow) * frameV);
    return cell;
}

Rect OverviewLayout::Strip(int32_t row) const
{
    Rect strip = stripRect;
    strip.Offset(0, (row - topRow) * frameV);
    if (numAcross * (row + 1) > numFrames)
        strip.right = strip.left + (numFrames - numAcross * row) * frameH + 2;
    return strip;
}

OverviewLayout::Click OverviewLayout::Hit(int32_t h, int32_t v) const
{
    int32_t row = topRow + FloorDiv(v, frameV);
    return Hit(h, v, numAcross * row + FloorDiv(h + 2, frameH));
}

OverviewLayout::Click OverviewLayout::Hit(int32_t h, int32_t v, int32_t frame) const
{
    Click click;
    int32_t column = FloorDiv(h + 2, frameH);
    click.f = frame;
    Rect before = Cell(click.f);
    Rect after = Cell(click.f - 1);
    Rect left(before.left - kGap, before.top, before.left, before.bottom);
    Rect right(after.right, after.top, after.right + kGap, after.bottom);
    click.inGap = left.Contains(h, v) || right.Contains(h, v);
    if (click.inGap)
        click.ignored = click.f < 0 || click.f > numFrames;
    else
        click.ignored = column < 0 || column >= numAcross || click.f < 0 || click.f >= numFrames;
    int32_t within = std::max(std::min(FloorDiv(h - 1, frameH), int32_t(numAcross) - 1), 0);
    click.g = std::max(0, numAcross * (topRow + FloorDiv(v, frameV)) + within);
    return click;
}

} // namespace pw::authoring
