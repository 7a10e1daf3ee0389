#pragma once

#include "authoring/panes/CEditPane.h"
#include "engine/CStamp.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "graphics/OffScreen.h"

#include <cstdint>

class Area;
class CHAPane;
class CMouseTask;
class CResource;
class CTool;
class DisplayPort;

// The pane in which the picture of a picture movie is painted. The picture's pixels live in an
// off-screen the size of the pane (pixel (0, 0) under the pane's top-left corner); every press
// becomes the paint task of the current paint tool, which draws into the off-screen and leaves
// one undoable step. The pane keeps the selection (an Area in pane coordinates), copies it as a
// stamp that remembers where it came from, pastes a picture as a floating selection and clears
// the selection. In the magnified mode the pane shows a quarter of the picture four times as large,
// from the zoom origin (a point in pane coordinates) on. When editing ends the movie takes the
// picture back trimmed to what was painted. The last pane made is the active paint pane (a
// borrowed pointer, cleared when the pane goes). White is the picture's see-through colour: the
// page the picture is painted on shows through it, as it will once the picture is on the page.
class CPixPane : public CEditPane {
    PW_CLASS_INFO(CPixPane)

public:
    static constexpr int32_t kZoom = 4;
    // Tool numbers the press treats specially.
    static constexpr int32_t kBrush = 102;
    static constexpr int32_t kBucket = 103;
    static constexpr int32_t kPencil = 104;
    static constexpr int32_t kEraser = 109;
    static constexpr int32_t kDropper = 110;
    static constexpr int32_t kSelection = 111;
    static constexpr int32_t kKeepSelection = 112;
    static constexpr int32_t kZoomCommand = 2101;

    // Opens with the zoom-rectangles animation from the picture rectangle's centre; the picture
    // (may be empty) is drawn into the off-screen on `pictureRect`.
    CPixPane(View* owner, int32_t left, int32_t top, int32_t right, int32_t bottom, const Rect& pictureRect,
        const SmartPtr<CStamp>& picture);
    ~CPixPane() override;

    static CPixPane* Active();

    void DrawContent(DisplayPort& port, Area& area) override;
    // Starts the paint task of the current tool (see the source for the table); always true.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    // Tab switches between the current and the previous paint tool (the tools window's switch
    // palette); other keys as any view.
    bool KeyDown(uint8_t key, int32_t value) override;
    // The selected pixels (all of them without a selection) as a CStamp whose transform is offset
    // to where they came from.
    using View::Copy;
    void Copy(SmartPtr<Smart>& copied) override;
    // A CStamp (placed where its transform says, else centred) or any other Image (centred) becomes
    // a floating selection, as one undoable step.
    void Paste(const SmartPtr<Smart>& object, int32_t undoingCut, int32_t h, int32_t v) override;
    // Told of the selection task a paste ran; the pane keeps nothing of it.
    void NoteTask(const SmartPtr<CMouseTask>&) { }
    // Paints the selection in the erase colour.
    void Clear() override;
    // Paste always; the others while something is selected.
    bool CanClip(int32_t mode) override;
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override;
    // A visible pane that loses activation drops its selection; one that gains it offers the
    // selection tool (111) only unmagnified and tool 112 only magnified in the tools window.
    void ActiveChanged(bool active) override;
    // Every 300 ms while active: FlashSelection.
    void Idle() override;
    // False when nothing was pressed in the pane. Otherwise the picture trimmed of white: `rect`
    // becomes the trimmed part's place relative to the incoming rectangle and `resource` a new
    // resource over it; an all-white picture gives an empty `rect` and leaves `resource`. Plays
    // the closing animation in either case.
    bool TakePicture(Rect& rect, SmartPtr<CResource>& resource) override;

    void DoCommand(int32_t number, int32_t argument) override;
    int32_t GetCommandStatus(int32_t number) override;

    // False while magnified; otherwise the edit state (flipped first with `toggle`).
    bool TestEditFlag(bool toggle);
    // A pane point as a picture point in pane coordinates (unchanged unless magnified).
    Point ViewToImage(Point point) const;
    // What a fill tells regions apart by, in picture coordinates: the picture over the part of the
    // page behind it (over white without a page). A shape there bounds a fill in this picture as it
    // does on the screen; the pictures in front of it cover the fill and bound none.
    SmartPtr<BitMap> SeenPicture();
    // The part of the pane that shows on the screen: a picture hanging over the page's edge is
    // painted on, and its feedback drawn, only inside the page. The tasks draw there.
    Rect ShownBounds();
    // Redraws the whole picture into the port.
    void ApplyToStampBounds(DisplayPort& port, bool fromTask);
    // Redraws the picture inside `rect` (picture coordinates) into the port (window coordinates),
    // over the page beneath.
    void DrawImageRect(DisplayPort& port, const Rect& rect, bool fromTask);
    // The animation pane whose page lies beneath the picture (a back-link its owner clears when
    // editing ends); without one the picture lies on white.
    void SetPage(CHAPane* page) { beneath = page; }
    // Empties the selection, marking its bounds for redraw.
    void ResetSelectionArea();
    // Puts the selection down. With `stamp` the lifted pixels stay in the picture where the
    // selection lies now and the picture counts as changed; the selection is given up either way,
    // and a current tool 112 (which keeps a selection) gives way to the selection tool.
    void DropSelection(bool stamp);
    // Selects the whole pane; with `makeStamp` hands it to a stamp of the picture as well.
    void SelectAll(bool makeStamp);
    // The selection itself, shared: the tasks change it in place.
    SmartPtr<Area> GetSelectionArea() const { return selection; }
    bool IsZoomed() const { return (zoomFlags & kMagnified) != 0; }
    // Switches the magnified mode, updates the tools window's offer (as activation does) and
    // redraws.
    void SetZoomed(bool on);
    // Moves the zoom origin, kept so that the magnified quarter stays inside the pane.
    void ScrollZoom(int32_t dh, int32_t dv);
    Point GetZoomOrigin() const { return zoomOrigin; }
    // Frames a one-rectangle selection twice, 100 ms apart, in two greys.
    void FlashSelection();
    SmartPtr<OffScreen> GetOffScreen() const { return offScreen; }
    // Warns "Not implemented.".
    static void NotImplemented(int32_t);

    // Frames ten rectangles between `from` and `to` by inverting, 50 ms apart, each twice, so that
    // nothing stays on the screen.
    static void AnimateZoomRects(DisplayPort& port, const Rect& from, const Rect& to);

private:
    static constexpr uint8_t kMagnified = 0x01;

    // The task of the current tool for a press, or none (the dropper warns).
    SmartPtr<CMouseTask> MakeTask(const SmartPtr<CTool>& tool, Point press, BitFlags modifiers, bool& handled);
    // Enables the zoom's tools in the tools window's palette; in the magnified mode the selection
    // tool gives way to the default tools.
    void OfferZoomTools();
    // The source part shown and where it goes on the screen, for the magnified mode.
    void ZoomRects(Rect& source, Rect& destination) const;
    // Draws the page's sprites behind the picture and the picture's part over them, its white left
    // out, then (with `withFront`) the sprites in front of it, into `port` translated so that the
    // part's top-left corner lands on `at` (port coordinates).
    void ComposePart(DisplayPort& port, const Rect& part, Point at, bool withFront = true);

    SmartPtr<OffScreen> offScreen;
    SmartPtr<Area> selection;
    CHAPane* beneath { nullptr };
    Point zoomOrigin { 0, 0 };
    uint8_t zoomFlags { 0 };
};
