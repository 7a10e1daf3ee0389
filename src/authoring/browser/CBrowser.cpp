#include "authoring/browser/CBrowser.h"

#include "authoring/browser/SolidImage.h"
#include "authoring/palettes/CPaletteDir.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/palettes/TabBarView.h"
#include "authoring/panes/CChoreStrips.h"
#include "authoring/resources/KidResources.h"
#include "authoring/tools/CTool.h"
#include "engine/CHAApp.h"
#include "engine/CPanePlay.h"
#include "engine/ShowFileType.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/FileType.h"
#include "foundation/SystemErrorException.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "graphics/Image.h"
#include "graphics/OffScreen.h"
#include "graphics/PortSaver.h"
#include "graphics/ScaleTrans.h"
#include "graphics/TextStyle.h"
#include "ui/AppGlue.h"
#include "ui/ProgressRange.h"
#include "ui/ViewSignals.h"

#include <algorithm>
#include <string>

PW_DEFINE_CLASS(CBrowser, nullptr, nullptr, View, Controllable)

namespace {

constexpr int32_t kLinkTool = 14;
constexpr int32_t kHotlinkTool = 22;
constexpr int32_t kCorruptFileMessage = 4;
constexpr int32_t kDeleteFailedMessage = 5;
// The label sits this far below the picture and is this high.
constexpr int32_t kLabelGap = 6;
constexpr int32_t kLabelHeight = 12;
// The label keeps this far from the edges of its slot.
constexpr int32_t kLabelInset = 2;

// The browser's light yellow.
Color Background()
{
    Color yellow;
    yellow.SetComponents(0xFFFF, 0xFFFF, 0x9999, 0);
    return yellow;
}

} // namespace

Color CBrowser::BackgroundColor()
{
    return Background();
}

namespace {

// Built at the first label drawn, released at exit.
TextStyle& LabelStyle()
{
    // Names are file names, drawn as they are spelt on one line, centred under the picture.
    static SmartPtr<TextStyle> style = [] {
        SmartPtr<TextStyle> made = new TextStyle(1, 9, 1, Color(1), Color(Color::kNoColor));
        made->SetFormat(DT_CENTER | DT_NOPREFIX | DT_SINGLELINE);
        return made;
    }();
    return *style.Get();
}

int32_t TextWidth(const std::string& text, TextStyle& style)
{
    return DisplayPort::MeasureDrawnText(text.c_str(), int32_t(text.size()), style, 0).h;
}

// The name whole when it fits the width, else its longest beginning that fits with "..." after
// it: a long name stays in its own slot instead of running over its neighbours.
std::string FittedName(const std::string& name, TextStyle& style, int32_t width)
{
    constexpr const char* kEllipsis = "...";
    if (TextWidth(name, style) <= width)
        return name;
    size_t fits = 0;
    size_t over = name.size();
    while (over - fits > 1) {
        size_t middle = (fits + over) / 2;
        if (TextWidth(name.substr(0, middle) + kEllipsis, style) <= width)
            fits = middle;
        else
            over = middle;
    }
    std::string cut = name.substr(0, fits);
    while (!cut.empty() && cut.back() == ' ')
        cut.pop_back();
    return cut + kEllipsis;
}

Rect Grown(const Rect& r, int32_t by)
{
    return Rect(r.left - by, r.top - by, r.right + by, r.bottom + by);
}

// Hides the progress display for the life of the guard, whichever way the work ends.
class HiddenProgress {
public:
    HiddenProgress() { ProgressRange::SetVisible(false); }
    ~HiddenProgress() { ProgressRange::SetVisible(true); }
    HiddenProgress(const HiddenProgress&) = delete;
    HiddenProgress& operator=(const HiddenProgress&) = delete;
};

} // namespace

CBrowser::CBrowser(View* parent, const Rect& bounds, const SmartPtr<FileReference>& folder,
    const SmartPtr<CTool>& tool, Point cellSize)
    : View(parent, bounds, kSizeStretch, false, false)
    , tool(tool)
    , cellSize(cellSize)
{
    SmartList<FileType> types;
    if (ToolNumber() == kHotlinkTool)
        types.Append(new FileType(ShowFileType));
    else if (SmartPtr<App> app = AppGlue::Application(); app.Valid())
        types = app->GetFileTypes(3);
    if (folder.Valid())
        files = folder->Contents(types, false);
    if (ToolNumber() == kLinkTool)
        files.InsertItems(nullptr, 0, 1);
    strips = new CChoreStrips(this, &CBrowser::LoadPreviewStep);
    Layout();
    AnnounceScroll();
}

CBrowser::~CBrowser()
{
    strips->Stop();
    strips = nullptr;
}

void CBrowser::SetOwner(const SmartPtr<TabBarView>& newOwner)
{
    owner = newOwner;
    AnnounceScroll();
}

int32_t CBrowser::ToolNumber() const
{
    return tool.Valid() ? tool->GetNumber() : 0;
}

void CBrowser::Layout()
{
    Rect b = GetBounds();
    uint32_t first = columns * firstRow + 1;
    columns = uint32_t(std::max<int32_t>((b.right - b.left) / (cellSize.h + kSlotExtra), 1));
    visibleRows = uint32_t(std::max<int32_t>((b.bottom - b.top) / (cellSize.v + kSlotExtra), 1));
    firstRow = (first - 1) / columns;
}

void CBrowser::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    View::AdjustBounds(dl, dt, dr, db);
    Layout();
    AnnounceScroll();
}

Rect CBrowser::CellRect(uint32_t index)
{
    Rect b = GetBounds();
    int32_t row = int32_t((index - 1) / columns) - int32_t(firstRow);
    int32_t column = int32_t((index - 1) % columns);
    int32_t left = b.left + (cellSize.h + kSlotExtra) * column + kMargin;
    int32_t top = b.top + (cellSize.v + kSlotExtra) * row + kMargin;
    return Rect(left, top, left + cellSize.h, top + cellSize.v);
}

int16_t CBrowser::IndexAt(int32_t h, int32_t v)
{
    int32_t row = int32_t(firstRow) + (v - GetBounds().top) / (cellSize.v + kSlotExtra);
    int32_t column = (h - GetBounds().left) / (cellSize.h + kSlotExtra);
    int32_t index = int32_t(columns) * row + column + 1;
    uint32_t count = files.NumItems();
    if (index == 0)
        return 0;
    // Compared unsigned: a point left of or above the grid counts as past the end too.
    if (uint32_t(index) >= count)
        return int16_t(count);
    return int16_t(index);
}

int16_t CBrowser::ItemAt(int32_t h, int32_t v)
{
    int16_t index = IndexAt(h, v);
    if (index == 0 || !CellRect(uint32_t(index)).Contains(h, v))
        return 0;
    return index;
}

void CBrowser::GetRange(int32_t, int32_t* first, int32_t* second)
{
    uint32_t count = files.NumItems();
    *first = 0;
    *second = count > columns ? int32_t((count - 1) / columns) : 0;
}

int32_t CBrowser::GetPageSize(int32_t)
{
    return int32_t(visibleRows);
}

void CBrowser::TakeValue(int32_t row)
{
    if (uint32_t(row) != firstRow) {
        firstRow = uint32_t(row);
        InvalidateView(false);
    }
    AnnounceScroll();
}

int32_t CBrowser::GetValueFor(int32_t)
{
    return int32_t(firstRow);
}

void CBrowser::DrawContent(DisplayPort& port, Area&)
{
    Rect b = GetBounds();
    if (b.IsEmpty())
        return;
    port.DrawRectangle(b, Background(), Color(Color::kNoColor), 1);
    uint32_t count = files.NumItems();
    PortSaverRect clip(port, b);
    for (uint32_t i = std::max<uint32_t>(1, uint32_t(IndexAt(b.left, b.top))); i <= count; ++i) {
        Rect cell = CellRect(i);
        if (cell.top >= b.bottom)
            break;
        strips->MoveToEnd(int32_t(i));
        DrawCellFrame(port, cell);
        DrawLabel(port, files.Item(i), cell);
    }
}

void CBrowser::DrawCellFrame(DisplayPort& port, const Rect& cell)
{
    Rect ring = Grown(cell, 4);
    port.DrawRectangle(ring, Color(Color::kNoColor), Color(1), 1);
    const int rings[3][2] = { { 5, 3 }, { 5, 3 }, { 6, 3 } };
    for (const auto& colors : rings) {
        ring = Grown(ring, -1);
        port.DrawBevel(ring, Color(colors[0]), Color(colors[1]), 1);
    }
}

void CBrowser::DrawLabel(DisplayPort& port, const SmartPtr<FileReference>& file, const Rect& cell)
{
    String name("New Page");
    if (file.Valid())
        file->GetNameParts(name);
    // The label has the whole width of the entry's slot, short of the gap to the next slot, so that
    // a name wider than the picture still stays whole on one line when it can.
    Rect label(cell.left - kMargin + kLabelInset, cell.bottom + kLabelGap, cell.right + kMargin - kLabelInset,
        cell.bottom + kLabelGap + kLabelHeight);
    std::string text = FittedName(pw::foundation::TextOf(name), LabelStyle(), label.right - label.left);
    port.DrawText(text.c_str(), int32_t(text.size()), label, LabelStyle());
}

bool CBrowser::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    int16_t index = ItemAt(h, v);
    if (index == 0)
        return View::MouseDown(h, v, modifiers, clicks, window);
    // The owner may take this browser away while it is told of the click.
    SmartPtr<CBrowser> self(this);
    if (!RunAction(files.Item(uint32_t(index))))
        return View::MouseDown(h, v, modifiers, clicks, window);
    if (owner.Valid())
        owner->DoCommand(0);
    AnnounceScroll();
    return true;
}

bool CBrowser::RunAction(const SmartPtr<FileReference>& file)
{
    auto* app = SmartCast<CHAApp>(AppGlue::Application().Get());
    if (!app)
        AssertionFailed("CAST_TEST(app,CHAApp,gApplication)", PW_HERE);
    auto play = [](int16_t sound) { CPaletteDir::PlayClick(KidResources::Lookup(sound)); };
    // The chosen tool becomes current with its pending sound, so the child is told what to do next.
    auto takeTool = [this] {
        if (CToolsDir* tools = CToolsDir::Get())
            tools->SetCurrentTool(SmartPtr<Tool>(tool.Get()));
        if (tool.Valid())
            tool->SetSoundPending(true);
    };
    // A link is given once: one the selected pictures took at once leaves no tool holding it (their
    // edit puts a held one down); one on the clipboard alone waits in the tool for the next press;
    // with none made the tool stays as it was.
    auto give = [&takeTool](Linked linked) {
        if (linked == Linked::kOnClipboard)
            takeTool();
    };
    switch (ToolNumber()) {
    case 10:
        ImportFile(file, *app, false, true);
        return true;
    case kLinkTool:
        play(5);
        give(MakeLink(file, *app, cellSize));
        return true;
    case 17:
        play(12);
        OpenPage(file, *app, false);
        return true;
    case 19:
        play(5);
        if (ImportFile(file, *app, false, false))
            takeTool();
        return true;
    case 20:
        play(0);
        ImportFile(file, *app, true, false);
        return true;
    case 21:
        play(12);
        OpenPage(file, *app, true);
        return true;
    case kHotlinkTool:
        play(5);
        give(CopyHotlink(file, *app));
        return true;
    default:
        return false;
    }
}

bool CBrowser::LoadPreviewStep(View* owner, int32_t index, const Rect&)
{
    auto* browser = dynamic_cast<CBrowser*>(owner);
    return browser ? browser->LoadPreview(int16_t(index)) : true;
}

SmartPtr<Image> CBrowser::CachedPreview(FileReference& file)
{
    HiddenProgress hidden;
    try {
        return SmartPtr<Image>(SmartCast<Image>(file.GetPreview().Get()));
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
        return SmartPtr<Image>();
    }
}

bool CBrowser::LoadPreview(int16_t index)
{
    if (index < 1 || uint32_t(index) > files.NumItems())
        return false;
    Rect cell = CellRect(uint32_t(index));
    SmartPtr<FileReference> file = files.Item(uint32_t(index));
    if (!cell.Intersects(GetBounds()) || !file.Valid())
        return false;
    SmartPtr<Image> image = CachedPreview(*file.Get());
    if (!image.Valid()) {
        HiddenProgress hidden;
        // Emptied while the preview is built; put back whichever way the build ends.
        files.Replace(nullptr, uint32_t(index), 1);
        bool refused = false;
        try {
            image = BuildPreview(file, cellSize);
        } catch (Exception* exception) {
            // The system refused the file (denied, gone, out of memory): it may well be a good
            // page, so it is not offered for deletion. Opening it says why it cannot be read.
            refused = dynamic_cast<SystemErrorException*>(exception) != nullptr;
            if (!refused) {
                files.Replace(file.Get(), uint32_t(index), 1);
                throw;
            }
            CurrentException() = SmartPtr<Exception>();
        } catch (...) {
            files.Replace(file.Get(), uint32_t(index), 1);
            throw;
        }
        if (image.Valid()) {
            KeepPreview(*file.Get(), image);
        } else if (!refused && !kept.Contains(file.Get()) && OfferDeletion(uint32_t(index), *file.Get())) {
            return true;
        } else {
            // Kept (or refused): the blank picture, and the folder's previews keep nothing for the
            // file. A kept damaged file is not asked about again in this browser; a refused one is
            // tried again at its next drawing, as the refusal may have passed.
            if (!refused && !kept.Contains(file.Get()))
                kept.Append(file);
            image = new SolidImage(Rect(0, 0, cellSize.h, cellSize.v), Color(0));
        }
        files.Replace(file.Get(), uint32_t(index), 1);
    }
    {
        DisplayPort port(GetDrawingDevice(), GetBounds(), 0);
        ScaleTrans fit(image->GetBounds(), cell, true);
        PortSaverTransform place(port, fit);
        image->Draw(port, 0);
    }
    SmartPtr<Area> shown = new Area(cell);
    NotifyCommand(new ViewAreaSignal(shown));
    return false;
}

// Keeping the thumbnail may save the previews of the folder browsed before, which a full disk
// refuses: the thumbnail is then built again when next needed, and the entry shows it all the same.
void CBrowser::KeepPreview(FileReference& file, const SmartPtr<Image>& image)
{
    try {
        file.SetPreview(SmartPtr<Smart>(image.Get()));
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
    }
}

bool CBrowser::OfferDeletion(uint32_t index, FileReference& file)
{
    char text[kMessageSize];
    KidResources::GetString(text, kCorruptFileMessage, pw::foundation::TextOf(file.Name()).c_str());
    if (Alert(Alert::kExclamation, Alert::kOkCancel, text) != Alert::kAnswerOk)
        return false;
    try {
        file.Parent()->Delete(file.Name());
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
        KidResources::GetString(text, kDeleteFailedMessage);
        Alert(Alert::kExclamation, Alert::kOk, text);
        return false;
    }
    files.Data()->DeleteItems(index, 1);
    InvalidateView(false);
    return true;
}

SmartPtr<Image> CBrowser::BuildPreview(const SmartPtr<FileReference>& file, Point cellSize)
{
    SmartPtr<App> app = AppGlue::Application();
    if (!app.Valid())
        return SmartPtr<Image>();
    SmartPtr<Image> picture(SmartCast<Image>(app->ImportFile(file, cellSize.h, cellSize.v).Get()));
    if (!picture.Valid())
        return picture;
    Rect source = picture->GetBounds();
    if (source.Size() == cellSize)
        return picture;
    return Fitted(*picture.Get(), cellSize, false);
}

SmartPtr<Image> CBrowser::Fitted(Image& image, Point size, bool framed)
{
    SmartPtr<OffScreen> buffer = new OffScreen(size.h, size.v, 8, Color(0), true);
    {
        Rect inside = buffer->GetBounds();
        DisplayPort port(*buffer.Get(), inside, 0);
        if (framed)
            CToolsDir::DrawBeveledFrame(port, inside);
        PortSaverRect clip(port, inside);
        ScaleTrans fit(image.GetBounds(), inside, true);
        PortSaverTransform place(port, fit);
        image.Draw(port, 0);
    }
    return SmartPtr<Image>(buffer->GetBitMap().Get());
}
