#include "foundation/TextFile.h"

#include "foundation/FileReference.h"
#include "foundation/String.h"

#include "ErrorCode.h"
#include "Failure.h"
#include "TestObjects.h"

#include "platform/kernel/KernelTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using pw::platform::testing::MakeHostFile;
using pw::platform::testing::ReadHostFile;

std::string Text(const SmartPtr<Smart>& object)
{
    auto* text = SmartCast<String>(object.Get());
    if (!text)
        return "<none>";
    std::string chars(text->Length() + 1, '\0');
    text->GetCString(chars.data(), text->Length() + 1);
    chars.resize(text->Length());
    return chars;
}

SmartPtr<TextFile> Open(const char* path, uint8_t mode)
{
    return SmartPtr<TextFile>(new TextFile(*FileReference::FileReferenceFromPath(path).Get(), mode));
}

TEST(TextFile, WritingReplacesTheWholeContents)
{
    struct Case {
        const char* name;
        std::string before;
        std::string text;
    } cases[] = {
        { "shorter text over a long file", std::string(100, 'x'), "0123456789" },
        { "empty text truncates", "old", "" },
        { "line ends and zero bytes kept", "", std::string("one\r\ntwo\0three\n", 15) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeHostFile("note.txt", c.before);
        SmartPtr<TextFile> file = Open("c:\\note.txt", File::kRead | File::kWrite);
        SmartPtr<String> text(new String);
        text->InsertChars(c.text.data(), 0, static_cast<uint32_t>(c.text.size()));
        file->Write(SmartPtr<Smart>(text.Get()));
        EXPECT_EQ(file->GetMark(), 0u);
        EXPECT_EQ(Text(file->Read()), c.text);
        file = nullptr;
        EXPECT_EQ(ReadHostFile("note.txt"), c.text);
    }
}

TEST(TextFile, ReadsEveryByteAsOneCharacter)
{
    std::string bytes("a\r\nb\0\xff", 6);
    MakeHostFile("raw.txt", bytes);
    EXPECT_EQ(Text(Open("c:\\raw.txt", File::kRead)->Read()), bytes);
    MakeHostFile("empty.txt", "");
    EXPECT_EQ(Text(Open("c:\\empty.txt", File::kRead)->Read()), "");
}

TEST(TextFile, RefusesToWriteWhatItCannot)
{
    MakeHostFile("keep.txt", "kept");
    SmartPtr<TextFile> readOnly = Open("c:\\keep.txt", File::kRead);
    EXPECT_FALSE(readOnly->CanWrite());
    EXPECT_NE(Failure([&] { readOnly->Write(SmartPtr<Smart>(new String("new"))); }), "");

    SmartPtr<TextFile> writable = Open("c:\\keep.txt", File::kRead | File::kWrite);
    EXPECT_TRUE(writable->CanWrite());
    EXPECT_EQ(Failure([&] { writable->Write(SmartPtr<Smart>(new Tracked)); }), "other exception");
    EXPECT_EQ(Failure([&] { writable->Write(nullptr); }), "Missing (NULL) value.");
    readOnly = nullptr;
    writable = nullptr;
    EXPECT_EQ(ReadHostFile("keep.txt"), "kept");

    SmartPtr<TextFile> missing = Open("c:\\missing.txt", File::kRead | File::kWrite);
    EXPECT_EQ(ErrorCode([&] { missing->Write(SmartPtr<Smart>(new String("x"))); }), uint32_t(ERROR_FILE_NOT_FOUND));
}

} // namespace
