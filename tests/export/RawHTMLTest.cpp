#include "export/RawHTML.h"

#include "ElementFixture.h"

#include "foundation/MemoryStream.h"

#include <string>

using namespace elementtest;

TEST_F(ElementTest, RawTextIsWrittenAndStoredByteForByte)
{
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        { "empty", "" },
        { "markup over lines", "<body bgcolor=\"#FFFFFF\">\n<p>A & B</p>\r\n" },
        { "any byte", std::string("caf\xE9\0<", 6) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<RawHTML> raw = new RawHTML(Text(c.text));
        EXPECT_EQ(HTMLOf(*raw.Get()), c.text);
        SmartPtr<Smart> read = RoundTrip(SmartPtr<Smart>(raw.Get()));
        auto* stored = SmartCast<RawHTML>(read.Get());
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(HTMLOf(*stored), c.text);
    }
}
