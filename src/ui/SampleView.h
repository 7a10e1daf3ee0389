#pragma once

#include "foundation/String.h"
#include "ui/View.h"

namespace pw::ui {

// The view of the framework's own sample application: a framed page showing a text, wrapped
// inside the frame, that the keyboard extends (Backspace takes back one character) and the
// clipboard commands cut, copy, paste and clear as a whole.
class SampleView : public View {
    PW_CLASS_INFO(SampleView)

public:
    // Fills the window's surface and follows its edges.
    SampleView(View* parent, const char* text);

    void DrawContent(DisplayPort& port, Area& area) override;
    // Printable characters join the text and Backspace removes the last one; other keys are left
    // to the window and the application.
    bool KeyDown(uint8_t key, int32_t value) override;
    void Copy(SmartPtr<Smart>& copied) override;
    void Paste(const SmartPtr<Smart>& object, int32_t undoingCut, int32_t h, int32_t v) override;
    void Clear() override;
    // Cut, copy and clear need a text; paste takes any text.
    bool CanClip(int32_t mode) override;

    const String& GetText() const { return text; }

private:
    String text;
};

} // namespace pw::ui
