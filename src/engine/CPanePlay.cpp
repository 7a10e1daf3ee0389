#include "engine/CPanePlay.h"

#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"

PW_DEFINE_CLASS(CPanePlay, nullptr, nullptr, View, NumberCommandHandler)

CPanePlay::CPanePlay(View* parent, const SmartPtr<CPlayer>& player)
    : View(parent, parent->GetBounds(), kSizeStretch, true, false)
    , show(&player->GetShow())
    , player(player)
{
    player->GetMovie()->RemoveOrAppendClient(this);
}

CPanePlay::~CPanePlay()
{
    player->GetMovie()->RemoveOrAppendClient(this);
}

CShow& CPanePlay::GetShow() const
{
    return *show.Get();
}

bool CPanePlay::IsPlaying() const
{
    return player->IsRunning();
}

Point CPanePlay::ToMovie(int32_t h, int32_t v) const
{
    Rect bounds = const_cast<CPanePlay*>(this)->GetBounds();
    return Point(h - bounds.left, v - bounds.top);
}

void CPanePlay::DrawContent(DisplayPort& port, Area&)
{
    Rect movieBounds(0, 0, 0, 0);
    player->GetMovie()->GetBounds(movieBounds);
    Rect bounds = GetBounds();
    Rect target(bounds.left + movieBounds.left, bounds.top + movieBounds.top, bounds.left + movieBounds.right,
        bounds.top + movieBounds.bottom);
    GetShow().DrawFrame(port, player->GetFrame(), target, 1);
}

bool CPanePlay::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    if (View::MouseDown(h, v, modifiers, clicks, window))
        return true;
    if (!IsPlaying())
        return false;
    player->Click(ToMovie(h, v));
    return true;
}

bool CPanePlay::MouseMove(int32_t h, int32_t v, BitFlags)
{
    player->TrackMouse(ToMovie(h, v));
    return false;
}

void CPanePlay::MovieChanged(Smart*, const Rect& rect, int16_t frame)
{
    if (frame >= 0 && frame != player->GetFrame())
        return;
    if (rect.IsEmpty()) {
        InvalidateView(false);
        player->NoteFrame(player->GetFrame());
        return;
    }
    if (!IsVisible())
        return;
    // The movie's rectangle lies in the pane as the pane draws the movie, from its top-left.
    Rect bounds = GetBounds();
    Rect moved(rect.left + bounds.left, rect.top + bounds.top, rect.right + bounds.left, rect.bottom + bounds.top);
    ImageChanged(Area(moved.Intersect(bounds)), Area::EmptyArea());
}

void CPanePlay::DoCommand(int32_t, int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

int32_t CPanePlay::GetCommandStatus(int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return kDisabled;
}
