#include "ui/TextView.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/String.h"
#include "graphics/DisplayPort.h"
#include "graphics/TextStyle.h"
#include "ui/StyledText.h"
#include "ui/WindowFrame.h"

#include <vector>

PW_DEFINE_CLASS(TextView, nullptr, nullptr, View, Controllable)

namespace {

constexpr uint8_t kTab = 9;
constexpr uint8_t kReturn = 13;
constexpr uint8_t kEscape = 27;

// The keys a dialog acts on: Tab, Escape, and Return unless the text has several lines.
bool IsWindowKey(uint8_t key, bool severalLines)
{
    return key == kTab || key == kEscape || (key == kReturn && !severalLines);
}

// Strings lend their editing view through this.
const bool textViewLent = [] {
    pw::foundation::GetTextServices().makeTextView = [](View& container, String& text) -> View* {
        Rect bounds = container.GetBounds();
        SmartPtr<View> view = new TextView(&container, bounds.left, bounds.top, bounds.right, bounds.bottom,
            SmartPtr<String>(&text), View::kSizeStretch, true, true, false, false);
        container.AddChild(view);
        return view.Get();
    };
    return true;
}();

} // namespace

TextView::TextView(View* parent, int32_t left, int32_t top, int32_t right, int32_t bottom,
    const SmartPtr<String>& text, uint8_t sizing, bool takesFocus, bool severalLines, bool isStatic, bool fourthFlag)
    : ViewBase(parent, Rect(left, top, right, bottom), sizing, takesFocus)
    , text(text)
    , options(static_cast<uint8_t>((severalLines ? kSeveralLines : 0) | (isStatic ? kStatic : 0)
          | (fourthFlag ? kFourthFlag : 0)))
{
    if (auto* styled = SmartCast<StyledText>(text.Get())) {
        options |= kStyled;
        style = styled->GetStyle();
    } else {
        style = StyledText::StandardStyle();
    }
    if (!isStatic) {
        DWORD editStyle = severalLines ? DWORD(ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN) : DWORD(ES_AUTOHSCROLL);
        edit = pw::ui::MakeNativeControl(GetFrame()->GetOSWindow(), "EDIT", "", editStyle, GetBounds(), this);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(style->GetFont()), FALSE);
        ShowTextInControl();
        pw::ui::FollowControlInput(edit);
    }
    text->ToggleWatcher(this);
}

TextView::~TextView()
{
    text->ToggleWatcher(this);
    pw::ui::ForgetNativeControl(edit);
}

void TextView::SelectAll()
{
    if (edit)
        SendMessageA(edit, EM_SETSEL, 0, 0x7FFF);
}

void TextView::SetText(const String& newText)
{
    text->Assign(newText);
}

void TextView::SetStyle(const SmartPtr<TextStyle>& newStyle)
{
    if (!newStyle.Valid())
        return;
    style = newStyle;
    if (auto* styled = SmartCast<StyledText>(text.Get()))
        styled->SetStyle(newStyle);
    if (edit)
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(style->GetFont()), TRUE);
    InvalidateView(false);
}

void TextView::DrawContent(DisplayPort& port, Area&)
{
    if (edit) {
        CheckCall(InvalidateRect(edit, nullptr, FALSE), PW_HERE);
        return;
    }
    uint32_t length;
    String::CharIterator chars(*text.Get(), length);
    if (length > 0)
        port.DrawText(chars.Chars(), static_cast<int32_t>(length), GetBounds(), *style.Get());
}

bool TextView::MouseDown(int32_t, int32_t, BitFlags, uint8_t, const SmartPtr<Window>&)
{
    return true;
}

bool TextView::KeyDown(uint8_t key, int32_t)
{
    if (!edit || passingKey)
        return false;
    SendMessageA(edit, WM_CHAR, key, 0);
    return true;
}

void TextView::ActiveChanged(bool active)
{
    if (!edit || !TakesFocus())
        return;
    if (active)
        SetFocus(edit);
    else if (GetFocus() == edit)
        SetFocus(GetParent(edit));
}

void TextView::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    View::AdjustBounds(dl, dt, dr, db);
    if (!edit)
        return;
    Rect bounds = GetBounds();
    CheckCall(MoveWindow(edit, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE),
        PW_HERE);
}

void TextView::Show(bool visible)
{
    View::Show(visible);
    if (edit)
        ShowWindow(edit, visible ? SW_SHOWNA : SW_HIDE);
}

void TextView::GetRange(int32_t, int32_t* first, int32_t* second)
{
    *first = 0;
    *second = 0;
}

int32_t TextView::GetPageSize(int32_t)
{
    return 1;
}

void TextView::TakeValue(int32_t)
{
}

int32_t TextView::GetValueFor(int32_t)
{
    return 0;
}

void TextView::ListChanged(const ListChange&)
{
    if (!updating) {
        if (edit)
            ShowTextInControl();
        else
            InvalidateView(false);
    }
    BroadcastChange();
}

// A press on the control goes through the frame first, as a press on any view would, and may
// close the window: the view is held, and the control asked only while it is still there.
LRESULT TextView::ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC original)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        SmartPtr<View> hold(this);
        pw::ui::PassPressToFrame(control, message, wParam, lParam);
        if (!IsWindow(control))
            return 0;
        break;
    }
    case WM_CHAR:
        if (IsWindowKey(static_cast<uint8_t>(wParam), (options & kSeveralLines) != 0)) {
            SmartPtr<View> hold(this);
            passingKey = true;
            SendMessageA(GetParent(control), WM_CHAR, wParam, lParam);
            passingKey = false;
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}

void TextView::ControlNotified(UINT message, uint32_t code, int32_t)
{
    if (message != WM_COMMAND || code != EN_CHANGE)
        return;
    auto length = static_cast<int>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    std::vector<char> typed(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit, typed.data(), length + 1);
    updating = true;
    try {
        text->SetChars(typed.data());
    } catch (...) {
        updating = false;
        throw;
    }
    updating = false;
}

void TextView::ShowTextInControl()
{
    SetWindowTextA(edit, pw::foundation::TextOf(*text.Get()).c_str());
}
