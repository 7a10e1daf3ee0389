#include "export/htmlWrapper.h"

#include "ElementFixture.h"

#include "foundation/MemoryStream.h"

#include <string>
#include <vector>

using namespace elementtest;

namespace {

// An element that makes a file named after the page and its tag, and writes what it was handed:
// its tag, the page name, the folder and how many files the list held when it ran.
class FileMaker : public htmlElement {
public:
    explicit FileMaker(const char* tag)
        : tag(tag)
    {
    }

    void Write(Archive&) override { }
    const PersistentVersion& GetPersistentVersion() const override { return htmlWrapper::version; }

    void WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
        Stream& out) override
    {
        std::string name = pw::foundation::TextOf(pageName);
        std::string seen = tag + "(" + name + " in " + folder->Path() + ", " + std::to_string(files.NumItems()) + ")";
        out << String(seen.c_str());
        files.Append(new FileReference((std::string(folder->Path()) + "\\" + name + tag + ".wav").c_str()));
    }

    std::string tag;
};

SmartList<htmlElement> ListOf(std::initializer_list<htmlElement*> elements)
{
    SmartList<htmlElement> list;
    for (htmlElement* element : elements)
        list.Append(SmartPtr<htmlElement>(element));
    return list;
}

} // namespace

TEST_F(ElementTest, AWrapperWritesItsElementsInOrderSharingFolderPageListAndStream)
{
    SmartPtr<htmlWrapper> page = new htmlWrapper(ListOf({ new RawHTML(String("<body>\n")), new FileMaker("a"),
        new htmlWrapper(ListOf({ new FileMaker("b"), new htmlWrapper(SmartList<htmlElement>()) })),
        new RawHTML(String("</body>\n")) }));
    SmartPtr<MemoryStream> out = new MemoryStream;
    SmartPtr<FileReference> folder = new FileReference("c:\\HTML");
    SmartList<FileReference> files;
    page->WriteHTML(folder, String("My_Page"), files, *out.Get());

    EXPECT_EQ(BytesOf(*out.Get()), "<body>\na(My_Page in c:\\HTML, 0)b(My_Page in c:\\HTML, 1)</body>\n");
    ASSERT_EQ(files.NumItems(), 2u);
    EXPECT_STREQ(files.Item(1)->Path(), "c:\\HTML\\My_Pagea.wav");
    EXPECT_STREQ(files.Item(2)->Path(), "c:\\HTML\\My_Pageb.wav");
    EXPECT_EQ(HTMLOf(*SmartPtr<htmlWrapper>(new htmlWrapper(SmartList<htmlElement>())).Get()), "");
}

TEST_F(ElementTest, AStoredWrapperReadsBackAsTheSameTreeWritingTheSameBytes)
{
    SmartPtr<RawHTML> shared = new RawHTML(String("<hr>\n"));
    SmartPtr<htmlWrapper> page = new htmlWrapper(ListOf({ shared.Get(), new RawHTML(String("<p>one</p>\n")),
        new htmlWrapper(ListOf({ new RawHTML(String("<p>two</p>\n")), shared.Get() })),
        new htmlWrapper(SmartList<htmlElement>()) }));
    std::string written = HTMLOf(*page.Get());
    ASSERT_EQ(written, "<hr>\n<p>one</p>\n<p>two</p>\n<hr>\n");

    SmartPtr<Smart> read = RoundTrip(SmartPtr<Smart>(page.Get()));
    auto* stored = SmartCast<htmlWrapper>(read.Get());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(HTMLOf(*stored), written);
}

TEST_F(ElementTest, CopiesOfAWrapperShareItsList)
{
    SmartList<htmlElement> elements = ListOf({ new RawHTML(String("a")) });
    SmartPtr<htmlWrapper> page = new htmlWrapper(elements);
    SmartPtr<Smart> copy(page->Copy());
    elements.Append(new RawHTML(String("b")));
    auto* copied = SmartCast<htmlWrapper>(copy.Get());
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(HTMLOf(*copied), "ab");
    EXPECT_EQ(HTMLOf(*page.Get()), "ab");
}
