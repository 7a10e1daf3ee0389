#include "ui/TextView.h"

#include "foundation/String.h"
#include "graphics/DisplayPort.h"
#include "graphics/TextStyle.h"
#include "ui/Dialog.h"
#include "ui/StyledText.h"
#include "ui/TextClient.h"
#include "ui/WindowFrame.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace uitest;
namespace driver = pw::platform::testing;

// Counts the changes a text view tells the controls linked to it.
class Listener : public TextClient {
public:
    void RevealRange(const int32_t*) override { }
    void TargetChanged(void*) override { ++changes; }
    int changes { 0 };
};

std::string TextOf(const String& text)
{
    char chars[256];
    text.GetCString(chars, sizeof chars);
    return chars;
}

std::string ControlText(HWND control)
{
    char chars[256] {};
    GetWindowTextA(control, chars, sizeof chars);
    return chars;
}

class TextViews : public controls::WithApplication {
protected:
    SmartPtr<TextView> Add(View* parent, const Rect& bounds, const SmartPtr<String>& text, bool severalLines = false,
        bool isStatic = false)
    {
        SmartPtr<TextView> view = new TextView(parent, bounds.left, bounds.top, bounds.right, bounds.bottom, text,
            View::kSizeTopLeft, true, severalLines, isStatic, false);
        parent->AddChild(SmartPtr<View>(view.Get()));
        return view;
    }
};

} // namespace

TEST_F(TextViews, TypedKeysGoIntoTheString)
{
    SmartPtr<String> name = new String("Pro");
    SmartPtr<TextView> view = Add(window.Get(), Rect(10, 10, 200, 30), name);
    Listener listener;
    view->ToggleLink(&listener);
    ASSERT_TRUE(view->HasEditControl());
    EXPECT_EQ(ControlText(view->GetEditWindow()), "Pro");
    EXPECT_EQ(GetFocus(), view->GetEditWindow());

    SendMessageA(view->GetEditWindow(), EM_SETSEL, 3, 3);
    driver::TypeText("ject\b\bxy");
    driver::RunUntilIdle();
    EXPECT_EQ(TextOf(*name.Get()), "Projexy");
    EXPECT_EQ(listener.changes, 8);

    // A change made to the string elsewhere shows in the control.
    name->SetChars("Page");
    EXPECT_EQ(ControlText(view->GetEditWindow()), "Page");
    view->SetText(String("Site"));
    EXPECT_EQ(ControlText(view->GetEditWindow()), "Site");
    EXPECT_EQ(listener.changes, 10);
    view->ToggleLink(&listener);
}

TEST_F(TextViews, ReturnBreaksOnlyTextOfSeveralLines)
{
    struct Case {
        bool severalLines;
        const char* expected;
    } cases[] = {
        { true, "ab\r\ncd" },
        { false, "abcd" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.severalLines);
        SmartPtr<String> text = new String;
        SmartPtr<TextView> view = Add(window.Get(), Rect(10, 40, 200, 100), text, c.severalLines);
        window->SetFocusChild(SmartPtr<View>(view.Get()));
        driver::TypeText("ab\ncd");
        driver::RunUntilIdle();
        EXPECT_EQ(TextOf(*text.Get()), c.expected);
        window->RemoveChild(SmartPtr<View>(view.Get()));
    }
}

TEST_F(TextViews, TypedLinesMeasureAsTheEditControlLaysThemOut)
{
    SmartPtr<String> text = new String;
    SmartPtr<TextView> view = Add(window.Get(), Rect(10, 40, 300, 200), text, true);
    driver::TypeText("Hello\nto all of you\nkids");
    driver::RunUntilIdle();
    ASSERT_EQ(TextOf(*text.Get()), "Hello\r\nto all of you\r\nkids");
    TextStyle& style = *view->GetStyle().Get();
    Point whole = DisplayPort::MeasureText("Hello\r\nto all of you\r\nkids", 25, style, 0);
    Point widest = DisplayPort::MeasureText("to all of you", 13, style, 0);
    Point line = DisplayPort::MeasureText("kids", 4, style, 0);
    EXPECT_EQ(whole.h, widest.h);
    EXPECT_EQ(whole.v, 3 * line.v);
    EXPECT_GT(line.v, 0);
    // Wrapped at a width narrower than the widest line, the text takes more lines.
    Point wrapped = DisplayPort::MeasureText("Hello\r\nto all of you\r\nkids", 25, style, widest.h / 2);
    EXPECT_EQ(wrapped.h, widest.h / 2);
    EXPECT_GT(wrapped.v, whole.v);
    EXPECT_EQ(text->Measure(0), DisplayPort::MeasureText("Hello\r\nto all of you\r\nkids", 25, style, 0));
}

TEST_F(TextViews, APressOnTheControlMovesTheFocusThroughTheViews)
{
    SmartPtr<String> first = new String("one");
    SmartPtr<String> second = new String("two");
    SmartPtr<TextView> one = Add(window.Get(), Rect(10, 10, 200, 30), first);
    SmartPtr<TextView> two = Add(window.Get(), Rect(10, 40, 200, 60), second);
    window->SetFocusChild(SmartPtr<View>(one.Get()));
    EXPECT_EQ(GetFocus(), one->GetEditWindow());
    ClickOn(two->GetEditWindow(), 40, 5);
    EXPECT_TRUE(two->IsFocused());
    EXPECT_FALSE(one->IsFocused());
    EXPECT_EQ(GetFocus(), two->GetEditWindow());
    driver::TypeText("!");
    driver::RunUntilIdle();
    EXPECT_EQ(TextOf(*second.Get()).back(), '!');
    EXPECT_EQ(TextOf(*first.Get()), "one");
}

// In a dialog, Tab moves between the text fields (selecting the text) and Return ends the dialog,
// though the keys are typed into an edit control.
TEST_F(TextViews, DialogKeysReachTheDialogThroughTheControl)
{
    struct Case {
        const char* name;
        const char* keys;
        bool closed, cancelled;
    } cases[] = {
        { "tab", "\t", false, false },
        { "return", "\n", true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Dialog> dialog = new Dialog(2);
        SmartPtr<String> first = new String("first");
        SmartPtr<String> second = new String("second");
        SmartPtr<TextView> one = Add(dialog.Get(), Rect(10, 10, 200, 30), first);
        SmartPtr<TextView> two = Add(dialog.Get(), Rect(10, 40, 200, 60), second);
        app->AddWindow(SmartPtr<Window>(dialog.Get()), true);
        dialog->SetFocusChild(SmartPtr<View>(one.Get()));
        driver::RunUntilIdle();
        driver::TypeText(c.keys);
        driver::RunUntilIdle();
        EXPECT_EQ(dialog->IsClosed(), c.closed);
        EXPECT_EQ(dialog->WasCancelled(), c.cancelled);
        if (!c.closed) {
            EXPECT_TRUE(two->IsFocused());
            DWORD start = 0, end = 0;
            SendMessageA(two->GetEditWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(end - start, 6u);
            dialog->Close();
        }
        dialog->RemoveAllChildren();
    }
}
