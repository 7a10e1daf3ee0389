#include "authoring/tools/CDropperTool.h"

#include "authoring/tools/PaintSettings.h"
#include "engine/CHAApp.h"
#include "engine/CPanePlay.h"
#include "foundation/Exception.h"
#include "graphics/ColorTable.h"
#include "graphics/PatternPaint.h"
#include "graphics/SolidPaint.h"

#include <algorithm>

using pw::authoring::PaintClient;
using pw::authoring::PaintSettings;

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

SmartPtr<Paint> CDropperTool::MakeFill(bool patterned) const
{
    const PaintSettings& paint = PaintSettings::Current();
    if (patterned)
        return new PatternPaint(paint.foreground, paint.pattern, paint.background);
    return new SolidPaint(paint.foreground);
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

const SmartPtr<CDropperTool>& CDropperTool::Shared()
{
    // Never destroyed: views may still leave its lists while the program ends.
    static auto* shared = new SmartPtr<CDropperTool>(new CDropperTool);
    return *shared;
}
