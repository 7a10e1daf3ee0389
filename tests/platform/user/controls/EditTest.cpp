#include "ControlFixture.h"

#include "../../gdi/GdiTestSupport.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/clipboard/ClipboardTesting.h"

#include <functional>

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

// A keystroke script: text typed, or a key with a modifier held (0: none).
struct Stroke {
    const char* text;
    UINT key;
    UINT modifier;
};

Stroke Keys(const char* text)
{
    return { text, 0, 0 };
}
Stroke Key(UINT key, UINT modifier = 0)
{
    return { nullptr, key, modifier };
}

void Play(const std::vector<Stroke>& strokes)
{
    for (const Stroke& stroke : strokes) {
        if (stroke.text) {
            testing::TypeText(stroke.text);
            continue;
        }
        if (stroke.modifier)
            testing::PressKey(stroke.modifier);
        testing::TypeKey(stroke.key);
        if (stroke.modifier)
            testing::ReleaseKey(stroke.modifier);
    }
    testing::RunUntilIdle();
}

TEST_F(EditTest, KeystrokeScriptsEditUndoAndRedoAsPeopleExpect)
{
    struct {
        const char* name;
        const char* start;
        std::vector<Stroke> strokes;
        const char* text;
        Selection selection;
    } const cases[] = {
        { "Backspace takes one character", "hello", { Key(VK_END), Keys("\b") }, "hell", { 4, 4 } },
        { "Delete takes the one after", "hello", { Key(VK_HOME), Key(VK_RIGHT), Key(VK_DELETE) }, "hllo", { 1, 1 } },
        { "arrows and Home place typing", "held", { Key(VK_LEFT), Keys("l"), Key(VK_HOME), Key(VK_RIGHT), Keys("!") },
            "h!elld", { 2, 2 } },
        { "Shift extends, typing replaces", "hello", { Key(VK_HOME), Key(VK_RIGHT, VK_SHIFT), Key(VK_RIGHT, VK_SHIFT),
            Keys("J") }, "Jllo", { 1, 1 } },
        { "Shift+End selects to the end", "hello", { Key(VK_HOME), Key(VK_RIGHT), Key(VK_END, VK_SHIFT) }, "hello",
            { 1, 5 } },
        { "Backspace takes only the selection", "hello", { Key(VK_LEFT, VK_SHIFT), Key(VK_LEFT, VK_SHIFT), Keys("\b") },
            "hel", { 3, 3 } },
        { "undo takes back a run of typing", "", { Keys("abc"), Key('Z', VK_CONTROL) }, "", { 0, 0 } },
        { "undo twice redoes", "", { Keys("abc"), Key('Z', VK_CONTROL), Key('Z', VK_CONTROL) }, "abc", { 3, 3 } },
        { "a Backspace that changes nothing is no step", "", { Keys("abc"), Key(VK_HOME), Keys("\b"),
            Key('Z', VK_CONTROL) }, "", { 0, 0 } },
        { "Backspace on an empty field keeps the deleting step", "", { Keys("ab\b\b\b"), Key('Z', VK_CONTROL) }, "ab",
            { 2, 2 } },
        { "Delete at the end keeps the typing step", "x", { Key(VK_END), Keys("yz"), Key(VK_DELETE),
            Key('Z', VK_CONTROL) }, "x", { 1, 1 } },
        { "moving starts a new step", "", { Keys("ab"), Key(VK_HOME), Keys("c"), Key('Z', VK_CONTROL) }, "ab",
            { 0, 0 } },
        { "undo of a typed replacement brings the selection back", "hello", { Key(VK_HOME),
            Key(VK_END, VK_SHIFT), Keys("bye"), Key('Z', VK_CONTROL) }, "hello", { 0, 5 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit(WS_BORDER | ES_AUTOHSCROLL, RECT { 10, 10, 210, 32 }, c.start);
        SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-2), -1);
        Play(c.strokes);
        EXPECT_EQ(c.text, TextOf(edit));
        EXPECT_EQ(c.selection, SelectionOf(edit));
        DestroyWindow(edit);
    }
}

// Undo then redo of every kind of change gives back exactly the texts before and after it.
TEST_F(EditTest, UndoAndRedoRoundTripCutPasteClearAndTyping)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, RECT { 10, 10, 210, 110 });
    Type("one two\nthree");
    SendMessageA(edit, EM_SETSEL, 4, 7);
    struct {
        const char* name;
        std::function<void()> change;
        const char* after;
    } const steps[] = {
        { "typing", [] { Type("more"); }, "one more\r\nthree" },
        { "cut", [&] { SendMessageA(edit, EM_SETSEL, 0, 4), SendMessageA(edit, WM_CUT, 0, 0); }, "more\r\nthree" },
        { "paste",
            [&] {
                ASSERT_TRUE(testing::PutSystemClipboardText("TWO"));
                SendMessageA(edit, EM_SETSEL, 0, 0), SendMessageA(edit, WM_PASTE, 0, 0);
            },
            "TWOmore\r\nthree" },
        { "clear", [&] { SendMessageA(edit, EM_SETSEL, 3, 13), SendMessageA(edit, WM_CLEAR, 0, 0); }, "TWOe" },
        { "undoable replacement", [&] { SendMessageA(edit, EM_SETSEL, 3, 3), SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("!")); },
            "TWO!e" },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        std::string before = TextOf(edit);
        step.change();
        EXPECT_EQ(step.after, TextOf(edit));
        EXPECT_TRUE(SendMessageA(edit, EM_CANUNDO, 0, 0));
        EXPECT_TRUE(SendMessageA(edit, EM_UNDO, 0, 0));
        EXPECT_EQ(before, TextOf(edit));
        EXPECT_TRUE(SendMessageA(edit, WM_UNDO, 0, 0));
        EXPECT_EQ(step.after, TextOf(edit));
        // Changes that change nothing leave the step alone.
        SendMessageA(edit, EM_SETSEL, 0, 0);
        SendMessageA(edit, WM_CLEAR, 0, 0);
        Type("\b");
        SendMessageA(edit, EM_UNDO, 0, 0);
        EXPECT_EQ(before, TextOf(edit));
        SendMessageA(edit, EM_UNDO, 0, 0);
        SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-2), -1);
    }
    size_t changes = CountOf(WM_COMMAND, EN_CHANGE);
    SetWindowTextA(edit, "fresh");
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0)) << "setting the text forgets the undo";
    EXPECT_FALSE(SendMessageA(edit, EM_UNDO, 0, 0));
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("x"));
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0)) << "a replacement without undo";
    EXPECT_EQ(changes + 1, CountOf(WM_COMMAND, EN_CHANGE));
}

// What the screen shows of an edit control, and what text in its font would show.
class EditScreenTest : public EditTest {
protected:
    // '#' for each pixel of the text colour in a band of the control's client area.
    static gditest::Grid InkOnScreen(HWND edit, int top, int width, int height)
    {
        Frame shown = testing::ReadClientArea(edit);
        gditest::Grid grid;
        for (int y = top; y < top + height; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x)
                row += x < shown.width && y < shown.height && shown.At(x, y) == 0 ? '#' : '.';
            grid.push_back(row);
        }
        return grid;
    }
    // The same for a text drawn in the test font at the band's top-left corner.
    gditest::Grid InkOfText(const std::string& text, int width, int height) const
    {
        gditest::DibCanvas canvas(width, height);
        gditest::Paint(canvas.dc, RECT { 0, 0, width, height }, 255);
        SelectObject(canvas.dc, font);
        SetBkMode(canvas.dc, TRANSPARENT);
        TextOutA(canvas.dc, 0, 0, text.data(), static_cast<int>(text.size()));
        gditest::Grid grid = gditest::GridOf(canvas.dc, width, height);
        for (auto& row : grid)
            for (char& pixel : row)
                pixel = pixel == '#' ? '#' : '.';
        return grid;
    }
    int LineHeight() const
    {
        TEXTMETRICA metrics {};
        GetTextMetricsA(dc, &metrics);
        return metrics.tmHeight;
    }
};

// Long texts typed or pasted are kept whole, wrap, and scroll so that the last line shows.
TEST_F(EditScreenTest, LongTextsAreKeptWrappedAndScrolledToTheirLastLine)
{
    auto words = [](size_t length) {
        std::string text;
        for (int n = 0; text.size() < length; ++n)
            text += "word" + std::to_string(n) + ' ';
        text.resize(length);
        text.back() = 'z';
        return text;
    };
    struct {
        const char* name;
        size_t length;
        bool paste;
    } const cases[] = {
        { "300 typed", 300, false },
        { "300 pasted", 300, true },
        { "2,000 typed", 2000, false },
        { "2,000 pasted", 2000, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = words(c.length);
        HWND edit = MakeEdit(WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, RECT { 10, 10, 170, 90 });
        if (c.paste) {
            ASSERT_TRUE(testing::PutSystemClipboardText(text));
            WithKey(VK_CONTROL, { 'V' });
        } else {
            Type(text);
        }
        char buffer[2100] = {};
        ASSERT_EQ(static_cast<int>(c.length), GetWindowTextA(edit, buffer, sizeof buffer));
        EXPECT_EQ(text, buffer);
        std::vector<std::string> lines = Lines(edit);
        ASSERT_GT(lines.size(), 5u);
        RECT client {};
        GetClientRect(edit, &client);
        int shownLines = client.bottom / LineHeight();
        EXPECT_EQ(static_cast<LRESULT>(lines.size()) - shownLines, SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
        // The last line is read back from the screen at the bottom line of the control.
        int top = (shownLines - 1) * LineHeight();
        int width = Extent(lines.back());
        EXPECT_TRUE(gditest::SameGrid(InkOfText(lines.back(), width, LineHeight()),
            InkOnScreen(edit, top, width, LineHeight())));
        DestroyWindow(edit);
    }
}

// A word wider than the field breaks at the field's edge: every character is kept and shown, and
// nothing is drawn over the frame around the field.
TEST_F(EditScreenTest, ALongWordBreaksAtTheEdgeInsideTheFrame)
{
    std::string word(40, 'W');
    HWND edit = MakeEdit(WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, RECT { 20, 20, 20 + Extent("WWWWW") + 2, 200 });
    Type(word);
    EXPECT_EQ(word, TextOf(edit));
    std::vector<std::string> lines = Lines(edit);
    ASSERT_EQ(8u, lines.size());
    for (const std::string& line : lines)
        EXPECT_EQ("WWWWW", line);
    // Without the focus, no caret shows at the end of the last piece.
    SetFocus(parent);
    testing::RunUntilIdle();
    Frame screen = testing::ReadDesktop();
    RECT frame {};
    GetWindowRect(edit, &frame);
    // The frame stays black all round, and the parent's face beyond it stays untouched.
    for (int x = frame.left; x < frame.right; ++x) {
        EXPECT_EQ(0, screen.At(x, frame.top)) << x;
        EXPECT_EQ(0, screen.At(x, frame.bottom - 1)) << x;
    }
    for (int y = frame.top; y < frame.bottom; ++y) {
        EXPECT_EQ(0, screen.At(frame.left, y)) << y;
        EXPECT_EQ(0, screen.At(frame.right - 1, y)) << y;
        EXPECT_NE(0, screen.At(frame.right, y)) << y;
    }
    // Each shown line is the word's piece, at the left of the field.
    for (int line = 0; line < 8; ++line) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(gditest::SameGrid(InkOfText("WWWWW", Extent("WWWWW"), LineHeight()),
            InkOnScreen(edit, line * LineHeight(), Extent("WWWWW"), LineHeight())));
    }
}

// The caret is a steady line of the text colour where typing goes; the control needs no timer, so
// time can pass without anything to do.
TEST_F(EditScreenTest, TheCaretShowsSteadilyWhereTypingGoes)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 32 }, "hello");
    auto caretColumn = [&](int x) {
        return InkOnScreen(edit, 0, x + 1, LineHeight()) == gditest::Grid(static_cast<size_t>(LineHeight()),
            std::string(static_cast<size_t>(x), '.') + '#');
    };
    SendMessageA(edit, EM_SETSEL, 0, 0);
    testing::RunUntilIdle();
    EXPECT_TRUE(caretColumn(0));
    POINT p = OnScreen(edit, POINT { Extent("hel") + 1, 5 });
    ClickAt(p);
    EXPECT_EQ(Selection(3, 3), SelectionOf(edit));
    Frame before = testing::ReadClientArea(edit);
    EXPECT_EQ(0u, testing::RunFor(5000)) << "nothing blinks";
    EXPECT_EQ(before.pixels, testing::ReadClientArea(edit).pixels);
    for (int y = 0; y < LineHeight(); ++y)
        EXPECT_EQ(0, before.At(Extent("hel"), y)) << y;
    SetFocus(parent);
    testing::RunUntilIdle();
    EXPECT_NE(before.pixels, testing::ReadClientArea(edit).pixels) << "no caret without the focus";
}

// A masked control shows its mask for every character, keeps and reports its own text, places the
// caret by the mask's widths, and never lets its text out through the clipboard.
TEST_F(EditScreenTest, AMaskedControlShowsOnlyItsMaskAndKeepsItsTextInside)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 32 });
    SendMessageA(edit, EM_SETPASSWORDCHAR, '*', 0);
    EXPECT_EQ('*', SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0));
    Type("Wil1");
    EXPECT_EQ("Wil1", TextOf(edit));
    SetFocus(parent);
    testing::RunUntilIdle();
    int width = Extent("****") + 4;
    EXPECT_EQ(InkOfText("****", width, LineHeight()), InkOnScreen(edit, 0, width, LineHeight()));

    SetFocus(edit);
    ClickAt(OnScreen(edit, POINT { Extent("**") + 1, 5 }));
    EXPECT_EQ(Selection(2, 2), SelectionOf(edit)) << "the caret goes by the mask's widths";

    ASSERT_TRUE(testing::PutSystemClipboardText("kept"));
    SendMessageA(edit, EM_SETSEL, 0, 4);
    WithKey(VK_CONTROL, { 'C' });
    WithKey(VK_CONTROL, { 'X' });
    SendMessageA(edit, WM_COPY, 0, 0);
    EXPECT_EQ("kept", testing::SystemClipboardText().value_or("none"));
    EXPECT_EQ("Wil1", TextOf(edit)) << "a cut that cannot copy keeps the text";

    // A multi-line control takes no mask; 0 takes the mask away.
    HWND several = MakeEdit(ES_MULTILINE, RECT { 10, 40, 210, 80 }, "abc");
    SendMessageA(several, EM_SETPASSWORDCHAR, '*', 0);
    EXPECT_EQ(0, SendMessageA(several, EM_GETPASSWORDCHAR, 0, 0));
    SendMessageA(edit, EM_SETPASSWORDCHAR, 0, 0);
    SetFocus(parent);
    testing::RunUntilIdle();
    width = Extent("Wil1") + 4;
    EXPECT_EQ(InkOfText("Wil1", width, LineHeight()), InkOnScreen(edit, 0, width, LineHeight()));
}

} // namespace

} // namespace pw::platform::tests
