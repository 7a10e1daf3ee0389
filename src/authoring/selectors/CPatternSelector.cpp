#include "authoring/selectors/CPatternSelector.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/tools/PaintSettings.h"
#include "graphics/Area.h"
#include "graphics/TextStyle.h"
#include "ui/ViewPort.h"
#include "ui/Window.h"

using pw::authoring::PaintSettings;

namespace {

const Rect kSwatchBounds(0, 0, 74, 74);

Rect Inset(const Rect& r, int32_t by)
{
    return Rect(r.left + by, r.top + by, r.right - by, r.bottom - by);
}

// Built at the first draw, released at exit: a face and size in which the label fits the strip
// whole, centred in it.
TextStyle& PatternTextStyle()
{
    static SmartPtr<TextStyle> style = [] {
        SmartPtr<TextStyle> made = new TextStyle(1, 9, TextStyle::kBold, Color(1), Color(13));
        made->SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return made;
    }();
    return *style.Get();
}

} // namespace

CPatternSelector::CPatternSelector(View* parent)
    : View(parent, kSwatchBounds, kSizeTopLeft, false, false)
    , dropper(CToolsDir::GetDropperTool())
{
    Layout();
    dropper->ToggleClient(this, true);
}

CPatternSelector::~CPatternSelector()
{
    dropper->ToggleClient(this, true);
}

void CPatternSelector::Layout()
{
    Rect b = GetBounds();
    patternRect = Inset(Rect(b.left, b.top, b.right, b.top + 21), 3);
    outerRect = Inset(Rect(b.left, b.top + 18, b.right, b.bottom), 3);
    innerRect = Inset(outerRect, 11);
}

void CPatternSelector::SetBounds(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    View::SetBounds(left, top, right, bottom);
    Layout();
}

void CPatternSelector::DrawContent(DisplayPort& port, Area&)
{
    port.DrawText("Pattern", 7, patternRect, PatternTextStyle());
    Rect frame = Inset(patternRect, -2);
    CToolsDir::DrawBeveledFrame(port, frame);
    if (!IsVisible())
        return;
    const PaintSettings& paint = PaintSettings::Current();
    Rect ring = outerRect;
    CToolsDir::DrawBeveledFrame(port, ring);
    port.DrawRectangle(ring, paint.background, Color(Color::kNoColor), 1);
    Rect square = innerRect;
    CToolsDir::DrawBeveledFrame(port, square);
    port.DrawRectangle(square, paint.foreground, Color(Color::kNoColor), 1);
}

bool CPatternSelector::MouseDown(int32_t h, int32_t v, BitFlags, uint8_t, const SmartPtr<Window>& window)
{
    Point origin = window.Valid() ? window->GetContentOrigin() : Point(0, 0);
    int32_t whereH = h + origin.h;
    int32_t whereV = v + origin.v;
    if (patternRect.Contains(h, v))
        dropper->SetPatternToolRef(whereH, whereV);
    else if (innerRect.Contains(h, v))
        dropper->SetToolRef(whereH, whereV);
    else if (outerRect.Contains(h, v))
        dropper->SetBackgroundToolRef(whereH, whereV);
    return true;
}

void CPatternSelector::PaintChanged(CDropperTool*)
{
    {
        pw::ui::ViewPort port(GetDrawingDevice(), GetBounds());
        Area bounds(GetBounds());
        DrawContent(port, bounds);
    }
    InvalidateView(false);
}

void CPatternSelector::SetKidColors()
{
    PaintSettings& paint = PaintSettings::Current();
    paint.foreground = Color(14);
    paint.background = Color(15);
    paint.erase = Color(0);
}
