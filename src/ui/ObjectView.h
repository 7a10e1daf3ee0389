#pragma once

#include "foundation/EditableList.h"
#include "foundation/ObjectReference.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "ui/View.h"

#include <cstdint>

// A framed box in its parent's stack of views that stands for one object: it shows a caption and
// the object's name, is greyed out while it refers to no object, takes part in copy, paste and
// clear, and opens a document window on its object at a double click. The object is reached
// through an ObjectReference, so the same view shows an object held directly, one found through
// an owner, or a list made for it. The label is composed once, when the view is made. A reference
// that cannot say whether it takes a change counts as one that takes none.
class ObjectView : public View {
public:
    // In the parent's next stack row, taking focus; the caption may be null, as may the
    // null-terminated class array (the classes a new object may be made of).
    ObjectView(View* parent, const char* caption, const SmartPtr<ObjectReference>& reference,
        const ClassInfo* const* classes);

    // Each makes the reference and the view, and adds the view to the parent: over the owner's
    // object, over the object itself, and over a new editable list of the owner (no caption).
    // MakeForList fails "data != NULL" without an owner.
    static SmartPtr<ObjectView> MakeForOwner(View* parent, const char* caption, Smart* owner);
    static SmartPtr<ObjectView> MakeForObject(View* parent, const char* caption, const SmartPtr<Smart>& object);
    static SmartPtr<ObjectView> MakeForList(View* parent, const char* name, const SmartPtr<Smart>& owner,
        const TypeList& itemTypes, const SmartPtr<Smart>& initialEntry);

    // The label, the frame, a checkerboard over an empty view, and the ring while active.
    void DrawContent(DisplayPort& port, Area& area) override;
    // A double click opens the object in a document window (asking for a class first when there
    // is none and the reference would take one); other clicks are a view's.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    // A one-entry list holding the object as an editable (an empty entry when it is none).
    using View::Copy;
    void Copy(SmartPtr<Smart>& copied) override;
    // The object becomes the pasted editable when the reference takes it.
    void Paste(const SmartPtr<Smart>& object, int32_t undoingCut, int32_t h, int32_t v) override;
    // The reference loses its object when it takes a change.
    void Clear() override;
    // Inverts the ring at every change.
    void ActiveChanged(bool active) override;
    // At least 24 by 24; at most the larger of 120 and the label's width by the larger of 24 and
    // the label's height.
    Rect GetOwnLimits() override;

    const String& GetLabel() const { return label; }
    const SmartPtr<ObjectReference>& GetReference() const { return reference; }

    // The size limits for a short label: (24, 24, 120, 24).
    static const Rect sizeLimits;

private:
    void SetLabel(const char* caption);
    // Accepts(empty), with a reference that cannot answer taken as a refusal.
    bool AcceptsChange();

    String label;
    SmartPtr<ObjectReference> reference;
    TypeList types;
};
