#include "authoring/dialogs/SpeedDialog.h"

#include "graphics/DisplayPort.h"
#include "ui/ViewPort.h"

#include <string>

SpeedDialog::SpeedDialog()
    : Dialog(1)
    , text(new String(""))
{
}

SpeedDialog::~SpeedDialog()
{
    if (control.Valid())
        control->ToggleClient(this);
}

void SpeedDialog::SetControl(const SmartPtr<SpeedControl>& newControl)
{
    if (control.Valid())
        control->ToggleClient(this);
    control = newControl;
    control->ToggleClient(this);
    TakeText();
}

void SpeedDialog::TakeText()
{
    text = new String(std::to_string(control->GetPosition()).c_str());
}

void SpeedDialog::DrawContent(DisplayPort& port, Area& area)
{
    Dialog::DrawContent(port, area);
    DrawValue(port);
}

void SpeedDialog::DrawValue(DisplayPort& port)
{
    std::string digits = pw::foundation::TextOf(*text.Get());
    port.DrawString(digits.c_str(), static_cast<int32_t>(digits.size()), kValueRect, Color(1));
}

void SpeedDialog::SpeedChanged()
{
    TakeText();
    if (!IsActive())
        return;
    pw::ui::ViewPort port(GetDrawingDevice(), kValueRect);
    DrawValue(port);
}
