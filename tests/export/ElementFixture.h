// What the element tests share: a type index for the element classes, a round trip through an
// object file on disk, and the HTML an element writes.
#pragma once

#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "export/ImageMap.h"
#include "export/LinkHREF.h"
#include "export/RawHTML.h"
#include "export/SoundLink.h"
#include "export/htmlElement.h"
#include "export/htmlWrapper.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/Sound.h"
#include "ui/ProgressFixture.h"

#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/TypeIndex.h"
#include "platform/kernel/KernelTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace elementtest {

// A wrapper's list stores htmlElement as its item class, so an index holding wrappers names it.
inline constexpr PersistentVersion kElementClass { &htmlElement::classInfo, Fixed(1, 0), Fixed(1, 0), nullptr };

// The element classes and what they hold. An `older` record takes the place of its class's own,
// so a test can store objects as an older version of the program wrote them.
inline SmartPtr<TypeIndex> ElementIndex(const PersistentVersion* older = nullptr)
{
    SmartPtr<TypeIndex> index = new TypeIndex(FileType("Pages", 0, 0), Fixed(1, 0), "Pages");
    for (const PersistentVersion* record : { &htmlWrapper::version, &RawHTML::version, &kElementClass,
             &ListData::version, &String::version, &GenericArray::version, &LinkHREF::version,
             &SoundLink::version, &ImageMap::version, &Sound::version, &BitMap::version, &ColorTable::version,
             &CLink::version, &CJumpMovie::version, &FileReference::version })
        index->AddClass(older && older->GetClass() == record->GetClass() ? *older : *record);
    return index;
}

inline String Text(const std::string& bytes)
{
    String text;
    text.InsertChars(bytes.data(), 0, static_cast<uint32_t>(bytes.size()));
    return text;
}

inline std::string BytesOf(MemoryStream& stream)
{
    return std::string(static_cast<const char*>(stream.Block().Ptr()), stream.GetLength());
}

// What the element writes for the page "My_Page" into the folder c:\HTML.
inline std::string HTMLOf(htmlElement& element)
{
    SmartPtr<MemoryStream> out = new MemoryStream;
    SmartPtr<FileReference> folder = new FileReference("c:\\HTML");
    element.WriteHTML(folder, String("My_Page"), SmartList<FileReference>(), *out.Get());
    return BytesOf(*out.Get());
}

template <typename Base>
class StoringTest : public Base {
protected:
    // Writes the root into the object file c:\elements.obj (with the `older` record in place of
    // its class's) and reads it back from a new one.
    SmartPtr<Smart> RoundTrip(const SmartPtr<Smart>& root, const PersistentVersion* older = nullptr)
    {
        pw::platform::testing::MakeHostFile("elements.obj");
        FileReference path("c:\\elements.obj");
        {
            SmartPtr<Stream> file = new File(path, File::kRead | File::kWrite);
            SmartPtr<ObjectFile>(new ObjectFile(ElementIndex(older), file))->Write(root);
        }
        SmartPtr<Stream> file = new File(path, File::kRead);
        reader = new ObjectFile(ElementIndex(), file);
        return reader->Read();
    }

    // The read objects belong to the object file that read them.
    SmartPtr<ObjectFile> reader;
};

using ElementTest = StoringTest<::testing::Test>;
// Elements that make files show progress, so these tests stand up the framework.
using PageTest = StoringTest<uitest::ProgressTest>;

// The export folder c:\HTML, made on disk.
inline SmartPtr<FileReference> ExportFolder()
{
    pw::platform::testing::MakeHostFolder("HTML");
    return new FileReference("c:\\HTML");
}

} // namespace elementtest
