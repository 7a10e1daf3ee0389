#include "platform/user/menus/MessageBoxWindow.h"

#include "platform/backend/Backend.h"
#include "platform/user/WindowClass.h"
#include "platform/user/menus/DialogLoop.h"

#include <algorithm>
#include <string>
#include <vector>

namespace pw::platform {

namespace {

constexpr const char* kBoxClass = "PwMessageBox";
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 360;
constexpr int kMinClientWidth = 180;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kSilver = RGB(192, 192, 192);

// What one shown box needs while it runs; its window points at it through GWLP_USERDATA.
struct Box {
    const AlertRecord* record { nullptr };
    // The record's text with its over-long words broken into lines.
    std::string text;
    std::vector<int> buttons;
    HFONT font { nullptr };
    RECT textRect {};
    bool hasIcon { false };
    int answer { 0 };
};

const char* LabelOf(int answer)
{
    switch (answer) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return "";
    }
}

Box* BoxOf(HWND hwnd)
{
    return reinterpret_cast<Box*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// The answer of Esc and of the close box: Cancel when there is one, else OK when it is the only
// button; 0 (nothing happens) otherwise.
int DismissAnswer(const Box& box)
{
    if (std::find(box.buttons.begin(), box.buttons.end(), IDCANCEL) != box.buttons.end())
        return IDCANCEL;
    return box.buttons.size() == 1 && box.buttons[0] == IDOK ? IDOK : 0;
}

// Fills with `brush` colour and outlines in `pen` colour, for the icons.
class Ink {
public:
    Ink(HDC hdc, COLORREF fill, COLORREF outline)
        : hdc(hdc)
        , brush(CreateSolidBrush(fill))
        , pen(CreatePen(PS_SOLID, 1, outline))
        , oldBrush(SelectObject(hdc, brush))
        , oldPen(SelectObject(hdc, pen))
    {
    }
    ~Ink()
    {
        SelectObject(hdc, oldBrush);
        SelectObject(hdc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }
    Ink(const Ink&) = delete;
    Ink& operator=(const Ink&) = delete;

private:
    HDC hdc;
    HBRUSH brush;
    HPEN pen;
    HGDIOBJ oldBrush;
    HGDIOBJ oldPen;
};

void Block(HDC hdc, int left, int top, int right, int bottom, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect { left, top, right, bottom };
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

void DrawGlyph(HDC hdc, const char* glyph, COLORREF colour, int x, int y)
{
    HFONT font = CreateFontA(-22, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, colour);
    RECT rect { x, y, x + kIconSize, y + kIconSize };
    DrawTextA(hdc, glyph, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, old);
    DeleteObject(font);
}

void DrawIcon(HDC hdc, UINT kind, int x, int y)
{
    switch (kind) {
    case MB_ICONHAND: {
        Ink ink(hdc, kRed, kBlack);
        Ellipse(hdc, x, y, x + kIconSize, y + kIconSize);
        // The white cross: two diagonals three pixels thick.
        for (int i = 9; i < 23; ++i) {
            Block(hdc, x + i - 1, y + i, x + i + 2, y + i + 1, kWhite);
            Block(hdc, x + 31 - i - 1, y + i, x + 31 - i + 2, y + i + 1, kWhite);
        }
        break;
    }
    case MB_ICONQUESTION: {
        Ink ink(hdc, kWhite, kBlack);
        Ellipse(hdc, x, y, x + kIconSize, y + kIconSize);
        DrawGlyph(hdc, "?", kBlue, x, y);
        break;
    }
    case MB_ICONEXCLAMATION: {
        Ink ink(hdc, kYellow, kBlack);
        POINT triangle[] = { { x + 15, y + 1 }, { x + 31, y + 30 }, { x, y + 30 } };
        Polygon(hdc, triangle, 3);
        Block(hdc, x + 14, y + 10, x + 18, y + 22, kBlack);
        Block(hdc, x + 14, y + 24, x + 18, y + 28, kBlack);
        break;
    }
    case MB_ICONASTERISK: {
        Ink ink(hdc, kWhite, kBlack);
        Ellipse(hdc, x, y, x + kIconSize, y + kIconSize);
        Block(hdc, x + 14, y + 6, x + 18, y + 10, kBlue);
        Block(hdc, x + 14, y + 13, x + 18, y + 26, kBlue);
        break;
    }
    default:
        break;
    }
}

LRESULT CALLBACK BoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Box* box = BoxOf(hwnd);
    if (!box)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        Block(hdc, client.left, client.top, client.right, client.bottom, kSilver);
        if (box->hasIcon)
            DrawIcon(hdc, box->record->style & MB_ICONMASK, kMargin, kMargin);
        HGDIOBJ old = SelectObject(hdc, box->font);
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, kBlack);
        RECT text = box->textRect;
        DrawTextA(hdc, box->text.c_str(), static_cast<int>(box->text.size()), &text,
            DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(hdc, old);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (std::find(box->buttons.begin(), box->buttons.end(), id) != box->buttons.end())
            box->answer = id;
        else if (id == IDCANCEL)
            box->answer = DismissAnswer(*box);
        return 0;
    }
    case WM_CLOSE:
        box->answer = DismissAnswer(*box);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void EnsureBoxClass()
{
    if (WindowClass::Find(kBoxClass))
        return;
    WNDCLASSA wc {};
    wc.lpfnWndProc = BoxProcedure;
    wc.hInstance = ProgramInstance();
    wc.lpszClassName = kBoxClass;
    RegisterClassA(&wc);
}

// The text with a line break put into every word wider than a line, wherever the line is full:
// the word wrapping moves whole words only, so a long word would widen the box past the screen.
std::string BreakLongWords(HDC hdc, const std::string& text)
{
    auto width = [hdc, &text](size_t from, size_t count) {
        SIZE size {};
        GetTextExtentPoint32A(hdc, text.data() + from, static_cast<int>(count), &size);
        return size.cx;
    };
    std::string broken;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = std::min(text.find_first_of(" \t\r\n", at), text.size());
        while (at < end) {
            // At least one character a line, however narrow the line.
            size_t count = 1;
            while (at + count < end && width(at, count + 1) <= kMaxTextWidth)
                ++count;
            broken.append(text, at, count);
            at += count;
            if (at < end)
                broken += '\n';
        }
        if (end < text.size())
            broken += text[end];
        at = end + 1;
    }
    return broken;
}

// The wrapped text's size in the dialog font, and the text as it is shown.
SIZE MeasureText(HFONT font, const std::string& text, std::string& shown)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(hdc, font);
    shown = BreakLongWords(hdc, text);
    RECT rect { 0, 0, kMaxTextWidth, 0 };
    DrawTextA(hdc, shown.c_str(), static_cast<int>(shown.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(hdc, old);
    DeleteDC(hdc);
    return SIZE { rect.right - rect.left, rect.bottom - rect.top };
}

// Lays the box out: the window sized to its contents and placed, and the buttons made.
std::vector<HWND> Build(HWND hwnd, Box& box, HWND owner)
{
    SIZE text = MeasureText(box.font, box.record->text, box.text);
    // A text taller than the screen is cut where the box reaches the screen's bottom, so the
    // buttons stay on the screen.
    RECT outer;
    RECT inner;
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &inner);
    int frameHeight = (outer.bottom - outer.top) - inner.bottom;
    int room = GetSystemMetrics(SM_CYSCREEN) - frameHeight - 3 * kMargin - kButtonHeight;
    text.cy = std::min<LONG>(text.cy, std::max(room, 0));
    int textLeft = kMargin + (box.hasIcon ? kIconSize + kMargin : 0);
    int contentHeight = std::max<int>(text.cy, box.hasIcon ? kIconSize : 0);
    // A short text sits level with the icon's middle.
    int textTop = kMargin + (contentHeight - text.cy) / 2;
    box.textRect = RECT { textLeft, textTop, textLeft + text.cx, textTop + text.cy };
    int count = static_cast<int>(box.buttons.size());
    int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    int width = std::max({ textLeft + static_cast<int>(text.cx) + kMargin, buttonsWidth + 2 * kMargin, kMinClientWidth });
    int height = kMargin + contentHeight + kMargin + kButtonHeight + kMargin;
    PlaceDialog(hwnd, owner, SIZE { width, height });

    size_t defaultIndex = std::min<size_t>((box.record->style & MB_DEFMASK) >> 8, box.buttons.size() - 1);
    std::vector<HWND> made;
    int x = (width - buttonsWidth) / 2;
    int y = height - kMargin - kButtonHeight;
    for (size_t i = 0; i < box.buttons.size(); ++i) {
        DWORD style = i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        RECT rect { x, y, x + kButtonWidth, y + kButtonHeight };
        HWND button = MakeControl(hwnd, "BUTTON", LabelOf(box.buttons[i]), style, rect, box.buttons[i], box.font);
        made.push_back(button);
        x += kButtonWidth + kButtonGap;
    }
    return made;
}

} // namespace

namespace {

int openBoxes = 0;

} // namespace

int MessageBoxWindow::OpenCount()
{
    return openBoxes;
}

int MessageBoxWindow::Run(const AlertRecord& record)
{
    Box box;
    box.record = &record;
    box.buttons = Alerts::ButtonsOf(record.style);
    UINT icon = record.style & MB_ICONMASK;
    box.hasIcon = icon == MB_ICONHAND || icon == MB_ICONQUESTION || icon == MB_ICONEXCLAMATION || icon == MB_ICONASTERISK;
    if (box.buttons.empty())
        return 0;
    EnsureBoxClass();
    HWND hwnd = CreateWindowExA(WS_EX_DLGMODALFRAME, kBoxClass, record.caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0, 0, kMinClientWidth, kMinClientWidth, record.owner, nullptr, ProgramInstance(), nullptr);
    if (!hwnd)
        return 0;
    box.font = CreateDialogFont();
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
    std::vector<HWND> buttons = Build(hwnd, box, record.owner);
    if (std::find(buttons.begin(), buttons.end(), nullptr) != buttons.end()) {
        DestroyWindow(hwnd);
        DeleteObject(box.font);
        return 0;
    }
    size_t defaultIndex = std::min<size_t>((record.style & MB_DEFMASK) >> 8, buttons.size() - 1);

    ShowWindow(hwnd, SW_SHOW);
    SetFocus(buttons[defaultIndex]);
    DialogLoop loop(hwnd, buttons, box.buttons[defaultIndex]);
    ++openBoxes;
    bool ended = loop.Run([&] { return box.answer != 0 || !IsWindow(hwnd); });
    --openBoxes;
    int answer = box.answer;
    if (!ended || answer == 0)
        answer = Alerts::DismissAnswer(record.style);
    if (IsWindow(hwnd)) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
    DeleteObject(box.font);
    return answer;
}

} // namespace pw::platform
