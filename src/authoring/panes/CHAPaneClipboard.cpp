// The animation pane's clipboard operations: the selected sprites travel as one list of sprite
// copies, so that a paste can place several sprites at once at the selected frames.
#include "authoring/panes/CHAPane.h"

#include "authoring/tools/CTool.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "foundation/Clipboard.h"
#include "foundation/Exception.h"
#include "foundation/ListData.h"
#include "graphics/Picture.h"
#include "graphics/Sound.h"
#include "ui/StyledText.h"

#include <algorithm>

namespace {

constexpr int32_t kPlainPaste = 0;
constexpr int32_t kUndoingCut = 1;
constexpr int32_t kPasteAtPoint = 2;
constexpr int32_t kPasteCentred = 3;
constexpr int32_t kSoundTool = 10;
constexpr int32_t kLinkTool = 11;

// How far to move a rectangle, the least on each axis, so that it lies inside `room` where it fits
// there, and covers the room where it is larger (a background wider than the page stays centred).
Point Inside(const Rect& rect, const Rect& room)
{
    auto axis = [](int32_t low, int32_t high, int32_t roomLow, int32_t roomHigh) {
        bool larger = high - low > roomHigh - roomLow;
        if (larger ? low > roomLow : low < roomLow)
            return roomLow - low;
        if (larger ? high < roomHigh : high > roomHigh)
            return roomHigh - high;
        return 0;
    };
    return Point(axis(rect.left, rect.right, room.left, room.right), axis(rect.top, rect.bottom, room.top, room.bottom));
}

// The pasted object as a list of new sprites: copies of a list's items converted, or of the
// object itself converted, so that placing them leaves what was pasted as it was (a second paste
// starts where the first did); false when nothing in it can become a sprite.
bool SpritesOf(const SmartPtr<Smart>& object, SmartList<CSprite>& sprites)
{
    SmartPtr<Clipboard> holder = new Clipboard;
    // A clipboard of our own never asks the system's.
    holder->Clear();
    holder->Put(object.Get());
    SmartList<CSprite> converted;
    if (!holder->PasteInto(converted.Data()))
        return false;
    for (uint32_t item = 1; item <= converted.NumItems(); ++item)
        sprites.Append(converted.Item(item) ? new CSprite(*converted.Item(item)) : nullptr);
    return true;
}

} // namespace

void CHAPane::Copy(SmartPtr<Smart>& copied)
{
    SmartList<CSprite> copies;
    for (uint32_t item = 1; item <= selection.NumItems(); ++item)
        copies.Append(new CSprite(*selection.Item(item)));
    copied = copies.Data();
}

void CHAPane::Paste(const SmartPtr<Smart>& object, int32_t mode, int32_t h, int32_t v)
{
    CMovieGroup* group = GetGroup();
    if (!group)
        return;
    if (mode == kPlainPaste) {
        auto* list = SmartCast<ListData>(object.Get());
        if (!list || !list->AcceptsClass(&CSprite::classInfo))
            mode = kPasteCentred;
    }
    Point point = ToMovie(Point(h, v));
    if (mode == kPasteCentred) {
        mode = kPasteAtPoint;
        point = ToMovie(GetBounds().Center());
    }
    SmartList<CSprite> sprites;
    if (!SpritesOf(object, sprites))
        return;

    int16_t current = CPanePlay::GetPlayer().GetFrame();
    auto endOfMovie = static_cast<int16_t>(group->NumFrames() - 1);
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    if (!sprites.IsEmpty()) {
        Point delta(0, 0);
        if (mode == kPasteAtPoint) {
            CSprite* lead = sprites.Item(1);
            Point reference(0, 0);
            lead->GetFrameBounds(lead->StartFrame(), nullptr, &reference);
            delta = Point(point.h - reference.h, point.v - reference.v);
        }
        Rect landing(0, 0, 0, 0);
        for (uint32_t item = 1; item <= sprites.NumItems(); ++item) {
            CSprite* sprite = sprites.Item(item);
            if (!sprite)
                continue;
            sprite->OffsetPath(static_cast<int16_t>(delta.h), static_cast<int16_t>(delta.v));
            sprite->SetStartFrame(first);
            Rect bounds(0, 0, 0, 0);
            sprite->GetFrameBounds(first, &bounds, nullptr);
            landing = landing.Union(bounds);
        }
        // What is pasted lands wholly on the part of the page the pane shows, moved in as little as
        // it takes (a hotlink from another page, a picture put at a click by the page's edge); a
        // cut taken back goes back where it was.
        Rect page(0, 0, 0, 0);
        group->GetBounds(page);
        Point visible = GetBounds().Size();
        Point inside
            = mode == kUndoingCut ? Point(0, 0) : Inside(landing, page.Intersect(Rect(0, 0, visible.h, visible.v)));
        for (uint32_t item = 1; item <= sprites.NumItems(); ++item) {
            CSprite* sprite = sprites.Item(item);
            if (!sprite)
                continue;
            sprite->OffsetPath(static_cast<int16_t>(inside.h), static_cast<int16_t>(inside.v));
            // A page has at most kMaxFrames frames: a run reaching past them is cut where the page
            // ends, so the page never holds a frame it could not store.
            int32_t spriteEnd = std::min<int32_t>(int32_t(sprite->NumFrames()) + current - 1, CMovie::kMaxFrames - 1);
            if (spriteEnd > endOfMovie) {
                group->InsertFrames(static_cast<int16_t>(endOfMovie + 1), static_cast<int16_t>(spriteEnd - endOfMovie),
                    false, true);
            } else {
                last = endOfMovie;
            }
            if (last != first)
                sprite->SetNumFrames(static_cast<int16_t>(last - first + 1));
            if (int32_t room = int32_t(group->NumFrames()) - first; sprite->NumFrames() > room)
                sprite->SetNumFrames(static_cast<int16_t>(room));
            group->AddSprite(sprite, true);
        }
    }
    // The group keeps copies: the pasted sprites are found again by name.
    SelectObject(nullptr, false);
    for (uint32_t item = 1; item <= sprites.NumItems(); ++item) {
        CSprite* sprite = sprites.Item(item);
        SmartPtr<String> name = sprite ? sprite->GetName() : nullptr;
        if (SmartPtr<CSprite> found = name.Valid() ? group->FindSpriteByName(*name.Get()) : nullptr; found.Valid())
            selection.Append(found);
    }
    // A pasted background (a page that has one of its own) lies behind the page's pictures.
    for (uint32_t item = 1; item <= selection.NumItems(); ++item) {
        if (selection.Item(item)->ToggleFlag2(false))
            group->LowerSprite(selection.Item(item), -1);
    }
    SelectFrames(current, current);
    // What a tool held for the next press (a page's button, a picture) is placed now: it is given
    // once, so the next press only selects.
    if (mode != kUndoingCut)
        PutDownHeldChoice();
}

void CHAPane::Clear()
{
    CMovieGroup* group = GetGroup();
    if (!group)
        return;
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    for (uint32_t item = 1; item <= selection.NumItems(); ++item) {
        CSprite* sprite = selection.Item(item);
        sprite->HideFrames(first, static_cast<int16_t>(sprite->NumFrames() - (first - sprite->StartFrame())));
    }
    group->RemoveEmptySprites();
    if (!selection.IsEmpty())
        selection.Data()->DeleteItems(1, selection.NumItems());
    InvalidateView(false);
}

bool CHAPane::CanClip(int32_t kind)
{
    return kind == kPasteAtPoint || !selection.IsEmpty();
}

const ClassInfo* CHAPane::ClipClass()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    if (edited.Valid()) {
        if (SmartCast<CMoviePic>(edited.Get()))
            return &Picture::classInfo;
        if (SmartCast<CMovieText>(edited.Get()))
            return &StyledText::classInfo;
        return nullptr;
    }
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    SmartPtr<CTool> tool = CurrentTool();
    int32_t number = tool.Valid() ? tool->GetNumber() : 0;
    if (number == kSoundTool || number == kLinkTool) {
        for (uint32_t item = 1; item <= selection.NumItems(); ++item) {
            CSprite* sprite = selection.Item(item);
            for (int32_t frame = first; sprite && frame <= last; ++frame) {
                auto at = static_cast<int16_t>(frame);
                if (number == kSoundTool && sprite->SoundAtFrame(at))
                    return &Sound::classInfo;
                if (number == kLinkTool && sprite->LinkAtFrame(at))
                    return &CLink::classInfo;
            }
        }
        return nullptr;
    }
    if (last < first)
        return &CMovie::classInfo;
    if (!GetGroup())
        return nullptr;
    return selection.IsEmpty() ? &CMovie::classInfo : &CSprite::classInfo;
}
