#pragma once

#include "engine/CChoreCache.h"
#include "engine/CLink.h"
#include "engine/CSprite.h"
#include "foundation/FileReference.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "graphics/Area.h"
#include "graphics/DisplayChannel.h"
#include "graphics/OffScreen.h"
#include "graphics/Track.h"

#include <cstdint>
#include <deque>
#include <vector>

class CChorePlay;
class CShow;

// Told by the player about frame changes, starts and stops, and redrawn areas.
class PlayerClient {
public:
    virtual void FrameNotice() = 0;
    virtual void PlayNotice() = 0;
    virtual void AreaNotice(const SmartPtr<Area>& area) = 0;

protected:
    ~PlayerClient() = default;
};

// Plays one page: keeps the current frame, draws frames into its image, runs the playback chore
// (while playing) and the frame cache (always), answers clicks on sprites, and queues requests
// for the application: 3 open a file, 4 an activated sprite's name, 5 a new frame's label, 6 any
// other text. The show owns the player; the player points back without holding, except for the
// empty page it makes when given no show. The image is the display channel's target; of the
// channel's operations only rendering draws (the current frame, through the show), the others
// warn "Not implemented." and answer nothing.
class CPlayer : public DisplayChannel, public Track, public SmartImplementation, public ChoreClient {
    PW_CLASS_INFO(CPlayer)
    PW_COPY_SLOTS

public:
    static constexpr const char* kStrayChore = "(~chore == ~thinker) || (~chore == ~playback)";

    struct Request {
        int32_t kind;
        SmartPtr<Smart> object;
    };

    CPlayer(CShow* show, const SmartPtr<OffScreen>& image, bool advanceOnClick);
    ~CPlayer() override;
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    CShow& GetShow() const { return *show; }
    SmartPtr<CMovie> GetMovie() const;
    int16_t GetFrame() const { return frame; }
    bool IsRunning() const { return playback.Valid(); }
    SmartPtr<OffScreen> GetImage() const;
    void SetImage(const SmartPtr<OffScreen>& newImage, bool report);
    bool ReportsAreas() const { return reportAreas; }
    void InvalidateArea(const SmartPtr<Area>& area);
    void RemoveOrAppendClient(PlayerClient* client);
    CChoreCache* GetThinker() const { return thinker.Get(); }
    CChorePlay* GetPlayback() const { return playback.Get(); }

    void GoToFrame(int16_t f);
    SmartPtr<CLink> GetFrameLink(bool lookupOnly);
    int16_t GetFrameWait();
    void SetFrameWait(int16_t wait);
    int32_t GetFrameTarget();
    void SetFrameTarget(int32_t target);

    bool Start(bool = true) override;
    bool IsPlaying() override { return IsRunning(); }
    void Stop() override;
    void FollowTarget(int32_t target);
    bool GoBack();
    bool TakeOver(const SmartPtr<CPlayer>& other);

    void Click(Point p);
    bool HitSprite(Point p, bool activate);
    bool ActivateSprite(CSprite& sprite);
    bool ActivateFrameLink(bool follow);
    void ActivateItem(int16_t n);
    SmartPtr<CSprite> GetActiveSprite(int16_t n);
    SmartPtr<CSprite> FindSprite(const SmartPtr<String>& name);
    void ActivateNamedSprite(const SmartPtr<String>& name);
    void TrackMouse(Point) { }
    void NoteFrame(int16_t) { }

    void PostOpenFile(const FileReference& file);
    void PostText(int32_t kind, const SmartPtr<String>& text);
    // 0 for an empty queue (`out` untouched); else the first request's kind, its object in `out`.
    int32_t TakeRequest(SmartPtr<Smart>& out);
    // The open of a followed link: ahead of the queued requests.
    void OpenFileNow(const FileReference& file);
    bool GetShowFile(FileReference& out) const;

    bool Accelerate();
    void DoChore(Chore& chore) override;

    // The display channel.
    void Changed(DisplayDevice& device, Area& area) override;
    // DrawContent with the same arguments.
    void Render(DisplayPort& port, Area& area) override;
    // Empty.
    Rect GetBounds() override;
    void Invalidate(Area& area) override;
    // The current frame through the show, into GetBounds.
    void DrawContent(DisplayPort& port, Area& area) override;
    // An empty list.
    const ListHandle& GetChildren() override;

    // Draws the frame into the image, reports the area, and moves to it.
    void ShowFrame(int16_t f);
    // Stops both chores and lets go of the page; the show calls it when it closes.
    void Shutdown();

private:
    void DropPlayback(bool notify);
    std::vector<PlayerClient*> Clients() const { return clients; }

    CShow* show;
    SmartPtr<CShow> ownShow;
    bool advanceOnClick;
    int16_t frame { 0 };
    SmartPtr<CChorePlay> playback;
    SmartPtr<CChoreCache> thinker;
    std::deque<Request> requests;
    bool reportAreas { false };
    std::vector<PlayerClient*> clients;
    const ListHandle noChildren { &ImageChannel::classInfo };
};
