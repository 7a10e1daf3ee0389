#include "ui/StyledText.h"

#include "foundation/GenericArray.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/TypeIndex.h"
#include "graphics/TextStyle.h"

#include <gtest/gtest.h>

TEST(StyledText, StoresItsCharactersAsAStringPart)
{
    SmartPtr<TypeIndex> index = new TypeIndex(FileType("Test", 0, 0), Fixed(1, 0), "Test");
    index->AddClass(StyledText::version);
    index->AddClass(String::version);
    index->AddClass(GenericArray::version);
    SmartPtr<Stream> stream(new MemoryStream);
    SmartPtr<TextStyle> style = new TextStyle(3, 20, TextStyle::kItalic, Color(7), Color(0));
    SmartPtr<StyledText> text = StyledText::StyledTextFromChars("one\r\ntwo", true, style);
    SmartPtr<ObjectFile>(new ObjectFile(index, stream))->Write(SmartPtr<Smart>(text.Get()));

    SmartPtr<Smart> root = SmartPtr<ObjectFile>(new ObjectFile(index, stream))->Read();
    auto* read = SmartCast<StyledText>(root.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(*read == *text.Get());
    // The style is the text's look, not part of what is stored.
    EXPECT_NE(read->GetStyle(), style);
    ASSERT_TRUE(read->GetStyle().Valid());
    EXPECT_TRUE(read->GetStyle()->GetColor().Equals(Color(1)));
}
