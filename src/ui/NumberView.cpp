#include "ui/NumberView.h"

#include "foundation/Exception.h"
#include "foundation/String.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

// The number the whole text writes, blanks around it allowed.
bool ParseDouble(const std::string& text, double& value)
{
    const char* first = text.c_str();
    char* end = nullptr;
    errno = 0;
    double parsed = std::strtod(first, &end);
    if (end == first || errno == ERANGE || !std::isfinite(parsed))
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return false;
    value = parsed;
    return true;
}

bool ParseLong(const std::string& text, int32_t& value)
{
    const char* first = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(first, &end, 10);
    if (end == first || errno == ERANGE || parsed < std::numeric_limits<int32_t>::min()
        || parsed > std::numeric_limits<int32_t>::max())
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

} // namespace

NumberView::NumberView(View* parent, const char* labelText, const SmartPtr<Smart>& model, int32_t* longTarget,
    double* doubleTarget)
    : View(parent, true)
    , label(new String(labelText))
    , model(model)
    , longTarget(longTarget)
    , doubleTarget(doubleTarget)
    , valueText(new String)
{
    Rect bounds = GetBounds();
    int32_t split = bounds.left + kFieldWidth;
    AddChild(new TextView(this, split, bounds.top, bounds.right, bounds.bottom, label, kSizeStretch, false, false,
        true, false));
    SetTextFromTarget();
    valueField = new TextView(this, bounds.left, bounds.top, split, bounds.bottom, valueText, kSizeLeftColumn, true,
        false, false, false);
    AddChild(SmartPtr<View>(valueField.Get()));
    valueText->ToggleWatcher(this);
}

NumberView::~NumberView()
{
    valueText->ToggleWatcher(this);
}

SmartPtr<NumberView> NumberView::MakeForLong(View* parent, const char* labelText, const SmartPtr<Smart>& model,
    int32_t* target)
{
    SmartPtr<NumberView> view = new NumberView(parent, labelText, model, target, nullptr);
    parent->AddChild(SmartPtr<View>(view.Get()));
    return view;
}

SmartPtr<NumberView> NumberView::MakeForDouble(View* parent, const char* labelText, const SmartPtr<Smart>& model,
    double* target)
{
    SmartPtr<NumberView> view = new NumberView(parent, labelText, model, nullptr, target);
    parent->AddChild(SmartPtr<View>(view.Get()));
    return view;
}

SmartPtr<NumberView> NumberView::MakeForInteger(View* parent, const char* labelText, const SmartPtr<Smart>& model,
    int* target)
{
    return MakeForLong(parent, labelText, model, target);
}

void NumberView::Copy(SmartPtr<Smart>&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void NumberView::Paste(const SmartPtr<Smart>&, int32_t, int32_t, int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    modified = true;
}

void NumberView::Clear()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    modified = true;
}

void NumberView::ActiveChanged(bool active)
{
    if (active) {
        SetTextFromTarget();
        return;
    }
    if (!modified)
        return;
    Commit();
    NotifyChanged();
}

void NumberView::ListChanged(const ListChange&)
{
    modified = true;
}

// The number setters tell no watcher, so the field is told itself, and this view stays unmodified.
void NumberView::SetTextFromTarget()
{
    modified = false;
    if (longTarget)
        valueText->SetLong(*longTarget);
    else if (doubleTarget)
        valueText->SetDouble(*doubleTarget);
    if (valueField.Valid())
        valueField->ListChanged(ListChange { 1, 0, 0 });
}

void NumberView::Commit()
{
    if (!modified)
        return;
    modified = false;
    std::string text = pw::foundation::TextOf(*valueText.Get());
    if (longTarget) {
        int32_t value = 0;
        if (ParseLong(text, value))
            *longTarget = value;
    } else if (doubleTarget) {
        double value = 0;
        if (ParseDouble(text, value))
            *doubleTarget = value;
    }
}
