#include "authoring/tools/CTextTool.h"

#include "authoring/panes/CHAPane.h"
#include "authoring/panes/CTextView.h"
#include "authoring/resources/KidResources.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CHAApp.h"
#include "ui/Cursor.h"
#include "ui/StyledText.h"

#include <algorithm>
#include <array>

namespace {

constexpr int16_t kStartSound = 14;
constexpr int16_t kPendingSound = 42;
constexpr std::array<int16_t, 4> kFonts { 2, 3, 3, 4 };
constexpr std::array<uint8_t, 6> kStyles { 1, 2, 8, 4, 6, 12 };
constexpr std::array<int16_t, 10> kSizes { 9, 10, 12, 14, 16, 18, 24, 36, 48, 72 };

bool InRange(int16_t kind, int16_t value)
{
    switch (kind) {
    case 0:
        return value >= 1 && value <= int16_t(kFonts.size());
    case 1:
        return value >= 1 && value <= int16_t(kStyles.size());
    case 2:
        return value >= 1 && value <= int16_t(kSizes.size());
    default:
        return false;
    }
}

// The largest point size, up to the largest option, at which the text (drawn in `look`) fits in
// `room`; 1 when none does. The look keeps its size.
int16_t LargestFitting(StyledText& text, TextStyle& look, Point room)
{
    int16_t original = look.GetPointSize();
    int16_t low = 1;
    int16_t high = kSizes.back();
    while (low < high) {
        auto middle = static_cast<int16_t>((low + high + 1) / 2);
        look.SetPointSize(middle);
        Point size = text.Measure(0);
        if (size.h <= room.h && size.v <= room.v)
            low = middle;
        else
            high = static_cast<int16_t>(middle - 1);
    }
    look.SetPointSize(original);
    return low;
}

} // namespace

CTextTool::CTextTool()
    : CTool(kNumber, KidResources::Lookup(kStartSound), false, KidResources::Lookup(kPendingSound))
    , style(new TextStyle(1, 12, TextStyle::kBold, Color(1), Color(Color::kNoColor)))
{
}

CTextTool::~CTextTool() = default;

int16_t CTextTool::CountOptions(int16_t kind)
{
    switch (kind) {
    case 0:
        return int16_t(kFonts.size());
    case 1:
        return int16_t(kStyles.size());
    case 2:
        return int16_t(kSizes.size());
    default:
        return 0;
    }
}

void CTextTool::ApplyOption(TextStyle& style, int16_t kind, int16_t value)
{
    auto index = static_cast<size_t>(value - 1);
    if (kind == 0)
        style.SetFontNumber(kFonts[index]);
    else if (kind == 1)
        style.SetStyleFlags(kStyles[index]);
    else
        style.SetPointSize(kSizes[index]);
}

void CTextTool::SetOption(int16_t kind, int16_t value)
{
    if (!InRange(kind, value))
        return;
    ApplyOption(*style.Get(), kind, value);
    CHAApp* app = CHAApp::Get();
    auto* pane = app ? SmartCast<CHAPane>(app->GetActivePane().Get()) : nullptr;
    if (!pane)
        return;
    // The text being edited takes the one option chosen and keeps the rest of its own look: a
    // text opened again keeps its colour, font and style when only its size is chosen.
    if (auto* editor = SmartCast<CTextView>(pane->GetEditView().Get())) {
        SmartPtr<TextStyle> look = new TextStyle(*editor->GetTextView()->GetStyle().Get());
        ApplyOption(*look.Get(), kind, value);
        editor->SetStyle(look);
    }
}

// A sample is drawn whole inside its cell. Fonts and styles show at the style's size when that
// fits, else at the largest size that does. Sizes show one letter, which in a cell of the option
// window keeps its own size over most of the sizes where three letters would have to shrink: at
// their own size up to the largest that fits, and beyond it one point apart below that largest,
// so that every size cell still differs from its neighbours and grows with its size.
void CTextTool::ApplyWithOption(DisplayPort& port, const Rect& rect, int16_t kind, int16_t value)
{
    if (!InRange(kind, value))
        return;
    SmartPtr<TextStyle> sample = new TextStyle(*style.Get());
    ApplyOption(*sample.Get(), kind, value);
    sample->SetColor(pw::authoring::PaintSettings::Current().foreground);
    sample->SetFormat(sample->GetFormat() | DT_SINGLELINE | DT_NOPREFIX);
    SmartPtr<StyledText> text = new StyledText(String(kind == 2 ? "a" : "abc"), sample);
    int16_t wanted = sample->GetPointSize();
    int16_t largest = LargestFitting(*text.Get(), *sample.Get(), rect.Size());
    if (kind == 2)
        largest = static_cast<int16_t>(largest - (int16_t(kSizes.size()) - value));
    sample->SetPointSize(std::max<int16_t>(1, std::min(wanted, largest)));
    Point size = text->Measure(0);
    Point centre = rect.Center();
    Rect box(centre.h - size.h / 2, centre.v - size.v / 2, centre.h - size.h / 2 + size.h,
        centre.v - size.v / 2 + size.v);
    text->Draw(port, box, Color(1));
}

void CTextTool::SetColor(const Color& color)
{
    style->SetColor(color);
}

void CTextTool::ToggleClient(const void* client)
{
    auto found = std::find(clients.begin(), clients.end(), client);
    if (found != clients.end())
        clients.erase(found);
    else
        clients.push_back(client);
}

bool CTextTool::HasClient(const void* client) const
{
    return std::find(clients.begin(), clients.end(), client) != clients.end();
}
