#pragma once

#include "authoring/panes/FrameRangeSelector.h"
#include "authoring/panes/PaneFeedback.h"
#include "authoring/panes/ToolsWindowPane.h"
#include "engine/CMovieRes.h"
#include "engine/CPanePlay.h"
#include "engine/CPlayer.h"
#include "engine/CSprite.h"
#include "engine/CXform.h"
#include "foundation/SmartList.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

class App;
class Clipboard;
class CHAPane;
class CLink;
class CShow;
class FileReference;
class Image;
class CMouseTask;
class CMovieGroup;
class CMoveTask;
class CTool;
class Tool;

namespace pw::authoring {

// Told by the animation pane after every change of its sprite or frame selection.
class SelectionClient {
public:
    virtual void SelectionChanged(CHAPane* pane) = 0;

protected:
    ~SelectionClient() = default;
};

// One byte for the whole program: 1 while the frame overview is shown, when the pane's sprite
// selection counts as empty and frame ranges are not widened or fitted.
extern uint8_t gOverviewShown;

} // namespace pw::authoring

// The view in which a page is edited: it shows the player's current frame of the page's movie,
// keeps the sprite selection and the frame range the editing commands work on, turns presses on
// sprites into mouse tasks, and tells its clients (the frame overview, the tools window) when the
// selection or the editing state changes. The page's movie always has the pane's size; its
// coordinates start at the pane's top-left corner. The show's document window holds the pane;
// the pane holds the player through its base, and its client lists hold nothing.
//
// The selection: a run of frames (last = first - 1 is an insertion point before first), a mode
// (0 the current frame, 1 the run, 2 all frames, 3 the current frame to the end) and a 1-based
// list of sprites whose item 1 is the one single-sprite operations use.
class CHAPane : public CPanePlay,
                public PlayerClient,
                public pw::authoring::ToolsWindowPane,
                public pw::authoring::FrameRangeSelector {
    PW_CLASS_INFO(CHAPane)

public:
    // The square at each corner of a sprite's rectangle that scales instead of moving.
    static constexpr Point kCornerHandleSize { 8, 8 };

    // `constructionFlag` set keeps command 2032 from reaching the application.
    CHAPane(View* parent, const SmartPtr<CPlayer>& player, bool constructionFlag);
    ~CHAPane() override;

    // Builds the pane inside a document window's content; registered as the show's view maker.
    static View* Make(CShow& show, View& container);

    // The movie as a sprite movie, or null.
    CMovieGroup* GetGroup() const;
    // Points and rectangles between the pane's (window) coordinates and the movie's.
    Point ToMovie(Point p) const;
    Point ToPane(Point p) const;
    Rect ToPane(const Rect& r) const;
    // Marks the movie rectangle for redrawing in the pane.
    void RedrawMovieRect(const Rect& r);
    // The transform that draws the movie at its place in the pane (none when the places agree).
    SmartPtr<CXform> MovieToPane() const;

    // Drawing and geometry. The pane is composed off-screen, so that see-through pictures and the
    // dragged picture show the page beneath.
    void DrawContent(DisplayPort& port, Area& area) override;
    // Which sprites of the page DrawPage draws: all of them, or those behind or in front of the
    // picture being painted.
    enum class PageLayers { kAll, kBehind, kInFront };
    // The page at the player's frame, in window coordinates, without the sprite whose picture an
    // open editor shows (the editor draws that picture over it). A picture being painted lies at
    // its place in the drawing order: the sprites behind it, or those in front of it, alone.
    void DrawPage(DisplayPort& port, PageLayers layers = PageLayers::kAll);
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override;
    void ActiveChanged(bool active) override;
    void DrawCornerBox(DisplayPort& port);

    // The frame range of the commands; `exact` takes the stored run whatever the mode.
    void GetFrameRange(int16_t& first, int16_t& last, bool exact) const;
    // The step every edit ends with: the task (may be empty) becomes the window's undo step.
    void AfterEdit(const SmartPtr<Task>& task);
    // The move task's last step: the application hears 2030, the marks are drawn.
    void EndMove(CMoveTask* task);
    // Wraps the task in a task tool that becomes the current tool and hands it the press.
    void RunMouseTask(App* app, const SmartPtr<CMouseTask>& task, Point point, BitFlags modifiers, uint8_t clicks,
        const SmartPtr<Window>& window);
    // Never tracks a rubber band: the rectangle stays as it is.
    bool TrackRect(Rect&, Point) { return false; }
    // A press: a task by the current tool on the sprite under the point, or a new selection.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    // The sprite index a press at the movie point takes (a selected sprite whose corner handle
    // lies there, else the front one) and the front one; -1 for none. A sprite counts where it
    // shows at the point (CSprite::ShowsAtPoint), not where only the white of its picture lies.
    void HitTest(Point p, int16_t& preferred, int16_t& top) const;

    // Selection (CHAPaneSelection.cpp).
    void SelectFrames(int16_t first, int16_t last);
    void SetFrameRange(int16_t first, int16_t last) override { SelectFrames(first, last); }
    int16_t FrameInSelection(int16_t frame) const;
    int32_t GetSelectionMode() const { return mode; }
    void SetSelectionMode(int32_t newMode);
    void SelectSprite(int16_t index, bool fit);
    void SetSelection(const SmartPtr<CSprite>& sprite);
    void SelectObject(const SmartPtr<CSprite>& sprite, bool add);
    // The pane's own list while the overview is hidden, else a new empty one.
    SmartList<CSprite> GetSelectedSprites() const;
    // Shows the handles of the selected sprites at the player's frame on the next drawing.
    void DrawSelectionMarks();
    void DrawSelectionMarks(DisplayPort& port);
    // Four 8 x 8 black squares inside the rectangle's corners.
    static void DrawHandles(DisplayPort& port, const Rect& rect);
    static bool HitsHandle(Point p, const Rect& rect);
    void ToggleSelectionClient(pw::authoring::SelectionClient* client);
    void TellSelectionClients();
    int16_t GetCurrentFrame() const { return currentFrame; }
    void GetStoredRun(int16_t& first, int16_t& last) const { first = rangeFirst, last = rangeLast; }

    // The task whose feedback is drawn over the frame while it runs (none: null).
    void SetFeedback(pw::authoring::PaneFeedback* task);
    // Nothing unless the task's feedback is the one drawn.
    void ClearFeedback(pw::authoring::PaneFeedback* task);
    bool IsEditing() const { return edited.Valid(); }

    // In-place editing (CHAPaneEditing.cpp). Opens the picture or text editor on the sprite (or,
    // without one, on the primary selected sprite or a new object over `rect`, over the whole pane
    // with `allowWhole`).
    void BeginEdit(const SmartPtr<CSprite>& sprite, Rect rect, bool picture, bool text, bool allowWhole, bool fitWhole);
    // Closes the open editor and stores its result; `quiet` leaves the edit clients untold.
    void EndEdit(bool quiet);
    // Where in the group's drawing order a new picture begun on `over` goes: just in front of it;
    // with none, just in front of the page's background and the paint at the back of the page,
    // behind the pictures placed on the page.
    static int32_t NewPictureIndex(const CMovieGroup& group, const CSprite* over);
    // Whether the sprite is paint the child put on the page with the picture editor.
    static bool IsPaint(const CSprite& sprite);
    // 0 none, 1 a picture, 2 a text being edited.
    int32_t SelectedKind() const;
    SmartPtr<View> GetEditView() const { return editView; }

    // Clipboard (CHAPaneClipboard.cpp): the selected sprites as a list of copies; a paste in mode
    // 0 (plain), 2 (at the point) or 3 (centred) at the selected frames; clearing the selected
    // sprites from the selected frames on.
    using View::Copy;
    void Copy(SmartPtr<Smart>& copied) override;
    void Paste(const SmartPtr<Smart>& object, int32_t mode, int32_t h, int32_t v) override;
    void Clear() override;
    bool CanClip(int32_t kind) override;
    // Warns "Not implemented.", then answers the class a copy would make: the open editor's
    // picture or text; with tool 10 or 11 a Sound or a CLink when a selected sprite has one in the
    // range; else a CMovie for an insertion point, a CSprite with sprites selected, a CMovie
    // without; none where none of these applies.
    const ClassInfo* ClipClass();

    // Tool clicks and keys (CHAPaneTools.cpp). `p` is a movie point, `h`/`v` the pane point.
    bool ToolClick(Point p, int32_t h, int32_t v, int16_t index, const SmartPtr<CSprite>& sprite);
    // A press with tool 12 or 13: the player goes to the frame that the current frame's link
    // names, when it names one, and plays from there.
    void PlayFromFrameLink();
    // Marks the movie rectangle grown by 7 pixels until the next redraw.
    void FlashRect(const Rect& rect);
    // Gives the sprite the clipboard's sound and link (or a pasted sprite's) on `count` frames.
    void PasteOntoSprite(const SmartPtr<Clipboard>& clipboard, int16_t first, int16_t count,
        const SmartPtr<CSprite>& sprite);
    // Gives the selected pictures the clipboard's sound and link as a press of a tool would give
    // each, over the frames a press reaches; answers whether a picture took them. The background
    // is the page itself to the tools that attach, so it keeps its own.
    bool PasteOntoSelection(const SmartPtr<Clipboard>& clipboard);
    // A tool holding what the child chose in a tab for the next press (a picture, a page, a web or
    // mail address, a sound) is put down: the default tool comes back.
    void PutDownHeldChoice();
    bool KeyDown(uint8_t key, int32_t modifiers) override;

    // PlayerClient.
    void FrameNotice() override { FollowPlayerFrame(); }
    void PlayNotice() override { RedrawSelection(); }
    void AreaNotice(const SmartPtr<Area>& area) override;
    void FollowPlayerFrame();
    void RedrawSelection();

    // Numbered commands (CHAPaneCommands.cpp); every one but 2034 stops playback first.
    void DoCommand(int32_t number, int32_t argument) override;
    int32_t GetCommandStatus(int32_t number) override;

    // ToolsWindowPane: kind 0 closes the editor, 1 opens a picture and 2 a text editor.
    int32_t GetEditedKind() override { return SelectedKind(); }
    void Edit(int32_t kind, bool allowWhole) override;
    void StoreEdit() override;
    SmartPtr<CPlayer> GetPlayer() override { return &CPanePlay::GetPlayer(); }
    bool IsActivePane() override;
    void ToggleClient(pw::authoring::PaneClient* client) override;
    void TellEditClients();

    // Hooks (CHAPaneHooks.cpp). A run of frames made longer or shorter with every sprite's motion
    // spread over it (smoothed when it grows); becomes the selected run. Not undoable.
    void StretchMotion(int16_t start, int16_t oldLength, int16_t newLength);
    // A page dropped on the pane: a sprite of its picture linked to the page's file goes onto the
    // application's clipboard, for a paste to place, and the selected sprites are linked to the
    // page over the selected frames. Nothing without both. Answers whether a selected sprite took
    // the link.
    bool AddLink(const SmartPtr<FileReference>& file, const SmartPtr<Image>& picture, App* app);
    void MakeLinkedSprite(const SmartPtr<CLink>& link, const SmartPtr<Image>& picture, App* app);
    // The sound or link of the frame: the first listed sprite's when it shows there, else the movie's.
    static void PlayFrameSound(const SmartPtr<CShow>& show, int16_t frame, const SmartList<CSprite>& sprites);
    static SmartPtr<CLink> FrameLink(const SmartPtr<CShow>& show, int16_t frame, const SmartList<CSprite>& sprites);
    // A press of the scroll tool: its task goes to the window as the undo step, never run.
    void PressScroll(CTool& tool);

    // Sends the numbered command to the application's handler when it has one.
    static void TellApplication(int32_t number);

    static constexpr uint8_t kCornerBoxShown = 0x01;
    static constexpr uint8_t kConstructionFlag = 0x02;

private:
    // The application's current tool when it is one of the authoring tools, else none.
    static SmartPtr<CTool> CurrentTool();
    // The tools windows following this pane go back to their default tools.
    void ResetToolsWindows();
    // Calls `give` with each selected picture but the background and the frames a press of a tool
    // reaches; ends as every edit when one was given. Answers whether one was.
    bool GiveSelection(const std::function<void(CSprite& sprite, int16_t first, int16_t count)>& give);
    // Adds the client to the list, or removes it when present.
    template <typename Client>
    static void ToggleMember(std::vector<Client*>& list, Client* client)
    {
        auto found = std::find(list.begin(), list.end(), client);
        if (found != list.end())
            list.erase(found);
        else
            list.push_back(client);
    }
    void SetMovieBounds();
    // The player goes to the frame and the pane is redrawn.
    void ShowFrame(int16_t frame);
    // The previous (-1) or next (+1) frame.
    void StepFrame(int16_t delta);
    void FitRunToSelection(int16_t& first, int16_t& last);

    uint8_t flags { 0 };
    int16_t currentFrame { 0 };
    int16_t rangeFirst { 0 };
    int16_t rangeLast { 0 };
    int32_t mode { 0 };
    SmartList<CSprite> selection;
    SmartPtr<CMovieRes> edited;
    // The sprite a new picture was begun on, which it goes just in front of (see NewPictureIndex).
    SmartPtr<CSprite> paintedOver;
    SmartPtr<View> editView;
    std::vector<pw::authoring::SelectionClient*> selectionClients;
    std::vector<pw::authoring::PaneClient*> editClients;
    pw::authoring::PaneFeedback* feedback { nullptr };
    // Set while the pane moves its player itself, which then need not be followed.
    bool movingPlayer { false };
};
