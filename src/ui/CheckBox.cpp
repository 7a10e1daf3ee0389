#include "ui/CheckBox.h"

PW_DEFINE_CLASS(CheckBox, nullptr, nullptr, Control)

CheckBox::CheckBox(View* container, const char* title, const SmartPtr<Controllable>& target, int32_t tag)
    : Control(container, kCheckBox, String(title), target, tag)
{
    SetRange(0, 1);
    SetValue(GetTarget()->GetValueFor(tag));
}

SmartPtr<CheckBox> CheckBox::Create(View* container, const char* title, const SmartPtr<Controllable>& target,
    int32_t tag)
{
    SmartPtr<CheckBox> box = new CheckBox(container, title, target, tag);
    container->AddChild(SmartPtr<View>(box.Get()));
    return box;
}

void CheckBox::Action(int32_t)
{
    int32_t value = 0;
    GetValue(value);
    SetValue(1 - value);
    NotifyChanged();
}
