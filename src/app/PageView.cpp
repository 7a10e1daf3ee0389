#include "app/PageView.h"

#include "engine/CHAApp.h"
#include "engine/CShow.h"
#include "graphics/Area.h"

PageView::PageView(View* parent, const SmartPtr<CPlayer>& player)
    : CPanePlay(parent, player)
{
    player->RemoveOrAppendClient(this);
}

PageView::~PageView()
{
    GetPlayer().RemoveOrAppendClient(this);
}

View* PageView::Make(CShow& show, View& container)
{
    if (!show.GetPlayer())
        return nullptr;
    SmartPtr<PageView> pane = new PageView(&container, show.GetPlayer());
    container.AddChild(pane.Get());
    if (CHAApp* app = CHAApp::Get())
        app->SetActivePane(pane.Get());
    return pane.Get();
}

void PageView::FrameNotice()
{
    InvalidateView(false);
}

void PageView::AreaNotice(const SmartPtr<Area>&)
{
    InvalidateView(false);
}
