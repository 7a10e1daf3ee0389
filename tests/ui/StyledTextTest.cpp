#include "ui/StyledText.h"

#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/SmartList.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/TypeIndex.h"
#include "graphics/TextStyle.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

SmartPtr<TypeIndex> TextIndex()
{
    SmartPtr<TypeIndex> index = new TypeIndex(FileType("Test", 0, 0), Fixed(1, 0), "Test");
    for (const PersistentVersion* record :
        { &StyledText::version, &String::version, &GenericArray::version, &TextStyle::version, &ListData::version })
        index->AddClass(*record);
    return index;
}

SmartPtr<Smart> RoundTrip(Smart* root)
{
    SmartPtr<TypeIndex> index = TextIndex();
    SmartPtr<Stream> stream(new MemoryStream);
    SmartPtr<ObjectFile>(new ObjectFile(index, stream))->Write(SmartPtr<Smart>(root));
    SmartPtr<ObjectFile> reader = new ObjectFile(index, stream);
    reader->SetSilent(true);
    return reader->Read();
}

} // namespace

// The characters go as a String part, the style as a stored object of its own: a text reads back
// equal and in an equal but independent style.
TEST(StyledText, StoresItsCharactersAndItsStyle)
{
    struct Case {
        const char* name;
        int16_t face, size;
        uint8_t flags;
        int color;
    };
    const Case cases[] = {
        { "Courier italic 20", 3, 20, TextStyle::kItalic, 7 },
        { "Arial bold underlined 72", 4, 72, TextStyle::kBold | TextStyle::kUnderline, 9 },
        { "standard face, no flags", 1, 9, 0, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<TextStyle> style = new TextStyle(c.face, c.size, c.flags, Color(c.color), Color(0));
        style->SetFormat(0x10);
        SmartPtr<StyledText> text = StyledText::StyledTextFromChars("one\r\ntwo", true, style);
        SmartPtr<Smart> root = RoundTrip(text.Get());
        auto* read = SmartCast<StyledText>(root.Get());
        ASSERT_NE(read, nullptr);
        EXPECT_TRUE(*read == *text.Get());
        ASSERT_TRUE(read->GetStyle().Valid());
        EXPECT_NE(read->GetStyle(), style);
        EXPECT_TRUE(read->GetStyle()->SameLook(*style.Get()));
        EXPECT_STREQ(read->GetStyle()->GetFaceName(), style->GetFaceName());
    }
}

// Texts that share a style share it again after reading; a stored point size outside 1 to 1000 is
// damage.
TEST(StyledText, SharedStylesStaySharedAndBadSizesAreRefused)
{
    SmartPtr<TextStyle> style = new TextStyle(2, 14, 0, Color(3), Color(13));
    SmartList<StyledText> texts;
    texts.Append(StyledText::StyledTextFromChars("a", true, style));
    texts.Append(StyledText::StyledTextFromChars("b", true, style));
    SmartPtr<Smart> root = RoundTrip(texts.Data());
    auto* list = SmartCast<ListData>(root.Get());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->NumItems(), 2u);
    EXPECT_EQ(SmartCast<StyledText>(list->GetItem(1))->GetStyle(), SmartCast<StyledText>(list->GetItem(2))->GetStyle());

    SmartPtr<StyledText> bad = StyledText::StyledTextFromChars("c", true, new TextStyle(1, 0, 0, Color(1), Color(0)));
    EXPECT_FALSE(RoundTrip(bad.Get()).Valid());
}

class StyledTextDrawing : public views::ViewTest {
protected:
    // The pixels one drawing leaves on a white 60 x 20 buffer.
    static std::string Drawn(const std::function<void(DisplayPort&)>& draw)
    {
        OffScreen buffer(60, 20, 8, Color(0), true);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            draw(port);
        }
        return ports::Art(buffer);
    }
};

// What the child typed is drawn as typed: "&" shows as itself and underlines nothing, where the
// same characters through prefix processing would lose it; the shared style keeps its format.
TEST_F(StyledTextDrawing, AmpersandsAreDrawnAsTyped)
{
    SmartPtr<TextStyle> style = new TextStyle(1, 12, 0, Color(1), Color(Color::kNoColor));
    TextStyle literal(*style.Get());
    literal.SetFormat(DT_NOPREFIX);
    const Rect box(0, 0, 60, 20);
    for (const char* typed : { "a&b", "&&x", "q&" }) {
        SCOPED_TRACE(typed);
        auto length = static_cast<int32_t>(std::strlen(typed));
        SmartPtr<StyledText> text = new StyledText(String(typed), style);
        std::string shown = Drawn([&](DisplayPort& port) { text->Draw(port, box, Color(1)); });
        EXPECT_EQ(shown, Drawn([&](DisplayPort& port) { port.DrawText(typed, length, box, literal); }));
        EXPECT_NE(shown, Drawn([&](DisplayPort& port) { port.DrawText(typed, length, box, *style.Get()); }));
        EXPECT_EQ(style->GetFormat(), 0u);
    }
}
