#include "foundation/Alert.h"

#include "foundation/Exception.h"
#include "foundation/Memory.h"
#include "foundation/Utilities.h"

namespace {

constexpr uint32_t kReserveSize = 40000;

struct AlertState {
    bool enabled { false };
    bool showing { false };
    HWND owner { nullptr };
};

AlertState& State()
{
    static AlertState state;
    return state;
}

// Built at start-up so that it exists before memory can run short.
Memory& Reserve()
{
    static Memory reserve(kReserveSize);
    return reserve;
}

const bool reserveBuilt = (Reserve(), true);

UINT Style(int kind, int buttons)
{
    static constexpr UINT icons[] = { 0, MB_ICONINFORMATION, MB_ICONEXCLAMATION, MB_ICONSTOP };
    static constexpr UINT buttonSets[] = { MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_OK };
    UINT icon = kind >= 0 && kind <= 3 ? icons[kind] : 0;
    UINT set = buttons >= 0 && buttons <= 3 ? buttonSets[buttons] : MB_OK;
    return icon | set;
}

} // namespace

void Alert::EnableAlerts()
{
    SetLastError(0);
    State().enabled = true;
}

void Alert::SetOwnerWindow(HWND owner)
{
    State().owner = owner;
}

HWND Alert::OwnerWindow()
{
    return State().owner;
}

uint32_t Alert::ReserveSize()
{
    return Reserve().Size();
}

void pw::foundation::SetAlertsEnabled(bool enabled)
{
    State().enabled = enabled;
}

int16_t Alert(int kind, int buttons, const char* text)
{
    AlertState& state = State();
    if (state.showing) {
        DebugBreak();
        return Alert::kAnswerCancel;
    }
    struct Showing {
        explicit Showing(AlertState& state)
            : state(state)
        {
            state.showing = true;
        }
        ~Showing() { state.showing = false; }
        AlertState& state;
    } showing(state);

    int16_t answer = Alert::kAnswerCancel;
    if (state.enabled) {
        if (FreeVirtualMemory() < kReserveSize)
            Reserve().SetSize(0);
        int result = MessageBoxA(state.owner, text ? text : "", "", Style(kind, buttons));
        // A box that could not be shown (0) answers Cancel: nothing was agreed to.
        if (result == IDNO)
            answer = Alert::kAnswerNo;
        else if (result != IDCANCEL && result != 0)
            answer = Alert::kAnswerOk;
    }
    // Rebuilt toward 40,000 bytes but never beyond what is free; when memory is short again the
    // next alert goes on rebuilding it.
    uint32_t free = FreeVirtualMemory();
    uint32_t wanted = free < kReserveSize ? free : kReserveSize;
    if (Reserve().Size() < wanted)
        Reserve().TrySetSize(wanted);
    return answer;
}

void SystemErrorAlert(uint32_t code, const char* file, int16_t line)
{
    if (code == 0)
        return;
    char codeText[7];
    FormatShortNumber(static_cast<int32_t>(code), codeText, sizeof codeText);
    char lineText[7] = "";
    if (line > 0)
        FormatShortNumber(line, lineText, sizeof lineText);
    char text[kMessageSize];
    ComposeMessage(text, 1, "System Error", codeText, file, lineText);
    Alert(Alert::kStop, Alert::kOk, text);
}
