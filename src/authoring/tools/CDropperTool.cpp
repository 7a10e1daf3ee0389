#include "authoring/tools/CDropperTool.h"

#include "authoring/selectors/ColorView.h"
#include "authoring/selectors/PatternView.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CHAApp.h"
#include "engine/CPanePlay.h"
#include "foundation/Exception.h"
#include "graphics/ColorPaint.h"
#include "graphics/ColorTable.h"
#include "graphics/ColoredPatternPaint.h"
#include "graphics/DisplayPort.h"
#include "ui/App.h"
#include "ui/GridSelector.h"
#include "ui/Window.h"

#include <algorithm>

using pw::authoring::PaintClient;
using pw::authoring::PaintSettings;

namespace {

// The standard palette's palest grey, its solid white.
constexpr uint8_t kSolidWhite = 0xF5;

} // namespace

CDropperTool::CDropperTool()
    : CTool(110, nullptr, false, nullptr)
{
}

void CDropperTool::SetOption(int16_t, int16_t value)
{
    if (value == colourIndex)
        return;
    colourIndex = value;
    // Option n stands for entry n - 1; the table's own range check refuses any other value.
    if (CHAApp::Get())
        PaintSettings::Current().foreground = ColorTable::Setup(8)->GetColor(static_cast<uint32_t>(value - 1));
    NotifyClients();
}

void CDropperTool::Apply(DisplayPort&, const Rect&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CDropperTool::ApplyWithOption(DisplayPort& port, const Rect& rect, int16_t kind, int16_t value)
{
    if (value < 1 || value > CountOptions(kind))
        return;
    port.DrawRectangle(rect, ColorTable::Setup(8)->GetColor(static_cast<uint32_t>(value - 1)), Color(1), 1);
}

SmartPtr<Paint> CDropperTool::MakeFill(bool patterned) const
{
    const PaintSettings& paint = PaintSettings::Current();
    if (patterned)
        return new ColoredPatternPaint(paint.foreground, paint.pattern, paint.background);
    return new ColorPaint(paint.foreground);
}

void CDropperTool::ToggleClient(PaintClient* client, bool selector)
{
    std::vector<PaintClient*>& list = selector ? selectorClients : paintClients;
    auto found = std::find(list.begin(), list.end(), client);
    if (found != list.end())
        list.erase(found);
    else
        list.push_back(client);
}

void CDropperTool::NotifyClients()
{
    // White is what a painted picture leaves see-through, so a white paint colour paints the palest
    // grey: white to the eye, and it covers what lies beneath instead of letting it show.
    Color& paint = PaintSettings::Current().foreground;
    if (paint.Equals(Color(0)))
        paint.SetBytes(kSolidWhite, kSolidWhite, kSolidWhite, 0);
    // Copies: a client may toggle itself while it is told.
    for (PaintClient* client : std::vector<PaintClient*>(selectorClients))
        client->PaintChanged(this);
    for (PaintClient* client : std::vector<PaintClient*>(paintClients))
        client->PaintChanged(this);
}

void CDropperTool::NotImplemented(int32_t, int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

namespace {

// The selector takes the current tool's next gesture.
void GiveToCurrentTool(const SmartPtr<GridSelector>& selector)
{
    App* app = Window::GetApplication();
    if (app == nullptr)
        return;
    if (SmartPtr<Tool> tool = app->GetCurrentTool(); tool.Valid())
        tool->SetInteractor(SmartPtr<Interactor>(selector.Get()));
}

} // namespace

void CDropperTool::SetToolRef(int32_t h, int32_t v)
{
    GiveToCurrentTool(OpenColorSelector(this, &PaintSettings::Current().foreground, Point(h, v)));
}

void CDropperTool::SetBackgroundToolRef(int32_t h, int32_t v)
{
    GiveToCurrentTool(OpenColorSelector(this, &PaintSettings::Current().background, Point(h, v)));
}

void CDropperTool::SetPatternToolRef(int32_t h, int32_t v)
{
    GiveToCurrentTool(PatternView::Open(this, 0, Point(h, v)));
}
