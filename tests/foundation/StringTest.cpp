#include "foundation/ArchiveScope.h"
#include "foundation/Memory.h"
#include "foundation/Rect.h"
#include "foundation/String.h"

#include "Failure.h"
#include "StoredBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Stand-ins for the upper floors' classes, which this floor only passes along.
class View { };
class DisplayPort { };
class Color { };

namespace {

std::string Text(const String& text)
{
    uint32_t length;
    String::CharIterator chars(text, length);
    return length == 0 ? std::string() : std::string(chars.Chars(), length);
}

// Records what it is told, tells a shared log who was told, and may leave while told.
class Watcher : public ListListener {
public:
    explicit Watcher(std::vector<char>* order = nullptr, char name = 0)
        : order(order)
        , name(name)
    {
    }
    void ListChanged(const ListChange& change) override
    {
        changes.push_back(change);
        if (order)
            order->push_back(name);
        if (leaveFrom)
            leaveFrom->ToggleWatcher(this);
    }

    std::vector<ListChange> changes;
    std::vector<char>* order;
    char name;
    String* leaveFrom { nullptr };
};

// A string with a watcher registered for the life of the test.
struct Watched {
    explicit Watched(const char* text)
        : text(text)
    {
        this->text.ToggleWatcher(&watcher);
    }
    ~Watched() { text.ToggleWatcher(&watcher); }

    String text;
    Watcher watcher;
};

TEST(String, EditsAnnounceExactChanges)
{
    struct Case {
        const char* name;
        const char* start;
        void (*edit)(String&);
        const char* result;
        std::vector<ListChange> announced;
    };
    const std::vector<Case> cases = {
        { "insert in front", "abc", [](String& s) { s.InsertChars("XY", 0, 2); }, "XYabc", { { 1, 0, 2 } } },
        { "insert at the end", "abc", [](String& s) { s.InsertChars("XY", 3, 2); }, "abcXY", { { 4, 0, 2 } } },
        { "insert nothing", "abc", [](String& s) { s.InsertChars("XY", 1, 0); }, "abc", {} },
        { "append chars", "ab", [](String& s) { s.AppendChars("cd"); }, "abcd", { { 3, 0, 2 } } },
        { "append nothing", "ab", [](String& s) { s.AppendChars(nullptr); s.AppendChars(""); }, "ab", {} },
        { "each append told once", "", [](String& s) { for (int i = 0; i < 3; ++i) s.AppendChars("xy"); }, "xyxyxy",
            { { 1, 0, 2 }, { 3, 0, 2 }, { 5, 0, 2 } } },
        { "append own characters", "abc", [](String& s) {
             uint32_t n;
             const char* own = String::CharIterator(s, n).Chars();
             s.InsertChars(own + 1, n, 2);
         },
            "abcbc", { { 4, 0, 2 } } },
        { "append own characters while the block grows", "0123456789abcdef0123456789ABCDEF", [](String& s) {
             uint32_t n;
             const char* own = String::CharIterator(s, n).Chars();
             s.InsertChars(own, n, n);
         },
            "0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789ABCDEF", { { 33, 0, 32 } } },
        { "insert string", "ad", [](String& s) { s.Insert(String("bc"), 1); }, "abcd", { { 2, 0, 2 } } },
        { "set chars", "abc", [](String& s) { s.SetChars("wxyz"); }, "wxyz", { { 1, 0, 4 } } },
        { "set empty chars", "abc", [](String& s) { s.SetChars(""); }, "", {} },
        { "set counted", "abc", [](String& s) {
             const unsigned char counted[] = { 2, 'h', 'i', 'x' };
             s.SetCountedText(counted);
         },
            "hi", { { 1, 0, 2 } } },
        { "clear", "abc", [](String& s) { s.Clear(); }, "", { { 1, 3, -3 } } },
        { "clear empty", "", [](String& s) { s.Clear(); }, "", { { 1, 0, 0 } } },
        { "assign shorter", "abcde", [](String& s) { s = String("xyz"); }, "xyz", { { 1, 5, -2 } } },
        { "assign itself", "abc", [](String& s) { s.Assign(s); }, "abc", {} },
        { "set long", "abc", [](String& s) { s.SetLong(-2147483647 - 1); }, "-2147483648", {} },
        { "set double", "abc", [](String& s) { s.SetDouble(0.5); }, "0.5", {} },
        { "replace shrinking", "aaaa", [](String& s) { s.ReplaceAll(String("aa"), String("a")); }, "aa", { { 1, 4, -2 } } },
        { "replace growing", "aXa", [](String& s) { s.ReplaceAll(String("a"), String("aa")); }, "aaXaa", { { 1, 3, 2 } } },
        { "replace middle", "xxabyyabzz", [](String& s) { s.ReplaceAll(String("ab"), String("Q")); }, "xxQyyQzz", { { 3, 6, -2 } } },
        { "replace same length", "xaby", [](String& s) { s.ReplaceAll(String("ab"), String("cd")); }, "xcdy", { { 2, 2, 0 } } },
        { "replace none", "abc", [](String& s) { s.ReplaceAll(String("z"), String("y")); }, "abc", {} },
        { "replace empty pattern", "abc", [](String& s) { s.ReplaceAll(String(), String("y")); }, "abc", {} },
        { "replace by nothing", "abab", [](String& s) { s.ReplaceAll(String("b"), String()); }, "aa", { { 2, 3, -2 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Watched watched(c.start);
        c.edit(watched.text);
        EXPECT_EQ(Text(watched.text), c.result);
        EXPECT_EQ(watched.watcher.changes, c.announced);
    }
}

TEST(String, ExtractWordTakesTheFirstWordAndItsDelimiters)
{
    struct Case {
        const char* text;
        const char* word;
        const char* rest;
        std::vector<ListChange> announced;
    };
    const std::vector<Case> cases = {
        { "  Dec  5 1996", "Dec", "5 1996", { { 1, 13, -7 } } },
        { "word", "word", "", { { 1, 4, -4 } } },
        { "   ", "", "", { { 1, 3, -3 } } },
        { "", "", "", {} },
        { "a b", "a", "b", { { 1, 3, -2 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Watched watched(c.text);
        String word = watched.text.ExtractWord(String(" "));
        EXPECT_EQ(Text(word), c.word);
        EXPECT_EQ(Text(watched.text), c.rest);
        EXPECT_EQ(watched.watcher.changes, c.announced);
    }
}

// A watcher that leaves while it is told must neither be called again nor make others missed.
TEST(String, WatchersAreToldNewestFirstAndMayLeaveWhileTold)
{
    std::vector<char> order;
    Watcher a(&order, 'A'), b(&order, 'B'), leaver(&order, 'L');
    String text("x");
    for (Watcher* watcher : { &a, &b, &leaver })
        text.ToggleWatcher(watcher);
    leaver.leaveFrom = &text;
    text.AppendChars("y");
    text.ToggleWatcher(&b);
    text.AppendChars("z");
    EXPECT_EQ(order, (std::vector<char> { 'L', 'B', 'A', 'A' }));
    text.ToggleWatcher(&a);
}

TEST(String, FindInBothDirectionsAtTheBoundaries)
{
    struct Case {
        const char* text;
        const char* pattern;
        uint32_t from;
        int direction;
        uint32_t found;
    };
    const std::vector<Case> cases = {
        { "abcabc", "b", 1, 0, 2 }, { "abcabc", "b", 3, 0, 5 }, { "abcabc", "b", 6, 1, 5 }, { "abcabc", "b", 4, 1, 2 },
        { "abcabc", "bc", 3, 1, 2 }, { "abcabc", "bc", 2, 1, 0 }, { "abcabc", "abc", 4, 0, 4 }, { "abcabc", "abc", 5, 0, 0 },
        { "abcabc", "abcabc", 1, 0, 1 }, { "abcabc", "abcabc", 6, 1, 1 }, { "abcabc", "abcabcx", 1, 0, 0 },
        { "abcabc", "", 1, 0, 0 }, { "abc", "B", 1, 0, 0 }, { "abcabc", "c", 99, 0, 0 }, { "aaa", "aa", 3, 1, 2 },
        // Positions outside the string are brought inside it, never read.
        { "abcabc", "a", 0, 0, 1 }, { "abcabc", "c", 99, 1, 6 }, { "", "a", 1, 1, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.pattern + " from " + std::to_string(c.from));
        EXPECT_EQ(String(c.text).Find(String(c.pattern), c.from, c.direction), c.found);
    }
    String nuls, pattern;
    nuls.InsertChars("a\0b\0c", 0, 5);
    pattern.InsertChars("\0c", 0, 2);
    EXPECT_EQ(nuls.Find(pattern, 1, String::kForward), 4u);
    // An unknown direction is refused only when there is something to search.
    EXPECT_EQ(String("abc").Find(String(), 1, 7), 0u);
    EXPECT_EQ(String("ab").Find(String("abc"), 1, 7), 0u);
    EXPECT_EQ(Failure([] { String("abc").Find(String("x"), 1, 7); }), "Unknown direction in String::Find");
}

TEST(String, BoundsAreCheckedInSixtyFourBitsAndCopiesOutAreBounded)
{
    String source("abcdef");
    EXPECT_EQ(Text(String(source, 2, 3)), "bcd");
    EXPECT_EQ(Text(String(source, 7, 0)), "");
    EXPECT_EQ(Failure([&] { String(source, 0, 1); }), "from > 0");
    EXPECT_EQ(Failure([&] { String(source, 5, 3); }), "from+num-1 <= oldLength");
    // 2 + 0xFFFFFFFF - 1 wraps to 0 in 32 bits; it must still be refused.
    EXPECT_EQ(Failure([&] { String(source, 2, 0xFFFFFFFF); }), "from+num-1 <= oldLength");

    char buffer[8] = "zzzzzzz";
    source.GetCString(buffer, 4);
    EXPECT_STREQ(buffer, "abc");
    buffer[0] = 'q';
    source.GetCString(buffer, 0);
    EXPECT_EQ(buffer[0], 'q');
    unsigned char counted[257] = {};
    counted[256] = 0xEE;
    String(std::string(300, 'x').c_str()).GetCountedText(counted);
    EXPECT_EQ(counted[0], 255);
    EXPECT_EQ(counted[256], 0xEE);
}

TEST(String, InsertingIntoItselfFailsBeforeAnyChange)
{
    Watched watched("abc");
    EXPECT_EQ(Failure([&] { watched.text.Append(watched.text); }), "lockCount == 0");
    EXPECT_EQ(Failure([&] { watched.text.ReplaceAll(String("b"), watched.text); }), "lockCount == 0");
    EXPECT_EQ(Failure([&] { watched.text.InsertChars("x", 4, 1); }), "Range error");
    {
        uint32_t length;
        String::CharIterator held(watched.text, length);
        EXPECT_EQ(Failure([&] { watched.text.AppendChars("d"); }), "lockCount == 0");
    }
    EXPECT_EQ(Text(watched.text), "abc");
    EXPECT_TRUE(watched.watcher.changes.empty());
}

// Characters taken from the string's own block (no longer locked) are copied aside before the
// block is emptied.
TEST(String, OwnCharactersCanBeSetBack)
{
    String text;
    text.InsertChars("abcdef\0", 0, 7);
    uint32_t length;
    const char* inside = String::CharIterator(text, length).Chars();
    text.SetChars(inside + 2);
    EXPECT_EQ(Text(text), "cdef");
}

TEST(String, ClipboardDataIsTheTextAndANul)
{
    String text("hi");
    ASSERT_EQ(text.GetTypes().NumItems(), 1u);
    EXPECT_EQ(text.GetTypes()[1], 0x54455854u);
    Memory& data = text.GetData(0x54455854u);
    EXPECT_EQ(std::string(static_cast<const char*>(data.Ptr()), data.Size()), std::string("hi\0", 3));
    EXPECT_EQ(Failure([&] { text.GetData(0x50494354u); }), "type == osType");
}

TEST(String, StoredAsItsScopeAroundTheArrayScope)
{
    String text;
    text.InsertChars("a\0c", 0, 3);
    std::vector<uint8_t> bytes = Store({ &text }, { &String::version });
    const std::vector<uint8_t> expected = {
        1, 0, 0, 0, // class 1
        0, 0, 1, 0, 15, 0, 0, 0, // String scope 1.0, 15 bytes
        0, 0, 1, 0, 7, 0, 0, 0, // array scope 1.0, 7 bytes
        3, 0, 0, 0, 'a', 0, 'c', // count and characters
    };
    EXPECT_EQ(bytes, expected);
    SmartPtr<String> back = LoadOne<String>(bytes, { &String::version });
    ASSERT_TRUE(back.Valid());
    EXPECT_TRUE(*back.Get() == text);
}

TEST(String, FullNameJoinsParentAndOwnName)
{
    SmartPtr<String> page(new String("Page"));
    EXPECT_EQ(Text(*page->GetFullName().Get()), "Page");
    EXPECT_EQ(Text(*page->GetFullName(SmartPtr<Smart>(new String("Site"))).Get()), "Site Page");
    EXPECT_EQ(Text(*page->GetFullName(SmartPtr<Smart>(new MemoryStream)).Get()), "Page");
}

// The views and drawing come from the floors above; the string decides when to ask for them.
TEST(String, ViewsAndDrawingGoThroughTheUpperFloors)
{
    static int views = 0;
    static std::string drawn;
    auto& services = pw::foundation::GetTextServices();
    services.makeTextView = [](View&, String&) -> View* {
        ++views;
        return nullptr;
    };
    services.drawString = [](DisplayPort&, const char* chars, uint32_t length, const Rect&, const Color&) {
        drawn.assign(chars, length);
    };
    View container;
    DisplayPort port;
    String("local").MakeView(container);
    EXPECT_EQ(views, 0) << "an unreferenced string makes no view";
    SmartPtr<String>(new String("shared"))->MakeView(container);
    EXPECT_EQ(views, 1);
    String("drawn").Draw(port, Rect(0, 0, 1, 1), Color());
    EXPECT_EQ(drawn, "drawn");
    services = {};
}

// A model whose own scope holds only the model part.
class Page : public Model {
public:
    static const PersistentVersion version;
    View* MakeView(View&) override { return nullptr; }
    String& GetName() override { return name; }
    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, version);
        Model::Write(archive);
    }
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    String name { "Page" };
};

const PersistentVersion Page::version { &Model::classInfo, Fixed(1, 0), Fixed(1, 0), nullptr };

TEST(Model, ModelPartIsAnEmptyScopeAndOldMinorsRead)
{
    Page page;
    MemoryStream stream;
    page.Write(*SmartPtr<FlatArchive>(new FlatArchive(stream, {}, true)).Get());
    // The page's scope (1.0, 8 bytes) around the model's empty scope (1.0, 0 bytes).
    EXPECT_EQ(BytesOf(stream), (std::vector<uint8_t> { 0, 0, 1, 0, 8, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0 }));

    for (Fixed stored : { Fixed(0, 5), Fixed(1, 0) }) {
        SCOPED_TRACE(stored.Raw());
        SmartPtr<MemoryStream> old = StoredBytes().Longs({ stored.Raw(), 0 }).Stream();
        SmartPtr<FlatArchive> reader(new FlatArchive(*old.Get(), {}, false));
        EXPECT_FALSE(ArchiveScope(*reader.Get(), Model::version).IsSkipped());
    }
}

} // namespace
