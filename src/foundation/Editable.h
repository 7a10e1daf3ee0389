#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Smart.h"
#include "foundation/SmartPtr.h"

class String;
class View;

// The interface of every object the user can open and edit in a view of its own: it makes that
// view inside a container and tells its display name. Strings, editable lists and shows are
// editables. No fields; copying an editable copies nothing.
class Editable : public virtual Smart {
    PW_CLASS_INFO(Editable)

public:
    // Makes the view that edits this object inside `container` and returns it; the container owns
    // the view (null when no view is made).
    virtual View* MakeView(View& container) = 0;
    // The display name, a string the object holds.
    virtual String& GetName() = 0;
    // A new string: the parent's name, one blank and this object's name when `parent` holds an
    // editable; this object's name alone otherwise.
    virtual SmartPtr<String> GetFullName(const SmartPtr<Smart>& parent);
    virtual SmartPtr<String> GetFullName();

protected:
    Editable() = default;
    Editable(const Editable&) { }
    Editable& operator=(const Editable&) { return *this; }
};
