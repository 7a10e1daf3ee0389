#include "authoring/palettes/CKidTools.h"

#include "authoring/palettes/CDropperOptionWindow.h"
#include "authoring/palettes/CFramedPalette.h"
#include "authoring/palettes/COptionView.h"
#include "authoring/palettes/CProxyPalette.h"
#include "authoring/palettes/CSwitchPalette.h"
#include "authoring/palettes/CTilePane.h"
#include "authoring/palettes/OptionViewHost.h"
#include "authoring/resources/KidResources.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/tools/CBrushTool.h"
#include "authoring/tools/CBucketTool.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/CEraserTool.h"
#include "authoring/tools/CLassoTool.h"
#include "authoring/tools/CLineTool.h"
#include "authoring/tools/CShapeTool.h"
#include "authoring/tools/CTextTool.h"
#include "engine/CFWDecorator.h"
#include "foundation/Exception.h"
#include "ui/App.h"
#include "ui/WindowFrame.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

struct AnimationTool {
    int32_t number;
    int16_t sound;
    // The default arrow tool has no sounds and no alternate mode.
    bool arrow;
    bool takesAltMode;
};

constexpr AnimationTool kAnimationTools[] = {
    { 3, 20, false, true },
    { 15, 22, false, true },
    { 18, 23, false, true },
    { 3, 0, true, false },
    { 3, 20, false, false },
    { 15, 22, false, false },
    { 18, 23, false, false },
};

// The option area of each tool number that has one in the tools window.
struct OptionArea {
    int32_t number;
    int16_t grid;
    bool proxy;
    bool withPattern;
};

constexpr OptionArea kOptionAreas[] = {
    { 102, 305, true, true },
    { 103, 310, true, true },
    { 106, 308, true, true },
    { 109, 305, true, false },
    { 111, 304, false, false },
    { 113, 307, true, true },
};

// The largest content the window shows with any tool in any mode: each option area (a proxy
// palette takes the size of its grid, as a plain one does) beside each tool palette the pane
// holds, one at a time as the modes show them.
Point LargestContent(CTilePane& tiles)
{
    std::vector<std::pair<SmartPtr<View>, bool>> palettes;
    for (uint32_t i = 1; i <= tiles.GetChildren().NumItems(); ++i) {
        View* palette = tiles.GetChildren().Item(i);
        palettes.emplace_back(palette, palette->IsHidden());
    }
    Point largest(0, 0);
    for (const OptionArea& area : kOptionAreas) {
        SmartPtr<View> options(new CFramedPalette(&tiles, KidResources::MakeButtonGrid(area.grid), CKidTools::kFirstOptionCell));
        tiles.AddChild(options);
        SmartPtr<View> swatch(area.withPattern ? new CPatternSelector(&tiles) : nullptr);
        if (swatch.Valid())
            tiles.AddChild(swatch);
        for (size_t shown = 0; shown < std::max<size_t>(palettes.size(), 1); ++shown) {
            for (size_t i = 0; i < palettes.size(); ++i)
                palettes[i].first->Show(i == shown);
            Point size = tiles.Layout(0, 0);
            largest = Point(std::max(largest.h, size.h), std::max(largest.v, size.v));
        }
        if (swatch.Valid())
            tiles.RemoveChild(swatch);
        tiles.RemoveChild(options);
    }
    for (const auto& [palette, hidden] : palettes)
        palette->Show(!hidden);
    return largest;
}

} // namespace

CKidTools::CKidTools(bool altMode, bool withAnimPalette, bool withSwitchPalette)
    : CToolsDir(KidResources::Lookup(1))
{
    size_t i = 0;
    for (const AnimationTool& entry : kAnimationTools) {
        SmartPtr<CTool> tool = entry.arrow
            ? new CTool(entry.number, nullptr, false, nullptr)
            : new CTool(entry.number, KidResources::Lookup(entry.sound), true, KidResources::Lookup(40));
        if (entry.takesAltMode)
            tool->SetAltMode(altMode);
        animTools[i++] = tool;
    }
    if (i != NUM_ANIM_TOOLS)
        AssertionFailed("i == NUM_ANIM_TOOLS", PW_HERE);
    SmartPtr<CDropperTool> dropper = GetDropperTool();
    paintTools = { new CBucketTool(dropper), new CBrushTool(dropper), new CShapeTool, new CLineTool, new CEraserTool,
        new CLassoTool };
    clickSound = KidResources::Lookup(2);

    SmartPtr<CTilePane> tiles = new CTilePane(this, false, true, 0);
    tilePane = tiles.Get();
    AddChild(tilePane);
    if (withAnimPalette) {
        commandButton = new CCommandButton(tiles.Get(), Rect(0, 0, 0, 0), nullptr, nullptr, KidResources::Lookup(24));
        tiles->AddChild(SmartPtr<View>(commandButton.Get()));
        animationPalette = new CAnimPalette(commandButton.Get(), 1);
        animationPalette->AddClient(this);
        commandButton->AddChild(SmartPtr<View>(animationPalette.Get()));
        FrameAnimationPalette();
        animationPalette->SelectTool(1);
    }
    if (withSwitchPalette) {
        paintPalette = new CSwitchPalette(tiles.Get(), KidResources::MakeButtonGrid(202), 8, IndexOfToolNumber(110));
        paintPalette->AddClient(this);
        tiles->AddChild(SmartPtr<View>(paintPalette.Get()));
        SetPaintPalette(paintPalette);
    }
    // One frame holds every mode's content: the window keeps its size and place as tools change.
    largestContent = LargestContent(*tiles.Get());
    tiles->HoldSize(largestContent);
    SelectDefaultTools();

    FitContent();
    Rect frame = GetRect();
    CFWDecorator::Get().AlignRect(frame, 0, 2, true);
    frame.top -= 32;
    frame.bottom -= 32;
    SetFrame(frame);
}

CKidTools::~CKidTools()
{
    if (animationPalette.Valid())
        animationPalette->RemoveClient(this);
    if (paintPalette.Valid())
        paintPalette->RemoveClient(this);
    if (optionPalette.Valid())
        optionPalette->RemoveClient(this);
    if (GetPaintPalette() == paintPalette)
        SetPaintPalette(nullptr);
}

void CKidTools::Close()
{
    ResetBrush();
    ChoreTick(GetChore());
    // A text still being typed or a picture still being painted goes onto the page too, so that
    // the save that follows keeps it.
    if (const SmartPtr<pw::authoring::ToolsWindowPane>& active = ActivePane();
        active.Valid() && active->GetEditedKind() != 0)
        active->StoreEdit();
}

bool CKidTools::CloseBoxPressed()
{
    Close();
    Hide();
    if (optionWindow.Valid() && optionWindow->IsVisible()) {
        if (auto* host = dynamic_cast<pw::authoring::OptionViewHost*>(Window::GetApplication()))
            host->ShowOptionView(nullptr);
    }
    return true;
}

void CKidTools::ResetBrush()
{
    if (GetCurrentToolNumber() != 102)
        return;
    if (auto* brush = dynamic_cast<CBrushTool*>(GetCurrentTool().Get()))
        brush->FlushBrushes();
}

void CKidTools::CellChosen(int16_t index)
{
    if (index < kFirstOptionCell) {
        ResetBrush();
        CToolsDir::CellChosen(index);
        return;
    }
    // Only the paint tools have option cells; another current tool (the options of the tool
    // before stay shown) has none to choose.
    SmartPtr<CTool> tool = GetCurrentTool();
    int16_t count = tool.Valid() && tool->IsPaintTool() ? tool->CountOptions(0) : 0;
    if (index >= kFirstOptionCell + count)
        return;
    PlayClick(clickSound);
    SelectIndex(index);
}

void CKidTools::SelectIndex(int16_t index)
{
    if (index >= kFirstOptionCell) {
        if (optionPalette.Valid())
            optionPalette->SelectTool(index);
        if (SmartPtr<CTool> tool = GetCurrentTool(); tool.Valid())
            tool->SetOption(0, static_cast<int16_t>(index - kTextToolCell));
        return;
    }
    if (index != 0)
        CToolsDir::SelectIndex(index);
    if (!ToggleShown(false))
        return;
    auto* host = dynamic_cast<pw::authoring::OptionViewHost*>(Window::GetApplication());
    if (host == nullptr)
        return;
    Rect placement = OptionPlacement();
    SmartPtr<Window> view;
    int32_t number = GetCurrentToolNumber();
    if (number == 110) {
        view = new CDropperOptionWindow(GetCurrentTool(), KidResources::MakeButtonGrid(302), placement);
    } else if (number == CTextTool::kNumber) {
        view = TextOptions(placement);
        HoldUnder(*view.Get());
    } else {
        for (const OptionArea& area : kOptionAreas) {
            if (area.number == number)
                ShowOptionPalette(area.grid, area.proxy, area.withPattern);
        }
    }
    optionWindow = view;
    host->ShowOptionView(view);
    // Shown again (its page window came back to the front after a dialog), the tools window was
    // raised over the option window that stayed up: the application brings that one back above
    // them, keeping a dialog in front above both.
    if (view.Valid() && view->IsVisible())
        view->TellApp(true);
}

// Writing shows none of the window's own palettes: the text options, placed over its content a
// pixel up, cover it exactly, and no empty part of the window shows beside them.
void CKidTools::HoldUnder(Window& options)
{
    auto* tiles = dynamic_cast<CTilePane*>(tilePane.Get());
    if (tiles == nullptr)
        return;
    Point size = options.GetRect().Size();
    tiles->HoldSize(Point(size.h, size.v - 1));
    FitContent();
}

// The content's place is known on the screen; windows are placed in their parent's coordinates
// (the main window's client area), where the frame lies as far from its place on the screen as
// the content does.
Rect CKidTools::OptionPlacement() const
{
    Rect placement = GetFrame()->GetContentBounds();
    RECT outer { 0, 0, 0, 0 };
    if (GetWindowRect(GetFrame()->GetOSWindow(), &outer)) {
        Rect frame = GetRect();
        placement.Offset(frame.left - outer.left, frame.top - outer.top);
    }
    placement.top -= 1;
    return placement;
}

void CKidTools::Moved()
{
    CToolsDir::Moved();
    if (!optionWindow.Valid() || !optionWindow->IsVisible())
        return;
    Rect placement = OptionPlacement();
    Rect frame = optionWindow->GetRect();
    frame.Offset(placement.left - frame.left, placement.top - frame.top);
    optionWindow->SetFrame(frame);
    // Over the tools window in the stacking too: a drag by the caption raised that one.
    optionWindow->GetFrame()->BringToFront();
}

int16_t CKidTools::IndexOfToolNumber(int32_t number)
{
    if (number == 4)
        return kTextToolCell;
    if (animationPalette.Valid()) {
        int16_t selected = animationPalette->GetSelectedTool();
        if (selected >= 1 && selected <= NUM_ANIM_TOOLS && animTools[static_cast<size_t>(selected - 1)]->GetNumber() == number)
            return selected;
    }
    for (int16_t i = 1; i <= NUM_ANIM_TOOLS; ++i) {
        if (animTools[static_cast<size_t>(i - 1)]->GetNumber() == number)
            return i;
    }
    for (int16_t i = 1; i <= NUM_PAINT_TOOLS; ++i) {
        if (paintTools[static_cast<size_t>(i - 1)]->GetNumber() == number)
            return static_cast<int16_t>(NUM_ANIM_TOOLS + i);
    }
    return 0;
}

SmartPtr<Window> CKidTools::TextOptions(const Rect& placement)
{
    SmartPtr<CTool> tool = GetCurrentTool();
    if (!textOptions.Valid() || textOptions->GetTool() != tool) {
        textOptions = new COptionView(tool, placement);
    } else if (!textOptions->IsVisible()) {
        // A window still shown stays where the child sees it.
        Rect frame = textOptions->GetRect();
        frame.Offset(placement.left - frame.left, placement.top - frame.top);
        textOptions->SetFrame(frame);
    }
    return SmartPtr<Window>(textOptions.Get());
}

SmartPtr<Tool> CKidTools::ToolAt(int16_t index)
{
    if (index == kTextToolCell)
        return SmartPtr<Tool>(GetTextTool().Get());
    if (index >= 1 && index <= NUM_ANIM_TOOLS)
        return SmartPtr<Tool>(animTools[static_cast<size_t>(index - 1)].Get());
    if (index > NUM_ANIM_TOOLS && index <= NUM_ANIM_TOOLS + NUM_PAINT_TOOLS)
        return SmartPtr<Tool>(paintTools[static_cast<size_t>(index - NUM_ANIM_TOOLS - 1)].Get());
    return nullptr;
}

// The palette sits 3 pixels in from the button's left edge and 15 below its top, and the button
// takes as much room again on its right and bottom.
void CKidTools::FrameAnimationPalette()
{
    Rect button = commandButton->GetBounds();
    Point size = animationPalette->GetBounds().Size();
    animationPalette->SetBounds(button.left + kPaletteInset.h, button.top + kPaletteInset.v,
        button.left + kPaletteInset.h + size.h, button.top + kPaletteInset.v + size.v);
    commandButton->SetBounds(button.left, button.top, button.left + size.h + 2 * kPaletteInset.h,
        button.top + size.v + kPaletteInset.v + kPaletteInset.h);
}

void CKidTools::SetMode(int32_t mode)
{
    if (auto* tiles = dynamic_cast<CTilePane*>(tilePane.Get()); tiles != nullptr && mode != GetMode())
        tiles->HoldSize(largestContent);
    if (commandButton.Valid())
        commandButton->Show(mode == 1 || mode == 4);
    // The option areas belong to the paint tools: outside the paint mode they go with the paint
    // palette, and the place they held is drawn again, not left showing another tab's options.
    if (mode != 3) {
        ResetBrush();
        RemoveOptionPalette();
    }
    CToolsDir::SetMode(mode);
}

void CKidTools::ShowOptionPalette(int16_t grid, bool proxy, bool withPattern)
{
    View* content = tilePane.Get();
    if (optionPalette.Valid())
        RemoveOptionPalette();
    SmartPtr<CTool> tool = GetCurrentTool();
    if (proxy) {
        optionPalette = new CProxyPalette(content, tool, KidResources::MakeButtonGrid(grid), kFirstOptionCell, 0);
    } else {
        optionPalette = new CFramedPalette(content, KidResources::MakeButtonGrid(grid), kFirstOptionCell);
        int16_t option = tool->GetOption(0);
        optionPalette->SelectTool(option != 0 ? static_cast<int16_t>(kFirstOptionCell + option - 1) : 0);
    }
    optionPalette->AddClient(this);
    content->AddChild(SmartPtr<View>(optionPalette.Get()));
    if (withPattern) {
        if (!patternSelector.Valid())
            patternSelector = new CPatternSelector(content);
        content->AddChild(SmartPtr<View>(patternSelector.Get()));
    }
    FitContent();
}

void CKidTools::RemoveOptionPalette()
{
    if (!optionPalette.Valid())
        return;
    if (patternSelector.Valid()) {
        tilePane->RemoveChild(SmartPtr<View>(patternSelector.Get()));
        patternSelector = nullptr;
    }
    tilePane->RemoveChild(SmartPtr<View>(optionPalette.Get()));
    optionPalette->RemoveClient(this);
    optionPalette = nullptr;
}
