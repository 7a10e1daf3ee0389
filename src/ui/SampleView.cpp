#include "ui/SampleView.h"

#include "graphics/Area.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "ui/ClipTask.h"

#include <vector>

namespace pw::ui {

PW_DEFINE_CLASS(SampleView, nullptr, nullptr, View)

SampleView::SampleView(View* parent, const char* initialText)
    : View(parent, parent->GetBounds(), kSizeStretch, true, true)
    , text(initialText)
{
}

void SampleView::DrawContent(DisplayPort& port, Area&)
{
    Rect bounds = GetBounds();
    port.DrawRectangle(bounds, Color(0), Color(4), 1);
    Rect inner(bounds.left + 8, bounds.top + 8, bounds.right - 8, bounds.bottom - 8);
    port.DrawBevel(inner, Color(3), Color(5), 1);
    // The whole text, wrapped inside the bevel and never drawn over it.
    std::vector<char> chars(text.Length() + 1, '\0');
    text.GetCString(chars.data(), static_cast<uint32_t>(chars.size()));
    Rect page(inner.left + 12, inner.top + 12, inner.right - 12, inner.bottom - 12);
    if (page.right <= page.left || page.bottom <= page.top)
        return;
    SmartPtr<Area> clip = port.GetClip();
    port.NarrowClip(Area(page));
    port.DrawString(chars.data(), static_cast<int32_t>(text.Length()), page, Color(1));
    port.SetClip(clip);
}

bool SampleView::KeyDown(uint8_t key, int32_t)
{
    // Backspace takes back the last character; with none left it is still the page's key, so it
    // never reaches the clear command.
    if (key == 8) {
        if (text.Length() > 0) {
            text = String(text, 1, text.Length() - 1);
            InvalidateView(true);
        }
        return true;
    }
    if (key < 32 || key > 126)
        return false;
    char typed[2] = { static_cast<char>(key), 0 };
    text.Append(String(typed));
    InvalidateView(true);
    return true;
}

void SampleView::Copy(SmartPtr<Smart>& copied)
{
    copied = new String(text);
}

void SampleView::Paste(const SmartPtr<Smart>& object, int32_t, int32_t, int32_t)
{
    if (String* pasted = SmartCast<String>(object.Get())) {
        text.Append(*pasted);
        InvalidateView(true);
    }
}

void SampleView::Clear()
{
    text = String();
    InvalidateView(true);
}

bool SampleView::CanClip(int32_t mode)
{
    return mode == ClipTask::kPaste || text.Length() > 0;
}

} // namespace pw::ui
