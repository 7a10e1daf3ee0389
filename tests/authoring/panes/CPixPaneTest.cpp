#include "authoring/panes/CPixPane.h"

#include "authoring/palettes/ButtonGrid.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/tools/CBrushTool.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/CEraserTool.h"
#include "authoring/tools/CLassoTool.h"
#include "engine/CMovieGroup.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CStamp.h"
#include "engine/CXform.h"
#include "engine/ShowFileType.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "graphics/Area.h"
#include "ui/ViewPort.h"

#include "authoring/PaintFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace authoring;

namespace {

class CPixPaneTest : public PaintTest {
protected:
    void Brush7()
    {
        SmartPtr<CBrushTool> brush = new CBrushTool(new CDropperTool);
        brush->SetOption(0, 7);
        Use(brush.Get());
    }
    // A pane rectangle given in picture coordinates.
    static Rect InPane(int32_t left, int32_t top, int32_t right, int32_t bottom)
    {
        return Rect(kLeft + left, kTop + top, kLeft + right, kTop + bottom);
    }
};

std::vector<uint8_t> Store(Smart* root)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(SmartPtr<Smart>(root));
    std::vector<uint8_t> bytes(stream->GetLength());
    stream->Seek(0, Stream::kFromStart);
    stream->Read(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

SmartPtr<Smart> Load(const std::vector<uint8_t>& bytes)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    return SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Read();
}

} // namespace

// A copy is a stamp of the selected pixels that remembers where they came from; a clear paints
// the whole selection, last row and column too, in the erase colour; pasting the copy puts the
// pixels back where they were as a floating selection, undone as one step.
TEST_F(CPixPaneTest, CopyClearAndPasteKeepThePixelsAndTheirPlace)
{
    Blot(Rect(2, 2, 5, 4));
    pane->GetSelectionArea()->SetRect(InPane(2, 2, 5, 4));
    SmartPtr<Smart> copied;
    pane->Copy(copied);
    auto* stamp = SmartCast<CStamp>(copied.Get());
    ASSERT_NE(stamp, nullptr);
    EXPECT_EQ(Rows(*stamp->GetPicture().Get(), stamp->GetBounds()), (Grid { "###", "###" }));
    EXPECT_EQ(stamp->GetTransform()->GetDestination().TopLeft(), Point(2, 2));

    Grid before = { "......", "......", "..###.", "..###.", "......" };
    Grid blank(5, "......");
    pane->Clear();
    EXPECT_EQ(Picture(Rect(0, 0, 6, 5)), blank);
    EXPECT_EQ(Shown(Rect(0, 0, 6, 5)), blank);

    pane->ResetSelectionArea();
    pane->Paste(copied, 0, 0, 0);
    EXPECT_EQ(Picture(Rect(0, 0, 6, 5)), before);
    EXPECT_EQ(Shown(Rect(0, 0, 6, 5)), before);
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), InPane(2, 2, 5, 4));
    ASSERT_TRUE(page->HasUndoTask());
    page->Undo();
    EXPECT_EQ(Picture(Rect(0, 0, 6, 5)), blank);
}

// A picture from elsewhere is pasted centred; one larger than the pane is cut to it. Without a
// selection the copy takes the whole picture from (0, 0).
TEST_F(CPixPaneTest, AForeignPictureIsPastedCentred)
{
    SmartPtr<BitMap> square = new BitMap(4, 2, ColorTable::Setup(8), Color(0), false);
    {
        OffScreen black(4, 2, 8, Color(1), true);
        square = black.GetBitMap();
    }
    pane->Paste(SmartPtr<Smart>(square.Get()), 0, 0, 0);
    EXPECT_EQ(Picture(Rect(4, 6, 12, 10)), (Grid { "........", "..####..", "..####..", "........" }));
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), InPane(6, 7, 10, 9));

    pane->ResetSelectionArea();
    SmartPtr<Smart> whole;
    pane->Copy(whole);
    auto* stamp = SmartCast<CStamp>(whole.Get());
    EXPECT_EQ(stamp->GetBounds(), Rect(0, 0, kSide, kSide));
    EXPECT_EQ(stamp->GetTransform()->GetDestination().TopLeft(), Point(0, 0));
}

// Handing the picture back: an untouched pane answers false and leaves rectangle and resource;
// a painted one gives the painted part, placed relative to the incoming rectangle, as a new
// resource; one painted all white gives an empty rectangle and leaves the resource.
TEST_F(CPixPaneTest, TakePictureHandsBackTheTrimmedPicture)
{
    SmartPtr<CResource> kept = new CResource;
    SmartPtr<CResource> resource = kept;
    Rect rect(100, 200, 116, 216);
    EXPECT_FALSE(pane->TakePicture(rect, resource));
    EXPECT_EQ(rect, Rect(100, 200, 116, 216));
    EXPECT_EQ(resource, kept);

    Brush7();
    Stroke({ { 4, 4 }, { 6, 4 } });
    ASSERT_TRUE(pane->TakePicture(rect, resource));
    EXPECT_EQ(rect, Rect(103, 203, 108, 206));
    ASSERT_NE(resource, kept);
    EXPECT_EQ(resource->GetBounds(), rect);
    auto* picture = SmartCast<BitMap>(resource->GetObject().Get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(Rows(*picture, picture->GetBounds()), (Grid { "#####", "#####", "#####" }));

    OpenPane();
    pane->Changed(true);
    resource = kept;
    EXPECT_TRUE(pane->TakePicture(rect, resource));
    EXPECT_TRUE(rect.IsEmpty());
    EXPECT_EQ(resource, kept);
}

// The pane opens over the picture it is given, drawn on its rectangle.
TEST_F(CPixPaneTest, ThePaneOpensOverItsPicture)
{
    OffScreen black(2, 2, 8, Color(1), true);
    OpenPane(new CStamp(black.GetBitMap(), Color(0)), Rect(kLeft + 1, kTop + 1, kLeft + 3, kTop + 3));
    Grid picture = { "....", ".##.", ".##.", "...." };
    EXPECT_EQ(Picture(Rect(0, 0, 4, 4)), picture);
    EXPECT_EQ(Shown(Rect(0, 0, 4, 4)), picture);
}

// The dropper's press only warns and leaves the pane unchanged; tool 112 makes no task but counts
// as a change.
TEST_F(CPixPaneTest, ThePressOfTheDropperWarnsAndTool112OnlyMarksAChange)
{
    Use(new CDropperTool);
    driver::ScriptMessageBoxes({ IDOK });
    Stroke({ { 3, 3 } });
    ASSERT_FALSE(driver::AlertLog().empty());
    EXPECT_NE(driver::AlertLog().back().text.find("Not implemented."), std::string::npos);
    EXPECT_FALSE(pane->Changed(false));

    pane->GetSelectionArea()->SetRect(InPane(1, 1, 4, 4));
    Use(new CTool(112, nullptr, false, nullptr));
    Stroke({ { 3, 3 }, { 8, 8 } });
    EXPECT_TRUE(pane->Changed(false));
    EXPECT_FALSE(page->HasUndoTask());
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), InPane(1, 1, 4, 4)) << "tool 112 keeps the selection";
}

// Magnified, the pane shows a quarter of the picture four times as large from the zoom origin,
// which stays inside the pane; a press paints at the picture point under it (the eraser a
// quarter of its size); Control drags the magnified picture.
TEST_F(CPixPaneTest, TheMagnifiedPaneMapsPointsAndPansWithControl)
{
    pane->DoCommand(CPixPane::kZoomCommand, 0);
    EXPECT_EQ(pane->GetCommandStatus(CPixPane::kZoomCommand), 1);
    EXPECT_FALSE(pane->TestEditFlag(false));
    EXPECT_EQ(pane->GetZoomOrigin(), Point(kLeft, kTop));
    pane->ScrollZoom(100, -100);
    EXPECT_EQ(pane->GetZoomOrigin(), Point(kLeft + kSide - kSide / 4, kTop));
    pane->ScrollZoom(-6, 2);
    EXPECT_EQ(pane->ViewToImage(Point(kLeft + 7, kTop + 9)), Point(kLeft + 7, kTop + 4));

    pw::authoring::PaintSettings::Current().erase = Color(1);
    SmartPtr<CEraserTool> eraser = new CEraserTool;
    eraser->SetOption(0, 2);
    Use(eraser.Get());
    Stroke({ { 7, 9 } });
    Grid rubbed = { ".....", ".##..", ".##..", "....." };
    EXPECT_EQ(Picture(Rect(5, 2, 10, 6)), rubbed);
    EXPECT_EQ(Shown(Rect(0, 3, 16, 4)), Grid(1, "................"));
    EXPECT_EQ(Shown(Rect(0, 4, 16, 12)), Grid(8, "########........"));

    driver::PressKey(VK_CONTROL);
    Stroke({ { 8, 8 }, { 12, 8 }, { 12, 12 } });
    driver::ReleaseKey(VK_CONTROL);
    EXPECT_EQ(pane->GetZoomOrigin(), Point(kLeft + 5, kTop + 1));
    EXPECT_EQ(Picture(Rect(5, 2, 10, 6)), rubbed) << "panning paints nothing";
    EXPECT_EQ(Shown(Rect(0, 8, 16, 16)), Grid(8, "....########....")) << "the picture moved with the mouse";
}

// A paint session through the window ends with the picture handed to a picture movie, stored in a
// page that reopens with the same pixels.
TEST_F(CPixPaneTest, APaintedPictureIsSavedInAPageThatReopensEqual)
{
    Brush7();
    Stroke({ { 3, 3 }, { 7, 3 }, { 7, 6 } });
    Blot(Rect(10, 10, 12, 13));
    pw::authoring::PaintSettings::Current().fillStyle = 1;
    Rect rect(0, 0, kSide, kSide);
    SmartPtr<CResource> resource;
    ASSERT_TRUE(pane->TakePicture(rect, resource));
    Grid painted = Picture(Rect(rect.left, rect.top, rect.right, rect.bottom));

    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 40, 40));
    int16_t index = group->AddMovieAsSprite(0, 1, new CMoviePic(resource, true));
    SmartPtr<CShow> show = new CShow(group.Get());
    std::vector<uint8_t> bytes = Store(show.Get());
    show->Close();

    SmartPtr<Smart> reopened = Load(bytes);
    auto* page = SmartCast<CShow>(reopened.Get());
    ASSERT_NE(page, nullptr);
    auto* movies = SmartCast<CMovieGroup>(page->GetMovie().Get());
    ASSERT_NE(movies, nullptr);
    ASSERT_NE(movies->GetSprite(index), nullptr);
    auto* cels = SmartCast<CMoviePic>(movies->GetSprite(index)->GetMovie().Get());
    ASSERT_NE(cels, nullptr);
    auto* picture = SmartCast<BitMap>(cels->ItemObject(0).Get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(Rows(*picture, picture->GetBounds()), painted);
    EXPECT_EQ(cels->ItemAt(0)->GetBounds(), rect);
    page->Close();
}

namespace {

std::unique_ptr<ButtonGrid> PaintGrid()
{
    auto grid = std::make_unique<ButtonGrid>();
    grid->rows = 1;
    grid->columns = 3;
    grid->cellWidth = 10;
    grid->cellHeight = 10;
    return grid;
}

// A tools window whose paint palette holds the brush, the selection tool and tool 112 in cells 8
// to 10.
class PaintTools : public CToolsDir {
public:
    PaintTools()
        : CToolsDir(nullptr)
    {
        paintPalette = new CToolPalette(this, PaintGrid(), 8);
        AddChild(SmartPtr<View>(paintPalette.Get()));
        tools = { { 8, new CBrushTool(new CDropperTool) }, { 9, new CLassoTool }, { 10, new CTool(112, nullptr, false, nullptr) } };
    }
    int16_t IndexOfToolNumber(int32_t number) override
    {
        for (const auto& [index, tool] : tools) {
            if (tool->GetNumber() == number)
                return index;
        }
        return 0;
    }
    SmartPtr<Tool> ToolAt(int16_t index) override { return tools.count(index) ? SmartPtr<Tool>(tools[index].Get()) : nullptr; }
    SmartPtr<CToolPalette> Paint() const { return paintPalette; }
    std::map<int16_t, SmartPtr<CTool>> tools;
};

} // namespace

// Magnified, the tools window offers tool 112 and not the selection tool, a current selection
// tool giving way to the brush; back at full size it offers the selection tool again.
TEST_F(CPixPaneTest, TheMagnifiedPaneOffersTool112InsteadOfTheSelectionTool)
{
    SmartPtr<PaintTools> tools = new PaintTools;
    // Shown, as it is while a picture is painted.
    tools->ToggleShown(true);
    tools->SelectIndex(9);
    ASSERT_EQ(tools->GetCurrentToolNumber(), CPixPane::kSelection);
    pane->SetZoomed(true);
    EXPECT_EQ(tools->Paint()->GetCellState(9), CToolPalette::kDisabled);
    EXPECT_NE(tools->Paint()->GetCellState(10), CToolPalette::kDisabled);
    EXPECT_EQ(tools->GetCurrentToolNumber(), CPixPane::kBrush);
    pane->SetZoomed(false);
    EXPECT_NE(tools->Paint()->GetCellState(9), CToolPalette::kDisabled);
    EXPECT_EQ(tools->Paint()->GetCellState(10), CToolPalette::kDisabled);
}

namespace {

// A pen tool of the pencil's number; nothing in the program makes one.
class Pencil : public CPenTool {
public:
    Pencil()
        : CPenTool(CPixPane::kPencil, nullptr)
    {
    }
    Rect GetPenBounds() override { return Rect(0, 0, 1, 1); }
};

size_t Warnings()
{
    size_t count = 0;
    for (const auto& alert : driver::AlertLog())
        count += alert.text.find("Not implemented.") != std::string::npos;
    return count;
}

} // namespace

// The pencil is unfinished: its press warns when the task is made and at each step, and paints
// nothing. Command 2109 makes the active pane select all of its picture.
TEST_F(CPixPaneTest, ThePencilOnlyWarnsAndCommand2109SelectsAll)
{
    Use(new Pencil);
    driver::ScriptMessageBoxes({ IDOK, IDOK, IDOK, IDOK });
    Stroke({ { 3, 3 } });
    EXPECT_GE(Warnings(), 2u);
    EXPECT_EQ(Picture(Rect(0, 0, kSide, kSide)), Grid(kSide, std::string(kSide, '.')));

    SmartPtr<PaintTools> tools = new PaintTools;
    size_t before = Warnings();
    driver::ScriptMessageBoxes({ IDOK });
    pane->DoCommand(2109, 0);
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), pane->GetBounds());
    EXPECT_EQ(Warnings(), before + 1);
}

// The opening and closing animations invert each rectangle twice: the screen is as it was.
TEST_F(CPixPaneTest, TheZoomAnimationLeavesTheScreenAsItWas)
{
    Blot(Rect(0, 0, 8, 16));
    pane->InvalidateView(false);
    Grid before = Shown(Rect(0, 0, kSide, kSide));
    {
        pw::ui::ViewPort port(page->GetDrawingDevice(), pane->GetBounds());
        CPixPane::AnimateZoomRects(port, InPane(8, 8, 8, 8), pane->GetBounds());
        CPixPane::AnimateZoomRects(port, InPane(2, 3, 9, 12), InPane(2, 3, 9, 12));
    }
    EXPECT_EQ(Shown(Rect(0, 0, kSide, kSide)), before);
}

// The selection tool's options end a lifted selection: 4 puts it down as a stamp where it was
// dragged (a press there then starts a new band and moves no pixel), 1 to 3 only empty it, other
// values leave it. With tool 112 current, putting it down brings the selection tool back.
TEST_F(CPixPaneTest, TheSelectionToolsOptionsPutALiftedSelectionDown)
{
    struct Case {
        const char* name;
        int16_t option;
        bool kept;
    };
    const Case cases[] = { { "stamp", 4, false }, { "new band", 2, false }, { "out of range", 5, true } };
    Grid dragged = { "............", "............", "............", "........###.", "........###." };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPane();
        Blot(Rect(2, 2, 5, 4));
        SmartPtr<CLassoTool> lasso = new CLassoTool;
        Use(lasso.Get());
        Stroke({ { 2, 2 }, { 5, 4 } });
        Stroke({ { 3, 3 }, { 9, 4 } });
        ASSERT_EQ(Picture(Rect(0, 0, 12, 5)), dragged);
        lasso->SetOption(0, c.option);
        EXPECT_EQ(pane->GetSelectionArea()->IsEmpty(), !c.kept);
        EXPECT_EQ(Picture(Rect(0, 0, 12, 5)), dragged);
        Stroke({ { 9, 4 }, { 12, 2 } });
        Grid movedOn = { "............", "...........#", "...........#", "............", "............" };
        EXPECT_EQ(Picture(Rect(0, 0, 12, 5)), c.kept ? movedOn : dragged);
    }

    SmartPtr<PaintTools> tools = new PaintTools;
    Use(new CLassoTool);
    Stroke({ { 2, 2 }, { 5, 4 } });
    tools->SelectIndex(10);
    ASSERT_EQ(tools->GetCurrentToolNumber(), CPixPane::kKeepSelection);
    pane->DropSelection(true);
    EXPECT_TRUE(pane->GetSelectionArea()->IsEmpty());
    EXPECT_EQ(tools->GetCurrentToolNumber(), CPixPane::kSelection);
}

// A click in a palette ends the picture's selection: nothing is left to flash, copy or clear.
TEST_F(CPixPaneTest, APaletteClickEndsThePicturesSelection)
{
    SmartPtr<PaintTools> tools = new PaintTools;
    tools->SelectIndex(9);
    Blot(Rect(2, 2, 5, 4));
    Stroke({ { 1, 1 }, { 6, 5 } });
    ASSERT_FALSE(pane->GetSelectionArea()->IsEmpty());
    tools->CellChosen(8);
    EXPECT_EQ(tools->GetCurrentToolNumber(), CPixPane::kBrush);
    EXPECT_TRUE(pane->GetSelectionArea()->IsEmpty());
    EXPECT_FALSE(pane->CanClip(1));
    pane->FlashSelection();
    EXPECT_EQ(Shown(Rect(0, 0, 8, 6)), Picture(Rect(0, 0, 8, 6))) << "no frame around the old selection";
}
