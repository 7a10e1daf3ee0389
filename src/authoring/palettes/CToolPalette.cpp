#include "authoring/palettes/CToolPalette.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/Image.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"

#include <algorithm>

CToolPalette::CToolPalette(View* parent, std::unique_ptr<ButtonGrid> grid, int16_t first)
    : View(parent, Rect(0, 0, 0, 0), kSizeTopLeft, false, false)
    , current(first)
    , first(first)
{
    CheckNotNull(grid.get(), PW_HERE);
    normalPicture = grid->normalPicture;
    selectedPicture = grid->selectedPicture;
    disabledPicture = grid->disabledPicture;
    rows = grid->rows;
    columns = grid->columns;
    cellWidth = grid->cellWidth;
    cellHeight = grid->cellHeight;
    count = static_cast<int16_t>(rows * columns);
    cellStates.assign(static_cast<size_t>(std::max<int16_t>(count, 0)), kNormal);
    cellPictures.resize(cellStates.size());
    selectedCellPictures.resize(cellStates.size());
    auto picture = [](const std::vector<SmartPtr<Smart>>& list, size_t i) {
        return i < list.size() ? SmartPtr<ImageResource>(SmartCast<ImageResource>(list[i].Get())) : nullptr;
    };
    for (size_t i = 0; i < grid->cellNumbers.size(); ++i) {
        int16_t s = grid->cellNumbers[i];
        if (s <= 0 || s > count)
            continue;
        cellPictures[static_cast<size_t>(s - 1)] = picture(grid->cellPictures, i);
        selectedCellPictures[static_cast<size_t>(s - 1)] = picture(grid->selectedCellPictures, i);
    }
    grid.reset();
    SetBounds(0, 0, columns * cellWidth, rows * cellHeight);
}

CToolPalette::~CToolPalette() = default;

void CToolPalette::DrawContent(DisplayPort& port, Area&)
{
    if (normalPicture.Valid())
        DrawPicture(port, normalPicture, GetBounds());
    else
        DrawGrid(port);
    for (int16_t n = first; n < first + count; ++n) {
        Rect cell = GetCellRect(n);
        PortSaverRect saver(port, cell);
        DrawCell(port, n, cell, true);
    }
    DrawSelection(port, current, true);
}

void CToolPalette::DrawCell(DisplayPort& port, int16_t index, const Rect& cellRect, bool inFullDraw)
{
    if (!Contains(index))
        return;
    switch (cellStates[Slot(index)]) {
    case kDisabled:
        if (disabledPicture.Valid())
            DrawPicture(port, disabledPicture, GetBounds());
        break;
    case kHighlighted: {
        SmartPtr<ImageResource> picture;
        if (index == current)
            picture = selectedCellPictures[Slot(index)];
        if (!picture.Valid())
            picture = cellPictures[Slot(index)];
        if (picture.Valid())
            DrawPicture(port, picture, cellRect);
        break;
    }
    default:
        if (index == current && selectedPicture.Valid())
            DrawPicture(port, selectedPicture, GetBounds());
        else if (!inFullDraw && normalPicture.Valid())
            DrawPicture(port, normalPicture, GetBounds());
        break;
    }
}

void CToolPalette::DrawSelection(DisplayPort& port, int16_t index, bool inFullDraw)
{
    if (index == 0)
        return;
    Rect cell = GetCellRect(index);
    if (!selectedPicture.Valid()) {
        port.InvertRect(cell);
    } else if (!inFullDraw) {
        PortSaverRect saver(port, cell);
        DrawCell(port, index, cell, false);
    }
}

bool CToolPalette::DrawPicture(DisplayPort& port, const SmartPtr<ImageResource>& picture, const Rect& rect)
{
    SmartPtr<Smart> loaded = picture->Get();
    Image* image = SmartCast<Image>(loaded.Get());
    CheckNotNull(image, PW_HERE);
    Rect imageBounds = image->GetBounds();
    Translation offset(rect.left - imageBounds.left, rect.top - imageBounds.top);
    PortSaverTransform saver(port, offset);
    image->Draw(port, 0);
    return true;
}

void CToolPalette::DrawGrid(DisplayPort& port)
{
    Rect bounds = GetBounds();
    Color black(1);
    int32_t width = columns * cellWidth;
    int32_t height = rows * cellHeight;
    for (int32_t row = 1; row <= rows; ++row) {
        int32_t v = bounds.top + row * cellHeight - 1;
        port.DrawLine(bounds.left, v, bounds.left + width, v, black, 1);
    }
    for (int32_t column = 1; column <= columns; ++column) {
        int32_t h = bounds.left + column * cellWidth - 1;
        port.DrawLine(h, bounds.top, h, bounds.top + height, black, 1);
    }
}

void CToolPalette::DrawWithSelection(int16_t index)
{
    {
        DisplayPort port(GetDrawingDevice(), GetBounds(), 0);
        if (index == 0) {
            if (selectedPicture.Valid())
                DrawPicture(port, selectedPicture, GetBounds());
        } else {
            int16_t kept = current;
            current = index;
            DrawSelection(port, index, false);
            current = kept;
        }
    }
    InvalidateView(false);
}

bool CToolPalette::MouseDown(int32_t h, int32_t v, BitFlags, uint8_t clicks, const SmartPtr<Window>&)
{
    int16_t k = CellAt(Point(h, v));
    if ((options & kNotifyOnReselect) && k == current)
        NotifyClients(k);
    else if (k != current && k != 0 && cellStates[Slot(k)] != kDisabled)
        NotifyClients(k);
    else if (clicks == 2 && k == current)
        DoubleClick(k);
    return true;
}

void CToolPalette::NotifyClients(int16_t index)
{
    // A client may remove itself while it is told, so the list is copied first.
    std::vector<pw::authoring::PaletteClient*> told = clients;
    for (pw::authoring::PaletteClient* client : told)
        client->CellChosen(index);
}

void CToolPalette::SelectTool(int16_t index)
{
    if (!Contains(index))
        index = 0;
    if (index == current)
        return;
    int16_t old = current;
    current = index;
    if (IsVisible()) {
        RedrawCell(old);
        RedrawCell(index);
    }
}

void CToolPalette::RedrawCell(int16_t index)
{
    if (Contains(index))
        ImageChanged(Area(GetCellRect(index)), Area::EmptyArea());
}

bool CToolPalette::EnableCell(int16_t index, bool enable)
{
    if (index == -1) {
        for (int16_t n = first; n < first + count; ++n)
            EnableCell(n, enable);
        InvalidateView(false);
        return true;
    }
    if (!Contains(index))
        ThrowError("Range error", PW_HERE);
    uint8_t& state = cellStates[Slot(index)];
    if (enable && state == kDisabled)
        state = kNormal;
    else if (!enable && state != kDisabled)
        state = kDisabled;
    else
        return false;
    RedrawCell(index);
    return true;
}

void CToolPalette::HighlightCell(int16_t index, bool on)
{
    if (!Contains(index))
        return;
    uint8_t& state = cellStates[Slot(index)];
    if (state == kNormal && on)
        state = kHighlighted;
    else if (state == kHighlighted && !on)
        state = kNormal;
    else
        return;
    RedrawCell(index);
}

uint8_t CToolPalette::GetCellState(int16_t index) const
{
    return Contains(index) ? cellStates[Slot(index)] : kNormal;
}

void CToolPalette::SetNotifyOnReselect(bool notify)
{
    options = notify ? (options | kNotifyOnReselect) : (options & ~kNotifyOnReselect);
}

void CToolPalette::AddClient(pw::authoring::PaletteClient* client)
{
    clients.push_back(client);
}

void CToolPalette::RemoveClient(pw::authoring::PaletteClient* client)
{
    auto found = std::find(clients.begin(), clients.end(), client);
    if (found != clients.end())
        clients.erase(found);
}

int16_t CToolPalette::CellAt(Point point) const
{
    if (cellWidth <= 0 || cellHeight <= 0)
        return 0;
    Rect bounds = const_cast<CToolPalette*>(this)->GetBounds();
    int32_t h = point.h - bounds.left;
    int32_t v = point.v - bounds.top;
    int32_t row = (v - 1) / cellHeight;
    int32_t column = (h - 1) / cellWidth;
    if (row < 0 || row >= rows || column < 0 || column >= columns)
        return 0;
    return static_cast<int16_t>(columns * row + first + column);
}

Rect CToolPalette::GetCellRect(int16_t index) const
{
    if (!Contains(index))
        return Rect(0, 0, 0, 0);
    Rect bounds = const_cast<CToolPalette*>(this)->GetBounds();
    int32_t k = index - first;
    int32_t row = k / columns;
    int32_t column = k % columns;
    return Rect(bounds.left + column * cellWidth, bounds.top + row * cellHeight, bounds.left + (column + 1) * cellWidth,
        bounds.top + (row + 1) * cellHeight);
}
