#include "authoring/dialogs/COverDir.h"

#include "authoring/panes/COverview.h"
#include "engine/CFWDecorator.h"
#include "foundation/Exception.h"
#include "ui/App.h"
#include "ui/ScrollBar.h"

PW_DEFINE_CLASS(COverDir, nullptr, nullptr, Window, NumberCommandHandler)

namespace {

// The overview window's frame kind: a floating window with a small title.
constexpr int32_t kFloaterKind = 3;
// The strip's place: the bottom of the frame, stretched across it.
constexpr int32_t kAlignBottom = 2;
constexpr int32_t kAlignStretch = 3;

} // namespace

COverDir::COverDir(const SmartPtr<CHAPane>& pane, int32_t, bool floating, const Rect& wanted)
    : Floater(kFloaterKind)
    , flags(floating ? kFloating : 0)
{
    Rect rect = wanted;
    if (rect.top >= rect.bottom || rect.right <= rect.left)
        rect = BottomStrip(kDefaultHeight);
    rect.bottom -= 1;
    CFWDecorator::Get().MoveView(*this, rect, true);
    Rect content = ScrollBar::ContentRect(GetBounds(), true, true);
    SmartPtr<COverview> made = new COverview(this, content, floating);
    overview = made.Get();
    AddChild(made.Get());
    ScrollBar::Create(this, SmartPtr<Controllable>(made.Get()), true, true, false);
    made->SetBounds(content.left, content.top, content.right, content.bottom);
    made->SetPane(pane);
}

COverDir::~COverDir() = default;

Rect COverDir::BottomStrip(int32_t height)
{
    Rect rect(0, 0, 0, height);
    CFWDecorator::Get().AlignRect(rect, kAlignBottom, kAlignStretch, true);
    return rect;
}

void COverDir::Close()
{
    if (flags & kFloating)
        Hide();
    else
        Window::Close();
}

bool COverDir::ToggleShown(bool toggle)
{
    if (toggle) {
        bool show = !IsVisible();
        Floater::ToggleShown(true);
        pw::authoring::gOverviewShown = show ? 1 : 0;
    }
    return IsVisible();
}

void COverDir::DoCommand(int32_t number, int32_t argument)
{
    if (auto* handler = dynamic_cast<NumberCommandHandler*>(Window::GetApplication()))
        handler->DoCommand(number, argument);
}

int32_t COverDir::GetCommandStatus(int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return kDisabled;
}
