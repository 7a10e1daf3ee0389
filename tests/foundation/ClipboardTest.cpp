#include "foundation/Clipboard.h"
#include "foundation/ListData.h"
#include "foundation/Memory.h"
#include "foundation/String.h"
#include "foundation/SystemScrap.h"

#include "Failure.h"

#include "platform/user/clipboard/ClipboardTesting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace pw::platform::testing;

std::string Text(Smart* object)
{
    String* text = SmartCast<String>(object);
    if (!text)
        return "<not a string>";
    char buffer[256];
    text->GetCString(buffer, sizeof buffer);
    return buffer;
}

// A picture as the graphics floor would make one: it remembers the packed DIB it was made from.
class FakePicture : public SystemScrap, public SmartImplementation {
public:
    explicit FakePicture(uint32_t size)
        : size(size)
    {
    }
    const ClassInfo* GetClassInfo() const override { return &SmartImplementation::classInfo; }
    void* CastTo(const ClassInfo* info) override
    {
        return info == &SystemScrap::classInfo ? static_cast<SystemScrap*>(this) : SmartImplementation::CastTo(info);
    }
    bool CanCopyFrom(Smart*) override { return false; }
    void CopyFrom(Smart*) override { }
    Smart* Copy() const override { return nullptr; }
    ScrapTypeList GetTypes() override { return ScrapTypeList(); }
    Memory& GetData(uint32_t) override { return block; }

    uint32_t size;
    Memory block;
};

std::vector<uint8_t> SmallDib()
{
    std::vector<uint8_t> dib(sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + 4, 0);
    BITMAPINFOHEADER header {};
    header.biSize = sizeof header;
    header.biWidth = 1;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 1;
    std::memcpy(dib.data(), &header, sizeof header);
    return dib;
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pw::foundation::ClipboardPictureImporter() = [](const void*, uint32_t size) -> Smart* { return new FakePicture(size); };
    }
    void TearDown() override
    {
        pw::foundation::ClipboardPictureImporter() = nullptr;
        EXPECT_FALSE(IsClipboardOpen());
    }

    // Own contents set inside the program, the system clipboard checked in once.
    SmartPtr<Clipboard> MakeClipboard()
    {
        SmartPtr<Clipboard> clipboard(new Clipboard);
        clipboard->Contents();
        return clipboard;
    }
};

TEST_F(ClipboardTest, PuttingTheContentsAgainChangesNothing)
{
    SmartPtr<Clipboard> clipboard = MakeClipboard();
    SmartPtr<String> text(new String("a"));
    clipboard->Put(text.Get());
    uint16_t references = text->ReferenceCount();
    clipboard->Put(text.Get());
    EXPECT_EQ(text->ReferenceCount(), references);
    EXPECT_EQ(clipboard->Contents().Get(), static_cast<Smart*>(static_cast<Model*>(text.Get())));
}

TEST_F(ClipboardTest, TextIsExportedOverWhateverWasThere)
{
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    SmartPtr<Clipboard> clipboard = MakeClipboard();
    SmartPtr<String> text(new String("copied"));
    clipboard->Put(text.Get());
    clipboard->AppActivated(false);
    EXPECT_EQ(SystemClipboardText(), "copied");
    EXPECT_FALSE(SystemClipboardDib()) << "the system clipboard is emptied before the text goes out";
}

TEST_F(ClipboardTest, PicturesStayInside)
{
    ASSERT_TRUE(PutSystemClipboardText("theirs"));
    SmartPtr<Clipboard> clipboard = MakeClipboard();
    SmartPtr<FakePicture> picture(new FakePicture(0));
    clipboard->Put(picture.Get());
    clipboard->AppActivated(false);
    EXPECT_EQ(SystemClipboardText(), "theirs");
    // Nothing changed outside: the picture is still the contents after activation.
    clipboard->AppActivated(true);
    EXPECT_EQ(clipboard->Contents().Get(), static_cast<Smart*>(static_cast<SystemScrap*>(picture.Get())));
}

TEST_F(ClipboardTest, ActivationImportsOnlyRealChanges)
{
    SmartPtr<Clipboard> clipboard = MakeClipboard();
    SmartPtr<String> own(new String("own"));
    clipboard->Put(own.Get());
    clipboard->AppActivated(false);
    clipboard->AppActivated(true);
    EXPECT_EQ(Text(clipboard->Contents().Get()), "own");
    EXPECT_EQ(clipboard->Contents().Get(), static_cast<Smart*>(static_cast<Model*>(own.Get())));

    clipboard->AppActivated(false);
    ASSERT_TRUE(PutSystemClipboardText("from another program"));
    clipboard->AppActivated(true);
    EXPECT_EQ(Text(clipboard->Contents().Get()), "from another program");

    clipboard->AppActivated(false);
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    clipboard->AppActivated(true);
    auto* picture = SmartCast<SystemScrap>(clipboard->Contents().Get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(static_cast<FakePicture*>(picture)->size, SmallDib().size());

    clipboard->AppActivated(false);
    ASSERT_TRUE(EmptySystemClipboard());
    clipboard->AppActivated(true);
    EXPECT_FALSE(clipboard->Contents().Valid());
}

// A change made while the program was active but never looked at the clipboard still counts at
// the next activation, and no stale export hides it.
TEST_F(ClipboardTest, PendingImportIsNotForgottenAcrossActivations)
{
    SmartPtr<Clipboard> clipboard = MakeClipboard();
    SmartPtr<String> own(new String("own"));
    clipboard->Put(own.Get());
    clipboard->AppActivated(false);
    ASSERT_TRUE(PutSystemClipboardText("newer"));
    clipboard->AppActivated(true);
    clipboard->AppActivated(false);
    EXPECT_EQ(SystemClipboardText(), "newer");
    clipboard->AppActivated(true);
    EXPECT_EQ(Text(clipboard->Contents().Get()), "newer");
}

TEST_F(ClipboardTest, FirstQuestionImports)
{
    ASSERT_TRUE(PutSystemClipboardText("at start-up"));
    SmartPtr<Clipboard> clipboard(new Clipboard);
    EXPECT_EQ(Text(clipboard->Contents().Get()), "at start-up");
}

TEST_F(ClipboardTest, UnreadablePicturesAreSkipped)
{
    pw::foundation::ClipboardPictureImporter() = [](const void*, uint32_t) -> Smart* { ThrowError("bad picture", PW_HERE); };
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    SmartPtr<Clipboard> clipboard(new Clipboard);
    EXPECT_EQ(Failure([&] { EXPECT_FALSE(clipboard->Contents().Valid()); }), "");
    pw::foundation::ClipboardPictureImporter() = nullptr;
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    SmartPtr<Clipboard> withoutImporter(new Clipboard);
    EXPECT_FALSE(withoutImporter->Contents().Valid());
}

TEST_F(ClipboardTest, PasteIntoInsertsAListsItems)
{
    SmartPtr<Clipboard> clipboard = MakeClipboard();
    SmartPtr<ListData> copied(new ListData(&String::classInfo));
    copied->Append(static_cast<Model*>(new String("one")));
    copied->Append(static_cast<Model*>(new String("two")));
    clipboard->Put(copied.Get());
    SmartPtr<ListData> target(new ListData(&String::classInfo));
    target->Append(static_cast<Model*>(new String("old")));
    EXPECT_TRUE(clipboard->PasteInto(target));
    ASSERT_EQ(target->NumItems(), 3u);
    EXPECT_EQ(Text(target->GetItem(1)), "one");
    EXPECT_EQ(Text(target->GetItem(2)), "two");
    EXPECT_EQ(Text(target->GetItem(3)), "old");

    SmartPtr<String> single(new String("single"));
    clipboard->Put(single.Get());
    EXPECT_TRUE(clipboard->PasteInto(target));
    EXPECT_EQ(Text(target->GetItem(1)), "single");
}

TEST_F(ClipboardTest, SwapExchangesContents)
{
    SmartPtr<Clipboard> first = MakeClipboard();
    SmartPtr<Clipboard> second = MakeClipboard();
    SmartPtr<String> a(new String("a"));
    first->Put(a.Get());
    first->Swap(*second.Get());
    EXPECT_FALSE(first->Contents().Valid());
    EXPECT_EQ(Text(second->Contents().Get()), "a");
    SmartPtr<Smart> copy(second->Copy());
    EXPECT_EQ(Text(SmartCast<Clipboard>(copy.Get())->Contents().Get()), "a");
}

} // namespace
