#include "authoring/application/CTumblerApp.h"

#include "authoring/dialogs/COverDir.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/palettes/Floater.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/Scrap.h"
#include "authoring/resources/KidResources.h"
#include "authoring/resources/LoadedSound.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/tools/CTool.h"
#include "foundation/Clipboard.h"
#include "foundation/Exception.h"
#include "foundation/SoundResource.h"
#include "foundation/Utilities.h"
#include "graphics/Sound.h"
#include "graphics/SoundChannel.h"
#include "ui/Window.h"

PW_DEFINE_CLASS(CTumblerApp, nullptr, nullptr, CHAApp)

namespace {

// How long the goodbye sound may go on after the windows agreed to close.
constexpr uint32_t kGoodbyeWait = 300;
// The overview window command 2062 opens: a strip this high across the frame, its bottom edge
// this far above the frame's.
constexpr int32_t kOverviewHeight = 256;
constexpr int32_t kOverviewRaise = 40;

SmartPtr<CToolsDir>& Tools()
{
    static SmartPtr<CToolsDir> tools;
    return tools;
}

CTumblerApp::OverviewMaker& Maker()
{
    static CTumblerApp::OverviewMaker maker;
    return maker;
}

bool SoundsWanted()
{
    return !(CHAApp::GetOptions().bits & CHAApp::kNoSoundsBit);
}

SmartPtr<Sound> KidSound(int16_t number)
{
    return pw::authoring::LoadedSound(KidResources::Lookup(number));
}

} // namespace

void CTumblerApp::SetOverviewMaker(OverviewMaker maker)
{
    Maker() = std::move(maker);
}

CTumblerApp::CTumblerApp(const SmartPtr<MenuBar>& menus, const FileCreatorType& creator,
    const SmartPtr<CToolsDir>& tools)
    : CHAApp(menus, creator)
{
    Tools() = tools;
    // The tools window chose its tool before there was an application to hand it to.
    if (tools.Valid())
        SetCurrentTool(tools->GetCurrent());
    if (SoundsWanted()) {
        if (SmartPtr<Sound> sound = KidSound(kStartSound); sound.Valid())
            Sound::PlayFrom(sound);
    }
    CPatternSelector::SetKidColors();
}

CTumblerApp::~CTumblerApp()
{
    overview = nullptr;
    currentFloater = nullptr;
    // The tools window is a window of this run: it goes with the application, while the platform
    // that shows it is still up, not with the class-wide handle at process exit.
    Tools() = nullptr;
    // So is the panes' handle on its clipboard: a picture left there holds bitmaps that must be
    // freed while the platform is still up.
    if (gScrap.Valid() && gScrap.Get() == GetClipboard().Get())
        pw::authoring::BindScrap(nullptr);
}

SmartPtr<CToolsDir> CTumblerApp::GetTools()
{
    return Tools();
}

const FileCreatorType& CTumblerApp::EarlierCreator()
{
    static const FileCreatorType creator("Zoetrail", 0x544F4F4E);
    return creator;
}

void CTumblerApp::Quit(int32_t mode)
{
    SmartPtr<SoundChannel> channel;
    if (SoundsWanted()) {
        if (SmartPtr<Sound> sound = KidSound(kGoodbyeSound); sound.Valid()) {
            channel = new SoundChannel(sound);
            channel->Start(false);
        }
    }
    CHAApp::Quit(mode);
    if (channel.Valid()) {
        if (channel->IsPlaying())
            Delay(kGoodbyeWait);
        channel->Stop();
    }
}

void CTumblerApp::ShowFloater(const SmartPtr<Window>& window)
{
    if (overview.Valid() && !window.Valid())
        return;
    if (SmartPtr<CPanePlay> pane = GetActivePane(); pane.Valid() && window.Valid())
        pane->GetPlayer().Stop();
    bool hideOverview = window.Valid() || (Tools().Valid() && Tools()->ToggleShown(false));
    if (hideOverview && overview.Valid() && overview->IsVisible()) {
        if (auto* floater = SmartCast<Floater>(overview.Get()))
            floater->ToggleShown(true);
        else
            overview->Show(false);
    }
    if (window.Get() == currentFloater.Get())
        return;
    if (currentFloater.Valid()) {
        if (auto* floater = SmartCast<Floater>(currentFloater.Get()))
            floater->Hide();
        else
            currentFloater->Close();
    }
    currentFloater = window;
    // A floater never reports itself up already: the application brings it up.
    if (window.Valid())
        window->TellApp(true);
}

void CTumblerApp::ToggleOverview()
{
    if (overview.Valid() && overview.Get() == currentFloater.Get()) {
        Exception::Warn(kNotImplemented, PW_HERE);
        overview = nullptr;
        ShowFloater(nullptr);
        return;
    }
    auto* pane = SmartCast<CHAPane>(GetActivePane().Get());
    if (!pane || !Maker())
        return;
    Rect frame = COverDir::BottomStrip(kOverviewHeight);
    frame.Offset(0, -kOverviewRaise);
    overview = Maker()(*pane, frame);
    Exception::Warn(kNotImplemented, PW_HERE);
    ShowFloater(overview);
}

void CTumblerApp::DoCommand(int32_t number, int32_t argument)
{
    if (number == kOverviewCommand) {
        ToggleOverview();
    } else if (number == kEndEditCommand) {
        if (auto* pane = SmartCast<CHAPane>(GetActivePane().Get()))
            pane->Edit(0, false);
        Exception::Warn(kNotImplemented, PW_HERE);
    } else {
        CHAApp::DoCommand(number, argument);
    }
}

int32_t CTumblerApp::GetCommandStatus(int32_t number)
{
    if (number == kEndEditCommand) {
        Exception::Warn(kNotImplemented, PW_HERE);
        return kDisabled;
    }
    return CHAApp::GetCommandStatus(number);
}

void CTumblerApp::RecordSoundToClipboard(const SmartPtr<CTool>& tool)
{
    SmartPtr<Sound> sound = Sound::Record(*this);
    if (!sound.Valid())
        return;
    GetClipboard()->Put(sound.Get());
    // With pictures selected the sound goes onto them at once; else the tool holds it for the next
    // press.
    if (auto* pane = SmartCast<CHAPane>(GetActivePane().Get()); pane && pane->PasteOntoSelection(GetClipboard()))
        return;
    if (Tools().Valid())
        Tools()->SetCurrentTool(SmartPtr<Tool>(tool.Get()));
    if (tool.Valid())
        tool->SetSoundPending(true);
}

RecordSoundSignal::RecordSoundSignal(const SmartPtr<CTool>& tool)
    : Signal<CTumblerApp>(PW_HERE)
    , tool(tool)
{
}

RecordSoundSignal::~RecordSoundSignal() = default;

SmartPtr<CTool> RecordSoundSignal::GetTool() const
{
    return tool;
}

void RecordSoundSignal::Act(CTumblerApp& app)
{
    app.RecordSoundToClipboard(tool);
}
