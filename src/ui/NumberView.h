#pragma once

#include "foundation/ListChange.h"
#include "foundation/SmartPtr.h"
#include "ui/TextView.h"
#include "ui/View.h"

#include <cstdint>

class String;

// A number held elsewhere (a 32-bit integer or a double, exactly one of them) shown as text in an
// editable field 64 pixels wide, with a label to its right. The text is made from the number when
// the view is built and each time it becomes active, and every edit marks the view modified. When
// a modified view loses activation the text goes back into the number, if it is one (blanks around
// it allowed; an integer must fit 32 bits), and the window's owners are told; text that is no
// number leaves the number as it was. The model is kept for whoever made the view.
class NumberView : public View, public ListListener {
public:
    static constexpr int32_t kFieldWidth = 64;

    // In the parent's next stack row; the parent adds it (or use a builder).
    NumberView(View* parent, const char* label, const SmartPtr<Smart>& model, int32_t* longTarget,
        double* doubleTarget);
    ~NumberView() override;

    // Make a view for the target and add it to the parent.
    static SmartPtr<NumberView> MakeForLong(View* parent, const char* label, const SmartPtr<Smart>& model,
        int32_t* target);
    static SmartPtr<NumberView> MakeForDouble(View* parent, const char* label, const SmartPtr<Smart>& model,
        double* target);
    // The same as MakeForLong, kept for callers that hold an int.
    static SmartPtr<NumberView> MakeForInteger(View* parent, const char* label, const SmartPtr<Smart>& model,
        int* target);

    // Copy warns "Not implemented."; paste and clear warn and mark the view modified.
    using View::Copy;
    void Copy(SmartPtr<Smart>& copied) override;
    void Paste(const SmartPtr<Smart>& object, int32_t undoingCut, int32_t h, int32_t v) override;
    void Clear() override;
    void ActiveChanged(bool active) override;

    // The value text was edited.
    void ListChanged(const ListChange& change) override;

    bool IsModified() const { return modified; }
    const SmartPtr<String>& GetValueText() const { return valueText; }
    const SmartPtr<TextView>& GetValueField() const { return valueField; }

private:
    // The text from the target, shown in the field; not modified.
    void SetTextFromTarget();
    // The text into the target when it is a number; not modified.
    void Commit();

    SmartPtr<String> label;
    SmartPtr<Smart> model;
    int32_t* longTarget;
    double* doubleTarget;
    bool modified { false };
    SmartPtr<String> valueText;
    SmartPtr<TextView> valueField;
};
