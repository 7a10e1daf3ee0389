#include "ControlFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/clipboard/ClipboardTesting.h"

namespace pw::platform::tests {

namespace {

using Selection = std::pair<DWORD, DWORD>;

class EditTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, font);
    }
    void TearDown() override
    {
        DeleteDC(dc);
        DeleteObject(font);
        ControlFixture::TearDown();
    }

    // The width of text in the test font.
    int Extent(const std::string& text) const
    {
        SIZE size {};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    HWND MakeEdit(DWORD style, RECT rect, const char* text = "")
    {
        HWND edit = MakeControl("EDIT", style, rect, text);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SetFocus(edit);
        testing::RunUntilIdle();
        return edit;
    }

    static void Type(const std::string& text)
    {
        testing::TypeText(text);
        testing::RunUntilIdle();
    }
    static void WithKey(UINT modifier, std::initializer_list<UINT> keys)
    {
        testing::PressKey(modifier);
        for (UINT key : keys)
            testing::TypeKey(key);
        testing::ReleaseKey(modifier);
        testing::RunUntilIdle();
    }

    // The control's lines as EM_GETLINECOUNT, EM_LINEINDEX and EM_LINELENGTH report them.
    static std::vector<std::string> Lines(HWND edit)
    {
        std::string text = TextOf(edit);
        std::vector<std::string> lines;
        auto count = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
        for (LRESULT line = 0; line < count; ++line) {
            auto start = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
            auto length = SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
            lines.push_back(text.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
        }
        EXPECT_EQ(-1, SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(count), 0)) << "past the last line";
        return lines;
    }

    static Selection SelectionOf(HWND edit)
    {
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return { start, end };
    }

    HFONT font { nullptr };
    HDC dc { nullptr };
};

// The hidden control the program measures text with: made like that, it wraps by the fixed
// rules (their cases are the layout's) at widths measured in the font it is given.
TEST_F(EditTest, MeasuringControlWrapsByTheFixedRules)
{
    struct {
        const char* name;
        std::string text;
        std::string widthOf;
        int less;
        std::vector<std::string> lines;
    } const cases[] = {
        { "a word that fits keeps its blank", "abc abc abc", "abc abc", 0, { "abc abc ", "abc" } },
        { "break after the last blank that fits", "abc abc abc", "abc abc", 1, { "abc ", "abc ", "abc" } },
        { "a long word breaks at the width", "abcdefgh", "abcd", 0, { "abcd", "efgh" } },
        { "CR LF and LF break", "abc\nabc\r\n", "abcdefgh", 0, { "abc", "abc", "" } },
    };
    HWND main = CreateWindowExA(0, "STATIC", "Main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = CreateWindowExA(0, "EDIT", c.text.c_str(), WS_CHILD | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE,
            0, 0, Extent(c.widthOf) - c.less, 10000, main, reinterpret_cast<HMENU>(100), nullptr, nullptr);
        ASSERT_NE(nullptr, edit);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        EXPECT_EQ(c.lines, Lines(edit));
        EXPECT_TRUE(DestroyWindow(edit));
    }
    DestroyWindow(main);
}

TEST_F(EditTest, TypingEditsAndSendsEnChangeForEachChange)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 30 });
    Type("hi\b!");
    EXPECT_EQ("h!", TextOf(edit));
    EXPECT_EQ(4u, CountOf(WM_COMMAND, EN_CHANGE));
    EXPECT_EQ(edit, log.back().control);
    // Moves, a Backspace at the start and setting the text are no changes by the user.
    testing::TypeKey(VK_HOME);
    Type("\b");
    SetWindowTextA(edit, "new");
    EXPECT_EQ(4u, CountOf(WM_COMMAND, EN_CHANGE));
    EXPECT_EQ("new", TextOf(edit));
}

TEST_F(EditTest, TypedTextByStyle)
{
    int lineHeight = 0;
    {
        TEXTMETRICA metrics {};
        GetTextMetricsA(dc, &metrics);
        lineHeight = metrics.tmHeight;
    }
    struct {
        const char* name;
        DWORD style;
        const char* typed;
        const char* kept;
    } const cases[] = {
        { "Return breaks with want return", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, "abc\nabc", "abc\r\nabc" },
        { "else Return is the dialog's", ES_MULTILINE | ES_AUTOVSCROLL, "abc\nabc", "abcabc" },
        { "single line takes no Return", ES_AUTOHSCROLL | ES_WANTRETURN, "abc\nabc", "abcabc" },
        { "lines keep to the height", ES_MULTILINE | ES_WANTRETURN, "abc\nabc", "abcabc" },
        { "single line keeps to its width", 0, "abcabcabc", "abcabc" },
        { "single line scrolls with autohscroll", ES_AUTOHSCROLL, "abcabcabc", "abcabcabc" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // One line of "abcabc" fits.
        HWND edit = MakeEdit(c.style, RECT { 10, 10, 10 + Extent("abcabc") + 1, 10 + lineHeight + 2 });
        Type(c.typed);
        EXPECT_EQ(c.kept, TextOf(edit));
        DestroyWindow(edit);
    }
}

TEST_F(EditTest, KeysMoveOverLineBreaksByPixelColumnAndShiftSelects)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, RECT { 10, 10, 210, 110 }, "abcd\r\nabcdefgh\r\nab");
    SendMessageA(edit, EM_SETSEL, 4, 4);
    struct {
        UINT key;
        DWORD caret;
    } const steps[] = { { VK_RIGHT, 6 }, { VK_LEFT, 4 }, { VK_DOWN, 10 }, { VK_DOWN, 18 }, { VK_UP, 8 },
        { VK_END, 14 }, { VK_DOWN, 18 }, { VK_HOME, 16 } };
    for (const auto& step : steps) {
        testing::TypeKey(step.key);
        testing::RunUntilIdle();
        EXPECT_EQ(Selection(step.caret, step.caret), SelectionOf(edit)) << "after key " << step.key;
    }
    Type("\b");
    EXPECT_EQ("abcd\r\nabcdefghab", TextOf(edit)) << "Backspace takes CR LF as one";
    WithKey(VK_SHIFT, { VK_LEFT, VK_LEFT });
    EXPECT_EQ(Selection(12, 14), SelectionOf(edit));
    Type("X");
    EXPECT_EQ("abcd\r\nabcdefXab", TextOf(edit));
}

TEST_F(EditTest, MousePlacesTheCaretDragsAndSelectsWords)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 30 }, "hello world");
    POINT p = OnScreen(edit, POINT { Extent("hello"), 5 });
    testing::Click(p.x, p.y);
    Type(",");
    EXPECT_EQ("hello, world", TextOf(edit));

    POINT from = OnScreen(edit, POINT { Extent("h"), 5 });
    POINT to = OnScreen(edit, POINT { Extent("hell"), 5 });
    testing::Drag(from.x, from.y, to.x, to.y);
    testing::RunUntilIdle();
    EXPECT_EQ(Selection(1, 4), SelectionOf(edit));

    POINT word = OnScreen(edit, POINT { Extent("hello, wo"), 5 });
    testing::DoubleClick(word.x, word.y);
    testing::RunUntilIdle();
    EXPECT_EQ(Selection(7, 12), SelectionOf(edit));
}

TEST_F(EditTest, CutCopyAndPasteGoThroughTheSystemClipboard)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 30 }, "hello world");
    SendMessageA(edit, EM_SETSEL, 6, 11);
    WithKey(VK_CONTROL, { 'C' });
    EXPECT_EQ("world", testing::SystemClipboardText().value_or("none"));
    EXPECT_EQ(0u, CountOf(WM_COMMAND, EN_CHANGE));

    SendMessageA(edit, EM_SETSEL, 0, 6);
    WithKey(VK_CONTROL, { 'X' });
    EXPECT_EQ("hello ", testing::SystemClipboardText().value_or("none"));
    EXPECT_EQ("world", TextOf(edit));
    EXPECT_EQ(1u, CountOf(WM_COMMAND, EN_CHANGE));

    ASSERT_TRUE(testing::PutSystemClipboardText("big old \r\nrest"));
    WithKey(VK_CONTROL, { 'V' });
    EXPECT_EQ("big old world", TextOf(edit)) << "a single line keeps the first line of a paste";

    // While another window holds the clipboard, a cut keeps its text and leaves no error.
    ASSERT_TRUE(OpenClipboard(parent));
    SetLastError(0);
    SendMessageA(edit, EM_SETSEL, 0, 3);
    WithKey(VK_CONTROL, { 'X' });
    EXPECT_EQ("big old world", TextOf(edit));
    EXPECT_EQ(0u, GetLastError());
    CloseClipboard();
}

TEST_F(EditTest, SelectionAndTextMessages)
{
    HWND edit = MakeEdit(ES_MULTILINE, RECT { 10, 10, 210, 110 }, "one\r\ntwo");
    struct {
        const char* name;
        int start;
        int end;
        Selection selection;
    } const cases[] = {
        { "select all clamps its end", 0, 0x7FFF, { 0, 8 } },
        { "reversed", 6, 1, { 1, 6 } },
        { "to the end", 2, -1, { 2, 8 } },
        { "inside CR LF steps back", 4, 4, { 3, 3 } },
        { "-1 only removes the selection", -1, 0, { 3, 3 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
        EXPECT_EQ(c.selection, SelectionOf(edit));
    }
    SendMessageA(edit, EM_SETSEL, 1, 6);
    EXPECT_EQ(MAKELRESULT(1, 6), SendMessageA(edit, EM_GETSEL, 0, 0));
    EXPECT_EQ(3, SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0)) << "unselected on the lines";
    SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("X"));
    EXPECT_EQ("oXwo", TextOf(edit));
    char small[4];
    EXPECT_EQ(3, SendMessageA(edit, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)));
    EXPECT_STREQ("oXw", small);
}

} // namespace

} // namespace pw::platform::tests
