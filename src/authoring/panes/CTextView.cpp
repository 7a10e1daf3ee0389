#include "authoring/panes/CTextView.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CResource.h"

#include <algorithm>

PW_DEFINE_CLASS(CTextView, nullptr, nullptr, CEditPane)

CTextView::CTextView(View* parent, const Rect& bounds, const SmartPtr<StyledText>& text)
    : CEditPane(parent, bounds.left, bounds.top, bounds.right, bounds.bottom)
    , text(text)
    , dropper(CToolsDir::GetDropperTool())
    , page(parent ? parent->GetBounds() : bounds)
{
    // Editable: a static text view would take no keys.
    textView = new TextView(this, bounds.left, bounds.top, bounds.right, bounds.bottom,
        SmartPtr<String>(text.Get()), kSizeStretch, true, true, false, true);
    // The frame grows by what the text view keeps of the rectangle for itself on each side.
    Rect content = textView->GetContentRect();
    Point size = bounds.Size();
    Point kept = content.Size();
    Rect fitted(bounds.left + (bounds.left - content.left), bounds.top + (bounds.top - content.top), 0, 0);
    fitted.right = fitted.left + size.h + (size.h - kept.h);
    fitted.bottom = fitted.top + size.v + (size.v - kept.v);
    textView->SetBounds(fitted.left, fitted.top, fitted.right, fitted.bottom);
    SetBounds(fitted.left, fitted.top, fitted.right, fitted.bottom);
    opened = fitted;
    AddChild(SmartPtr<View>(textView.Get()));
    // Letters typed into a text opened again go after its own, not in front of them.
    if (HWND edit = textView->GetEditWindow()) {
        auto end = static_cast<WPARAM>(text->Length());
        SendMessageA(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    }
    dropper->ToggleClient(this, false);
    textView->ToggleLink(this);
}

CTextView::~CTextView()
{
    dropper->ToggleClient(this, false);
    textView->ToggleLink(this);
}

bool CTextView::MakeResource(Rect& rect, SmartPtr<CResource>& resource)
{
    // Where the box was opened stands for the incoming corner: a box moved to keep its text on
    // the page moves the text with it.
    Rect content = textView->GetContentRect();
    content.Offset(rect.left - opened.left, rect.top - opened.top);
    rect = content;
    // The text leaves with a style of its own: the text tool's, which it may share while being
    // edited, goes on changing with the tool's options.
    text->SetStyle(new TextStyle(*text->GetStyle().Get()));
    resource = new CResource(SmartPtr<Persistent>(text.Get()), true);
    Point extent = text->Measure(0);
    int32_t width = rect.right - rect.left;
    if (width > extent.h) {
        rect = Rect(rect.left, rect.top, rect.left + extent.h, rect.top + extent.v);
    } else {
        // Laid out at the box's width as the page draws it: the frame holds every line and no
        // more, and a word wider than the line, which the page's drawing does not split, widens
        // it. A frame as high as the box would reach below the text, off the page at its foot.
        Point wrapped = text->MeasureDrawn(std::max<int32_t>(width, 1));
        rect.right = rect.left + std::max(width, wrapped.h);
        rect.bottom = rect.top + wrapped.v;
    }
    resource->SetRect(rect);
    return true;
}

void CTextView::SetStyle(const SmartPtr<TextStyle>& style)
{
    textView->SetStyle(style);
    FitText();
}

void CTextView::PaintChanged(CDropperTool*)
{
    SmartPtr<TextStyle> style = textView->GetStyle();
    style->SetColor(pw::authoring::PaintSettings::Current().foreground);
    textView->SetStyle(style);
}

void CTextView::DefaultBounds()
{
    constexpr Point center(320, 200);
    constexpr int32_t width = 300;
    constexpr int32_t height = 100;
    constexpr Rect box(center.h - width / 2, center.v - height / 2, center.h + width / 2, center.v + height / 2);
    SmartPtr<CDropperTool> picker = dropper.Valid() ? dropper : CToolsDir::GetDropperTool();
    if (picker.Valid())
        picker->SetToolRef(box.right, box.bottom);
}

void CTextView::TargetChanged(void*)
{
    FitText();
}

// The box shows the text whole as the page will draw it: never smaller than it was opened, as wide
// as the text's widest word (which the edit control would otherwise break, showing a large text a
// letter at a time) and as high as its lines. The text stays on the page: pushed past the page's
// right or bottom edge, the box moves left or up as far as the page allows. The text view follows
// the pane's edges.
void CTextView::FitText()
{
    Point least = opened.Size();
    Point drawn = text->MeasureDrawn(least.h);
    int32_t width = std::max(least.h, drawn.h);
    if (width != least.h)
        drawn = text->MeasureDrawn(width);
    int32_t height = std::max(least.v, drawn.v);
    int32_t left = std::max(page.left, std::min(opened.left, page.right - width));
    int32_t top = std::max(page.top, std::min(opened.top, page.bottom - drawn.v));
    SetBounds(left, top, left + width, top + height);
}
