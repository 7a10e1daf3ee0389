#pragma once

#include "foundation/FileReference.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "graphics/Color.h"
#include "ui/Controllable.h"
#include "ui/View.h"

#include <cstdint>

class CChoreStrips;
class CHAApp;
class CTool;
class Image;
class TabBarView;

// The scrolling grid of thumbnails a media tab shows: the files of one folder, each a preview
// picture in a framed cell with its name below, rows of as many cells as the width takes. What a
// click on an entry does is chosen by the number of the tool the browser serves (import a picture,
// a background or a sound, make a link, open a page, copy a hotlink); after a handled click the
// owning tabs are told with their command 0. Previews are built lazily: drawing queues the visible
// entries with a film-strip chore, whose ticks fetch each entry's cached folder preview or build
// one and draw it into its cell.
//
// Entries are 1-based; an empty entry stands for a page that does not exist yet ("New Page", the
// link tool's first entry). A scroll bar linked to the browser moves its first visible row. The
// browser holds its entries, its chore (which points back without holding) and its owner.
class CBrowser : public View, public Controllable {
    PW_CLASS_INFO(CBrowser)

public:
    // Every entry's slot is this much wider and higher than its picture, which sits kMargin inside
    // the slot's top-left corner.
    static constexpr int32_t kSlotExtra = 32;
    static constexpr int32_t kMargin = 16;

    // The light yellow behind the entries.
    static Color BackgroundColor();

    // Lists the folder's documents (tool 22: page files only), with a "New Page" entry first for
    // the link tool (14).
    CBrowser(View* parent, const Rect& bounds, const SmartPtr<FileReference>& folder, const SmartPtr<CTool>& tool,
        Point cellSize);
    ~CBrowser() override;

    // Stores the tabs to tell after a click, then announces the scroll state.
    void SetOwner(const SmartPtr<TabBarView>& newOwner);

    void DrawContent(DisplayPort& port, Area& area) override;
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override;

    // Controllable, along the one vertical axis (the axis argument is ignored): rows 0 to the
    // last row that holds an entry, a page of the visible rows, the first visible row.
    void GetRange(int32_t argument, int32_t* first, int32_t* second) override;
    int32_t GetPageSize(int32_t axis) override;
    // A new first row redraws the whole view.
    void TakeValue(int32_t row) override;
    int32_t GetValueFor(int32_t axis) override;

    // The entry whose picture holds the point (right and bottom exclusive), 0 for none.
    int16_t ItemAt(int32_t h, int32_t v);
    // The entry of the slot under the point, 0 without entries, the last entry past the end.
    int16_t IndexAt(int32_t h, int32_t v);
    // Where entry `index` draws its picture, in window coordinates.
    Rect CellRect(uint32_t index);

    // The chore's step for entry `index`: its cached or newly built preview drawn into its cell.
    // A file that gives no preview is asked about (delete it?); one the system refuses to read
    // gets a blank picture without a word. True when the entries have changed (a corrupt file
    // was deleted).
    bool LoadPreview(int16_t index);
    static bool LoadPreviewStep(View* owner, int32_t index, const Rect& bounds);

    // The application's preview of the file fitted into a picture of `cellSize`; none when the
    // file gives none. The system's refusal to read the file is thrown.
    static SmartPtr<Image> BuildPreview(const SmartPtr<FileReference>& file, Point cellSize);

    // The click actions (CBrowserActions.cpp). `file` is the entry (empty for "New Page").
    // Reads the file onto the clipboard as a plain object for the user to place, or pastes it as
    // the page's background (centred, over the frames from the current one on) or as its sound
    // (top-right corner, current frame), replacing what went by that name there before.
    static bool ImportFile(const SmartPtr<FileReference>& file, CHAApp& app, bool asBackground, bool asSound);
    // A linked button of the page's preview, framed, onto the clipboard for the active pane, and the
    // link onto the pane's selected sprites. Answers what became of the link.
    enum class Linked { kNothing, kOnClipboard, kOnSelection };
    static Linked MakeLink(const SmartPtr<FileReference>& file, CHAApp& app, Point cellSize);
    // The file itself, or for none a new empty page in a file the user names.
    static SmartPtr<FileReference> CreatePage(const SmartPtr<FileReference>& file, CHAApp& app);
    static void OpenPage(const SmartPtr<FileReference>& file, CHAApp& app, bool readOnly);
    // The page's topmost sprite with a link at frame 0 onto the clipboard, and its link onto the
    // active pane's selected sprites; raises "No hotlinks in that file." when it has none. Answers
    // what became of the link: nothing when the file cannot be read.
    static Linked CopyHotlink(const SmartPtr<FileReference>& file, CHAApp& app);

    uint32_t NumEntries() const { return files.NumItems(); }
    SmartPtr<FileReference> GetEntry(uint32_t index) const { return files.Item(index); }
    uint32_t GetColumns() const { return columns; }
    uint32_t GetVisibleRows() const { return visibleRows; }
    CChoreStrips& GetStrips() const { return *strips.Get(); }

private:
    // Columns and rows from the bounds; the entry that was first visible stays in the first row.
    void Layout();
    // Linked scroll bars read the range, page size and position again.
    void AnnounceScroll() { BroadcastChange(); }
    int32_t ToolNumber() const;
    // Runs the tool's click action on the entry; false for a tool without one.
    bool RunAction(const SmartPtr<FileReference>& file);
    void DrawCellFrame(DisplayPort& port, const Rect& cell);
    void DrawLabel(DisplayPort& port, const SmartPtr<FileReference>& file, const Rect& cell);
    // The entry's preview when its folder has one cached; failures count as none.
    static SmartPtr<Image> CachedPreview(FileReference& file);
    // Stores a built thumbnail in the folder's previews; a failure is dropped.
    static void KeepPreview(FileReference& file, const SmartPtr<Image>& image);
    // A new 8-bit picture of `size`, cleared to standard colour 0, with the image scaled into it
    // (inside a bevelled frame when `framed`), its proportions kept and centred.
    static SmartPtr<Image> Fitted(Image& image, Point size, bool framed);
    // Asks whether to delete the unreadable file; true when it was deleted.
    bool OfferDeletion(uint32_t index, FileReference& file);

    SmartPtr<CTool> tool;
    SmartList<FileReference> files;
    // The unreadable entries the user chose to keep: asked about once in this browser's life.
    SmartList<FileReference> kept;
    SmartPtr<TabBarView> owner;
    SmartPtr<CChoreStrips> strips;
    Point cellSize;
    uint32_t columns { 1 };
    uint32_t visibleRows { 1 };
    uint32_t firstRow { 0 };
};
