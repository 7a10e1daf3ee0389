#include "ui/ObjectView.h"

#include "foundation/DirectReference.h"
#include "foundation/Editable.h"
#include "foundation/Exception.h"
#include "foundation/ListData.h"
#include "foundation/SimpleReference.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "ui/DocWindow.h"
#include "ui/TypePicker.h"

#include <algorithm>
#include <vector>

constinit const Rect ObjectView::sizeLimits { 24, 24, 120, 24 };

ObjectView::ObjectView(View* parent, const char* caption, const SmartPtr<ObjectReference>& reference,
    const ClassInfo* const* classes)
    : View(parent, true)
    , reference(reference)
    , types(TypePicker::MakeTypeList(classes))
{
    SetLabel(caption);
}

SmartPtr<ObjectView> ObjectView::MakeForOwner(View* parent, const char* caption, Smart* owner)
{
    SmartPtr<ObjectView> view = new ObjectView(parent, caption, new DirectReference(owner), nullptr);
    parent->AddChild(SmartPtr<View>(view.Get()));
    return view;
}

SmartPtr<ObjectView> ObjectView::MakeForObject(View* parent, const char* caption, const SmartPtr<Smart>& object)
{
    SmartPtr<ObjectView> view = new ObjectView(parent, caption, new SimpleReference(object), nullptr);
    parent->AddChild(SmartPtr<View>(view.Get()));
    return view;
}

// The list holds the initial entry, when there is one, and offers the item types for new entries.
SmartPtr<ObjectView> ObjectView::MakeForList(View* parent, const char* name, const SmartPtr<Smart>& owner,
    const TypeList& itemTypes, const SmartPtr<Smart>& initialEntry)
{
    if (!owner.Valid())
        AssertionFailed("data != NULL", PW_HERE);
    std::vector<const ClassInfo*> classes;
    for (uint32_t index = 1; index <= itemTypes.NumItems(); ++index)
        classes.push_back(itemTypes[index]);
    classes.push_back(nullptr);
    ListHandle items(&SmartImplementation::classInfo);
    if (initialEntry.Valid())
        items.Append(initialEntry.Get());
    SmartPtr<Smart> list(new EditableList(items, String(name), owner, classes.data()));
    SmartPtr<ObjectView> view = new ObjectView(parent, nullptr, new SimpleReference(list), nullptr);
    parent->AddChild(SmartPtr<View>(view.Get()));
    return view;
}

void ObjectView::SetLabel(const char* caption)
{
    if (caption) {
        label.AppendChars(caption);
        label.AppendChars(": ");
    }
    if (auto* editable = SmartCast<Editable>(reference->Get()))
        label.Append(editable->GetName());
}

bool ObjectView::AcceptsChange()
{
    try {
        return reference->Accepts(SmartPtr<Smart>());
    } catch (Exception*) {
        CurrentException() = nullptr;
        return false;
    }
}

void ObjectView::DrawContent(DisplayPort& port, Area&)
{
    Rect bounds = GetBounds();
    label.Draw(port, bounds, Color(1));
    port.DrawRectangle(bounds, Color(Color::kNoColor), Color(1), 1);
    if (!reference->Get())
        port.FillRect(bounds);
    if (IsActive())
        port.InvertFrame(bounds, 2);
}

bool ObjectView::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    if (clicks != 2)
        return View::MouseDown(h, v, modifiers, clicks, window);
    if (!reference->Get() && AcceptsChange())
        TypePicker::Pick(types, reference);
    if (SmartCast<Editable>(reference->Get())) {
        SmartPtr<DocWindow> owner(SmartCast<DocWindow>(window.Get()));
        SmartPtr<DocWindow> document = new DocWindow(reference, SmartPtr<String>(), owner, SmartPtr<Scribe>(), true);
        NotifyWindowOpened(SmartPtr<Window>(document.Get()));
    }
    return true;
}

void ObjectView::Copy(SmartPtr<Smart>& copied)
{
    SmartPtr<ListData> list = new ListData(&Editable::classInfo);
    list->Append(SmartCast<Editable>(reference->Get()));
    copied = SmartPtr<Smart>(list.Get());
}

void ObjectView::Paste(const SmartPtr<Smart>& object, int32_t, int32_t, int32_t)
{
    if (!AcceptsChange())
        return;
    SmartPtr<Smart> editable(SmartCast<Editable>(object.Get()));
    if (!editable.Valid() || !reference->Accepts(editable))
        return;
    reference->Set(editable);
    InvalidateView(true);
}

void ObjectView::Clear()
{
    if (!AcceptsChange())
        return;
    reference->Set(SmartPtr<Smart>());
    InvalidateView(true);
}

void ObjectView::ActiveChanged(bool)
{
    InvertFrame();
}

Rect ObjectView::GetOwnLimits()
{
    Point size = label.Measure(0);
    return Rect(sizeLimits.left, sizeLimits.top, std::max(sizeLimits.right, size.h), std::max(sizeLimits.bottom, size.v));
}
