#include "authoring/palettes/CToolsDir.h"

#include "authoring/palettes/CTilePane.h"
#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/CTextTool.h"
#include "authoring/tools/CTool.h"
#include "engine/CPlayer.h"
#include "foundation/Exception.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "ui/App.h"
#include "ui/Window.h"

#include <algorithm>

namespace {

// Released at exit in this order.
struct Shared {
    SmartPtr<CToolPalette> paintPalette;
    SmartPtr<CDropperTool> dropperTool;
    SmartPtr<CTextTool> textTool;
    SmartPtr<Tool> defaultTool;
};

Shared& TheShared()
{
    static Shared shared;
    return shared;
}

CToolsDir*& TheToolsDir()
{
    static CToolsDir* tools = nullptr;
    return tools;
}

constexpr uint32_t kPendingSoundPeriod = 4000;

// Whether the pane's page is playing: its player runs.
bool Plays(pw::authoring::ToolsWindowPane& pane)
{
    SmartPtr<CPlayer> player = pane.GetPlayer();
    return player.Valid() && player->IsRunning();
}

} // namespace

CToolsDir::CToolsDir(const SmartPtr<SoundResource>& clickSound)
    : CPaletteDir(3, clickSound)
{
    if (!TheShared().defaultTool.Valid())
        TheShared().defaultTool = new CTool(3, nullptr, false, nullptr);
    current = TheShared().defaultTool;
    TheShared().dropperTool = new CDropperTool;
    TheShared().textTool = new CTextTool;
    PaneForwarder::Register(this, this);
    chore = new ListChore(kPendingSoundPeriod, true);
    chore->RemoveOrAppend(this);
    TheToolsDir() = this;
}

CToolsDir* CToolsDir::Get()
{
    return TheToolsDir();
}

CToolsDir::~CToolsDir()
{
    if (TheToolsDir() == this)
        TheToolsDir() = nullptr;
    if (pane.Valid())
        pane->ToggleClient(this);
    PaneForwarder::Unregister(this, this);
    chore->Stop();
    chore->RemoveOrAppend(this);
}

SmartPtr<Tool> CToolsDir::GetDefaultTool()
{
    return TheShared().defaultTool;
}

SmartPtr<CDropperTool> CToolsDir::GetDropperTool()
{
    if (!TheShared().dropperTool.Valid())
        TheShared().dropperTool = new CDropperTool;
    return TheShared().dropperTool;
}

SmartPtr<CTextTool> CToolsDir::GetTextTool()
{
    if (!TheShared().textTool.Valid())
        TheShared().textTool = new CTextTool;
    return TheShared().textTool;
}

SmartPtr<CToolPalette> CToolsDir::GetPaintPalette()
{
    return TheShared().paintPalette;
}

void CToolsDir::SetPaintPalette(const SmartPtr<CToolPalette>& palette)
{
    TheShared().paintPalette = palette;
}

void CToolsDir::ChoreTick(const SmartPtr<ListChore>& tick)
{
    if (tick != chore)
        AssertionFailed("~timer == ~chore", PW_HERE);
    if (SmartPtr<CTool> tool = GetCurrentTool(); tool.Valid())
        tool->PlayPendingSound();
}

SmartPtr<CTool> CToolsDir::GetCurrentTool() const
{
    return SmartPtr<CTool>(SmartCast<CTool>(current.Get()));
}

int32_t CToolsDir::GetCurrentToolNumber() const
{
    SmartPtr<CTool> tool = GetCurrentTool();
    return tool.Valid() ? tool->GetNumber() : 0;
}

void CToolsDir::SetCurrentTool(const SmartPtr<Tool>& tool)
{
    if (!tool.Valid())
        return;
    if (tool != current) {
        if (SmartPtr<CTool> old = GetCurrentTool(); old.Valid())
            old->SetSoundPending(false);
        current = tool;
    }
    // The application's current tool is the one that takes the presses in the panes: a tool made
    // current here (by a browser click, a recorded sound) must reach them too.
    if (App* app = Window::GetApplication())
        app->SetCurrentTool(tool);
    chore->ResetTick();
}

void CToolsDir::SetCurrentToolNumber(int32_t number)
{
    if (GetCurrentToolNumber() == number)
        return;
    SelectIndex(IndexOfToolNumber(number));
}

int16_t CToolsDir::IndexOfToolNumber(int32_t)
{
    return 0;
}

SmartPtr<Tool> CToolsDir::ToolAt(int16_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return nullptr;
}

void CToolsDir::SelectIndex(int16_t index)
{
    if (Shown(animationPalette))
        animationPalette->SelectTool(index);
    if (Shown(paintPalette))
        paintPalette->SelectTool(index);
    SetCurrentTool(ToolAt(index));
}

void CToolsDir::CellChosen(int16_t index)
{
    CPaletteDir::CellChosen(index);
    // A new tool ends the picture's selection: nothing flashes on, and Copy and Clear find none.
    if (CPixPane* painted = CPixPane::Active())
        painted->ResetSelectionArea();
    SmartPtr<pw::authoring::ToolsWindowPane> active = GetPane();
    if (!active.Valid() || !active->IsActivePane())
        return;
    int32_t number = GetCurrentToolNumber();
    if (number == 4)
        active->Edit(2, false);
    else if (number == 2)
        active->Edit(1, false);
}

bool CToolsDir::ToggleShown(bool toggle)
{
    bool shown = CPaletteDir::ToggleShown(toggle);
    if (shown && toggle)
        SelectIndex(IndexOfToolNumber(GetCurrentToolNumber()));
    return shown;
}

void CToolsDir::UpdatePaintPane()
{
    if (CPixPane* active = CPixPane::Active()) {
        active->SelectAll(false);
        CPixPane::NotImplemented(0);
    }
}

SmartPtr<CToolPalette> CToolsDir::PaletteOfTool(int32_t number)
{
    int16_t index = IndexOfToolNumber(number);
    for (const SmartPtr<CToolPalette>& palette : { animationPalette, paintPalette }) {
        if (palette.Valid() && index >= palette->GetFirst() && index < palette->GetFirst() + palette->GetCount())
            return palette;
    }
    return nullptr;
}

// A palette of a hidden tools window offers nothing: presses on a page in the media tabs, where the
// window is put away, take the default animation tool, not a paint tool nobody sees.
void CToolsDir::SelectDefaultTools()
{
    bool animationShown = Shown(animationPalette) && IsVisible();
    bool paintShown = Shown(paintPalette) && IsVisible();
    int16_t index;
    if (animationShown || !paintShown) {
        index = IndexOfToolNumber(3);
        if (animationPalette.Valid())
            animationPalette->SelectTool(index);
    } else {
        index = IndexOfToolNumber(102);
    }
    if (paintShown)
        paintPalette->EnableCell(-1, true);
    paintPalette->SelectTool(index);
    SetCurrentTool(ToolAt(index));
}

void CToolsDir::SetPane(const SmartPtr<pw::authoring::ToolsWindowPane>& newPane)
{
    if (newPane == pane)
        return;
    if (pane.Valid())
        pane->ToggleClient(this);
    pane = newPane;
    if (pane.Valid())
        pane->ToggleClient(this);
    UpdateForPane();
}

void CToolsDir::PaneChanged(pw::authoring::ToolsWindowPane*)
{
    UpdateForPane();
}

void CToolsDir::UpdateForPane()
{
    int32_t kind = pane.Valid() ? pane->GetEditedKind() : 0;
    bool playing = pane.Valid() && Plays(*pane.Get());
    if (kind == 1) {
        if (!Shown(paintPalette))
            SetMode(3);
        if (!IsVisible())
            Show(true);
    } else if (Shown(paintPalette)) {
        SetMode(0);
    }
    if (playing)
        SetMode(0);
    if (kind == 2 && GetCurrentToolNumber() == 4)
        GetCurrentTool()->SetSoundPending(false);
}

void CToolsDir::SetMode(int32_t newMode)
{
    if (newMode == mode)
        return;
    mode = newMode;
    if (paintPalette.Valid())
        paintPalette->Show(mode == 3);
    if (mode == 1 || mode == 4) {
        // Editing starts from a still page.
        if (pane.Valid()) {
            if (SmartPtr<CPlayer> player = pane->GetPlayer(); player.Valid())
                player->Stop();
        }
        animationPalette->Show(true);
    } else if (animationPalette.Valid()) {
        animationPalette->Show(false);
    }
    int16_t index;
    if (Shown(animationPalette)) {
        index = animationPalette->GetSelectedTool();
        if (index == 0)
            index = IndexOfToolNumber(3);
    } else if (paintPalette.Valid() && mode == 3) {
        index = paintPalette->GetSelectedTool();
        if (index == 0)
            index = IndexOfToolNumber(102);
    } else {
        index = IndexOfToolNumber(mode == 2 ? 4 : 3);
    }
    if (index != 0)
        SelectIndex(index);
    FitContent();
    if (!pane.Valid())
        return;
    if (mode == 3) {
        pane->Edit(1, true);
    } else if (mode == 2) {
        // Writing starts where the child clicks next: the text selected on the page (the one
        // written last) is not opened again, or the new letters would go in front of its own and
        // the options chosen for the new text would restyle it.
        pane->Edit(0, false);
        if (SmartPtr<CTool> tool = GetCurrentTool(); tool.Valid())
            tool->SetSoundPending(true);
    } else {
        pane->Edit(0, false);
    }
}

SmartPtr<pw::authoring::ToolsWindowPane> CToolsDir::GetPane()
{
    if (pane.Valid() && Plays(*pane.Get()))
        pane->DoCommand(pw::authoring::ToolsWindowPane::kStopCommand, 0);
    return pane;
}

void CToolsDir::FitContent()
{
    auto* tiles = dynamic_cast<CTilePane*>(tilePane.Get());
    if (tiles == nullptr)
        return;
    Point size = tiles->Layout(0, 0);
    if (size.h != 0 || size.v != 0)
        SizeToFit(true);
}

void CToolsDir::ToggleWatcher(pw::authoring::ToolsWatcher* watcher)
{
    auto found = std::find(watchers.begin(), watchers.end(), watcher);
    if (found != watchers.end())
        watchers.erase(found);
    else
        watchers.push_back(watcher);
}

void CToolsDir::NotifyWatchers()
{
    std::vector<pw::authoring::ToolsWatcher*> told = watchers;
    for (pw::authoring::ToolsWatcher* watcher : told)
        watcher->ToolsChanged(this);
}

void CToolsDir::DrawBeveledFrame(DisplayPort& port, Rect& rect)
{
    auto inset = [&rect] { rect = Rect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1); };
    port.DrawRectangle(rect, Color(13), Color(1), 1);
    inset();
    port.DrawBevel(rect, Color(3), Color(6), 1);
    inset();
    port.DrawBevel(rect, Color(2), Color(5), 1);
    inset();
}
