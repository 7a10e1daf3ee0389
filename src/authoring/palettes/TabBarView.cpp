#include "authoring/palettes/TabBarView.h"

#include "authoring/resources/KidResources.h"
#include "engine/CHAApp.h"
#include "engine/CPanePlay.h"
#include "engine/NumberCommandHandler.h"
#include "ui/App.h"
#include "ui/Window.h"

namespace pw::authoring {

AppCommandSignal::AppCommandSignal(int32_t number)
    : Signal<App>(PW_HERE)
    , number(number)
{
}

int32_t AppCommandSignal::Status(App& app)
{
    auto* handler = dynamic_cast<NumberCommandHandler*>(&app);
    return handler && handler->GetCommandStatus(number) != disabled ? enabled : disabled;
}

void AppCommandSignal::Act(App& app)
{
    dynamic_cast<NumberCommandHandler&>(app).DoCommand(number, 0);
}

} // namespace pw::authoring

namespace {

constexpr int16_t kBack = 1;
constexpr int16_t kForward = 2;
// The arrow palette's cell when no arrow is pressed: none.
constexpr int16_t kRestingCell = 0;

} // namespace

TabBarView::TabBarView(View* parent, const Rect& bounds, int16_t pageCount)
    : CPaletteView(parent, bounds, kSizeTopLeft)
    , pageCount(pageCount)
    , pictures { KidResources::LookupImage(3), KidResources::LookupImage(4) }
{
}

TabBarView::~TabBarView()
{
    if (arrows.Valid())
        arrows->RemoveClient(this);
}

void TabBarView::Build(View* owner, bool withSecondButton, std::unique_ptr<ButtonGrid> arrowLayout)
{
    View* parent = owner ? owner : this;
    Rect bounds = GetBounds();
    Rect corner(bounds.left, bounds.top, bounds.left, bounds.top);
    firstButton = new CCommandButton(parent, corner, new pw::authoring::AppCommandSignal(kActionCommand),
        KidResources::LookupImage(kActionPicture), KidResources::Lookup(kActionSound));
    parent->AddChild(SmartPtr<View>(firstButton.Get()));
    if (withSecondButton) {
        secondButton = new CCommandButton(parent, corner, nullptr, nullptr, nullptr);
        parent->AddChild(SmartPtr<View>(secondButton.Get()));
    }
    if (arrowLayout) {
        arrows = new CToolPalette(parent, std::move(arrowLayout), 1);
        arrows->AddClient(this);
        arrows->SelectTool(kRestingCell);
        parent->AddChild(SmartPtr<View>(arrows.Get()));
    }
    SetPage(0);
}

void TabBarView::DoCommand(int16_t command)
{
    if (command == 0) {
        RunPageAction();
        return;
    }
    if (command != kBack && command != kForward)
        return;
    if (arrows.Valid())
        arrows->SelectTool(command);
    int32_t next = (page + (command == kBack ? -1 : 1)) % pageCount;
    if (next < 0)
        next += pageCount;
    SetPage(static_cast<int16_t>(next));
    if (arrows.Valid())
        arrows->SelectTool(kRestingCell);
}

void TabBarView::RunPageAction()
{
    if (CHAApp* app = CHAApp::Get())
        app->ShowFloater(nullptr);
}

void TabBarView::SetPage(int16_t p)
{
    page = p;
    for (int16_t i = 0; i < pageCount; ++i) {
        SmartPtr<CToolPalette> palette = GetPagePalette(i);
        if (!palette.Valid())
            continue;
        if (i == p)
            palette->SelectTool(kRestingCell);
        palette->Show(i == p);
    }
    DoCommand(0);
    InvalidateView(false);
}
