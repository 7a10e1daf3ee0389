// htmlElement: page files, written around a root element, and the deletion of what the previous
// export of a page made.
#include "export/htmlElement.h"

#include "foundation/File.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/MemoryStream.h"
#include "foundation/TextFile.h"

#include <string>

using pw::exporting::EscapedHTML;
using pw::exporting::kLineEnd;

namespace {

const FileType htmlFileType("HTML World Wide Web page", pw::foundation::FourCharCode("TEXT"),
    pw::foundation::FourCharCode("htm "), "html");

const char* const kFileListStart = "<!-- Files:";
const char* const kFileListEnd = "-->";

// A name an old list may make us delete: one item directly in the export folder, never a path, a
// drive, the folder itself or its parent, and no text hidden after a NUL.
bool IsBareFileName(const String& name)
{
    std::string text = pw::foundation::TextOf(name);
    return !text.empty() && text.size() == name.Length() && text != "." && text != ".."
        && text.find_first_of("\\/:") == std::string::npos;
}

// Deletes the plain file of that name in the folder; one already gone (or a folder) is left be.
void DeleteListedFile(FileReference& folder, const String& name)
{
    std::string path;
    if (!pw::foundation::BuildPath(path, folder.Path(), pw::foundation::TextOf(name).c_str(), 0))
        return;
    FileReference item(path.c_str());
    if (!item.Exists() || item.IsFolder())
        return;
    folder.Delete(name);
}

// The files listed by the page file's comment, or nothing when it holds none.
void DeleteFilesListedIn(FileReference& page, FileReference& folder)
{
    SmartPtr<Smart> read;
    {
        SmartPtr<TextFile> file = new TextFile(page, File::kRead);
        read = file->Read();
    }
    auto* text = SmartCast<String>(read.Get());
    if (!text)
        return;
    uint32_t start = text->Find(String(kFileListStart), 1, String::kForward);
    if (start == 0)
        return;
    String list(*text, start, text->Length() - start + 1);
    String lineEnd(kLineEnd);
    list.ExtractWord(lineEnd);
    while (true) {
        String line = list.ExtractWord(lineEnd);
        if (line == String(kFileListEnd) || list.Length() == 0)
            return;
        if (IsBareFileName(line))
            DeleteListedFile(folder, line);
    }
}

} // namespace

const FileType& HTMLFileType()
{
    return htmlFileType;
}

void htmlElement::WritePage(const String& pageName, SmartPtr<FileReference> folder, SmartList<FileReference> files)
{
    String fileName = PageFileName(pageName);
    SmartPtr<MemoryStream> pageStream = new MemoryStream;
    MemoryStream& page = *pageStream.Get();
    page << String("<HTML>") << String(kLineEnd);
    WritePageHead(folder, fileName, page);
    WriteHTML(folder, fileName, files, page);
    WriteFileList(files, page);
    page << String("</HTML>") << String(kLineEnd);

    SmartPtr<FileReference> reference
        = FileReference::FileReferenceCreate(HTMLFileType(), FileCreatorType::Unknown(), *folder.Get(), fileName, true);
    SmartPtr<File> file = new File(*reference.Get(), File::kRead | File::kWrite);
    CopyStreamContents(*file.Get(), page);
    file->SetLength(file->GetMark());
}

void WritePageHead(SmartPtr<FileReference>, const String& title, Stream& out)
{
    String lineEnd(kLineEnd);
    out << String("<HEAD>") << lineEnd;
    out << String("<TITLE>") << EscapedHTML(title) << String("</TITLE>") << lineEnd;
    out << String("</HEAD>") << lineEnd;
}

void WriteFileList(SmartList<FileReference> files, Stream& out)
{
    String lineEnd(kLineEnd);
    out << String(kFileListStart) << lineEnd;
    for (uint32_t index = 1; index <= files.NumItems(); ++index) {
        if (FileReference* file = files.Item(index))
            out << file->Name() << lineEnd;
    }
    out << String(kFileListEnd) << lineEnd;
}

void RemoveOldPageFiles(const String& pageName, SmartPtr<FileReference> folder)
{
    String fileName = PageFileName(pageName);
    SmartList<FileReference> entries = folder->Contents(SmartList<FileType>(), false);
    for (uint32_t index = entries.NumItems(); index >= 1; --index) {
        FileReference* entry = entries.Item(index);
        if (!entry || entry->IsFolder() || FileBaseName(*entry) != fileName || !entry->IsOfType(HTMLFileType()))
            continue;
        DeleteFilesListedIn(*entry, *folder.Get());
    }
}
