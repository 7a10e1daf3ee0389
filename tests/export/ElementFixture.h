// What the element tests share: a type index for the element classes, a round trip through an
// object file on disk, and the HTML an element writes.
#pragma once

#include "export/RawHTML.h"
#include "export/htmlElement.h"
#include "export/htmlWrapper.h"

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

inline SmartPtr<TypeIndex> ElementIndex()
{
    SmartPtr<TypeIndex> index = new TypeIndex(FileType("Pages", 0, 0), Fixed(1, 0), "Pages");
    index->AddClass(htmlWrapper::version);
    index->AddClass(RawHTML::version);
    index->AddClass(kElementClass);
    index->AddClass(ListData::version);
    index->AddClass(String::version);
    index->AddClass(GenericArray::version);
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

class ElementTest : public ::testing::Test {
protected:
    // Writes the root into the object file c:\elements.obj and reads it back from a new one.
    SmartPtr<Smart> RoundTrip(const SmartPtr<Smart>& root)
    {
        pw::platform::testing::MakeHostFile("elements.obj");
        FileReference path("c:\\elements.obj");
        {
            SmartPtr<Stream> file = new File(path, File::kRead | File::kWrite);
            SmartPtr<ObjectFile>(new ObjectFile(ElementIndex(), file))->Write(root);
        }
        SmartPtr<Stream> file = new File(path, File::kRead);
        reader = new ObjectFile(ElementIndex(), file);
        return reader->Read();
    }

    // The read objects belong to the object file that read them.
    SmartPtr<ObjectFile> reader;
};

} // namespace elementtest
