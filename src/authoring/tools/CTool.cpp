#include "authoring/tools/CTool.h"

#include "authoring/panes/ToolsWindowPane.h"
#include "authoring/resources/KidResources.h"
#include "authoring/resources/LoadedSound.h"
#include "engine/CPlayer.h"
#include "foundation/Exception.h"
#include "foundation/Resources.h"
#include "graphics/Sound.h"
#include "ui/Cursor.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

#include <optional>

PW_DEFINE_CLASS(CTool, nullptr, nullptr, Tool)
PW_DEFINE_NO_COPY_SLOTS(CTool)

namespace {

bool& SoundsOff()
{
    static bool off = false;
    return off;
}

// The n of authoring cursor 200 + n for a tool number, or -1 when the number keeps its cursor.
int16_t CursorOffset(int32_t number)
{
    switch (number) {
    case 8: return 1;
    case 2: case 101: return 11;
    case 5: case 15: return 23;
    case 6: return 17;
    case 7: case 18: return 22;
    case 9: return 14;
    case 10: case 14: case 19: case 22: return 30;
    case 11: return 16;
    case 103: return 10;
    case 104: return 18;
    case 105: case 106: case 107: case 108: case 113: return 8;
    case 109: return 19;
    case 110: return 7;
    default: return -1;
    }
}

// Windows of these frame kinds and above (palettes, pop-ups, tool columns) show the arrow.
constexpr int32_t kFirstArrowKind = 3;

struct SharedCursors {
    SmartPtr<Cursor> arrow;
    SmartPtr<Cursor> overPlaying;
    SmartPtr<Cursor> overClickable;
};

std::optional<SharedCursors>& TheCursors()
{
    static std::optional<SharedCursors> cursors;
    return cursors;
}

SmartPtr<Cursor> AsCursor(const SmartPtr<Smart>& loaded)
{
    return SmartPtr<Cursor>(SmartCast<Cursor>(loaded.Get()));
}

void LoadSharedCursors()
{
    if (TheCursors())
        return;
    // The engine's resources (identifiers 400 to 499); a cursor the program lacks gives 201.
    Resources engineSet(400, 499);
    TheCursors() = SharedCursors { AsCursor(SystemCursors().GetCursor(StandardCursorId(0))),
        AsCursor(engineSet.GetCursor(4)), AsCursor(engineSet.GetCursor(5)) };
}

void MakeCurrent(const SmartPtr<Cursor>& cursor)
{
    if (cursor.Valid())
        cursor->Set();
}

// The first active child of a view, or null.
View* FirstActiveChild(View& view)
{
    const SmartList<View>& children = view.GetChildren();
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        View* child = children.Item(index);
        if (child && child->IsActive())
            return child;
    }
    return nullptr;
}

} // namespace

using pw::authoring::LoadedSound;

CTool::CTool(int32_t number, const SmartPtr<SoundResource>& startSound, bool loopStartSound,
    const SmartPtr<SoundResource>& pendingSound)
    : number(number)
    , startSound(startSound)
{
    // Tools built on one sound all ask it to loop, so the bit is set rather than inverted: a
    // second tool must not switch the first one's looping off.
    if (loopStartSound) {
        SmartPtr<Sound> sound = LoadedSound(startSound);
        if (sound.Valid() && !sound->ToggleLoop(false))
            sound->ToggleLoop(true);
    }
    if (!SoundsOffOption())
        this->pendingSound = pendingSound;
    LoadSharedCursors();
}

CTool::~CTool() = default;

bool CTool::HasAltMode() const
{
    return number == 3 || number == 5 || number == 7 || number == 15 || number == 18;
}

void CTool::SetAltMode(bool on)
{
    if (!HasAltMode())
        return;
    flags = on ? (flags | kAltMode) : (flags & ~kAltMode);
}

void CTool::PlayStartSound()
{
    if (!InAltMode()) {
        if (SmartPtr<Sound> sound = LoadedSound(startSound); sound.Valid())
            sound->Play(true);
    }
    flags &= ~kSoundPending;
}

void CTool::StopSound()
{
    Sound::StopSound();
}

void CTool::SetSoundPending(bool on)
{
    flags = on ? (flags | kSoundPending) : (flags & ~kSoundPending);
}

void CTool::PlayPendingSound()
{
    if (IsSoundPending() && !SoundsOffOption()) {
        if (SmartPtr<Sound> sound = LoadedSound(pendingSound); sound.Valid())
            sound->Play(true);
    }
    flags &= ~kSoundPending;
}

void CTool::SetSoundsOffOption(bool off)
{
    SoundsOff() = off;
}

bool CTool::SoundsOffOption()
{
    return SoundsOff();
}

void CTool::ForgetSharedCursors()
{
    TheCursors().reset();
}

void CTool::SetOption(int16_t, int16_t)
{
}

int16_t CTool::GetOption(int16_t)
{
    return 0;
}

int16_t CTool::CountOptions(int16_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return 0;
}

void CTool::ApplyWithOption(DisplayPort& port, const Rect& rect, int16_t kind, int16_t value)
{
    if (value < 1 || value > CountOptions(kind))
        return;
    int16_t old = GetOption(kind);
    SetOption(kind, value);
    Apply(port, rect);
    SetOption(kind, old);
}

void CTool::Apply(DisplayPort&, const Rect&)
{
}

void CTool::UpdateCursor()
{
    int16_t offset = InAltMode() ? 2 : CursorOffset(number);
    if (offset < 0)
        return;
    SetToolCursor(AsCursor(KidResources::AuthoringSet().GetCursor(offset)));
}

void CTool::AdjustCursor(Point point, BitFlags, const SmartPtr<Window>& window)
{
    // Loaded already by the tool's construction, unless a test forgot them since.
    LoadSharedCursors();
    const SharedCursors& shared = *TheCursors();
    bool toolWindow = window.Valid() && window->GetFrame()->GetKind() < kFirstArrowKind;
    View* paneView = nullptr;
    pw::authoring::ToolsWindowPane* pane = nullptr;
    // The editing panes are the views that show pages.
    for (View* view = window.Get(); view; view = FirstActiveChild(*view)) {
        if (auto* editing = dynamic_cast<pw::authoring::ToolsWindowPane*>(view)) {
            paneView = view;
            pane = editing;
        }
    }
    SmartPtr<CPlayer> player;
    if (pane) {
        if (!toolWindow || !paneView->ContainsPoint(point.h, point.v)) {
            MakeCurrent(shared.arrow);
            return;
        }
        player = pane->GetPlayer();
    }
    if (player.Valid() && player->IsPlaying()) {
        MakeCurrent(player->HitSprite(point, false) ? shared.overClickable : shared.overPlaying);
        return;
    }
    if (!toolWindow) {
        MakeCurrent(shared.arrow);
        return;
    }
    UpdateCursor();
    MakeCurrent(GetToolCursor());
}
