#pragma once

#include "foundation/FileReference.h"
#include "foundation/Persistent.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

class FileType;
class MemoryStream;
class Stream;

// A piece of an exported page. The page export describes each page as a small tree of elements,
// made anew for every export, and asks the root to write itself into the page file. Elements are
// counted and persistent like every framework object, though no document holds them except the
// web links.
class htmlElement : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(htmlElement)
    PW_COPY_SLOTS

public:
    // Writes the element's HTML to `out`. Files the element makes go into `folder` and are
    // appended to `files`, the page's list of generated files; `pageName` is the page's file name
    // without extension, from which those files and the page's map are named. Folder and list are
    // shared with the caller, so what an element appends is seen by the elements after it.
    virtual void WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
        Stream& out)
        = 0;

    // Writes the page file folder\<PageFileName(pageName)>.htm: the head, this element's HTML and
    // a closing comment listing `files`, every file the elements made. The page is built whole in
    // memory first and written only once every element has succeeded, then the file is cut to it,
    // so a failed export never leaves a mixed page whose list would drive the next deletion.
    void WritePage(const String& pageName, SmartPtr<FileReference> folder, SmartList<FileReference> files);

protected:
    htmlElement() = default;
    htmlElement(const htmlElement& other);
    htmlElement& operator=(const htmlElement&) = default;
};

// The base name of a page's files, its title and its map, plain ASCII: the page name with every
// " " turned into "_"; the signs "%", "/", "\", ":", "*", "?", '"', "<", ">", "|", "#" and control
// bytes removed; letters outside ASCII spelled in ASCII ("Café" gives "Cafe"); "page" when nothing
// is left.
String PageFileName(const String& pageName);

// The file's name without its extension (the text before the last ".").
String FileBaseName(FileReference& file);

// "HTML World Wide Web page", type code 'TEXT', extension 'htm ', further name "html".
const FileType& HTMLFileType();

// The head of a page: its <HEAD> element holding the title. The folder is not used.
void WritePageHead(SmartPtr<FileReference> folder, const String& title, Stream& out);

// The closing comment "<!-- Files:" that lists the page's generated files by name, one a line, up
// to "-->"; entries that are not file references are passed over.
void WriteFileList(SmartList<FileReference> files, Stream& out);

// Deletes the files that the earlier page file of that page in `folder` lists. Only bare names of
// plain files in the folder are deleted (never a path, "." or ".."), and a listed file already gone
// is passed over; a page file holding no list is left alone.
void RemoveOldPageFiles(const String& pageName, SmartPtr<FileReference> folder);

// Writes the memory stream's whole content to `out` in one write; answers `out`.
Stream& CopyStreamContents(Stream& out, MemoryStream& in);

namespace pw::exporting {

// Every line the export ends itself ends with this single line feed.
inline constexpr const char* kLineEnd = "\n";

// The text with "&", "<", ">", '"' and every byte outside ASCII written as character references,
// for the text that goes into a page from names and addresses; other text comes out as it was.
String EscapedHTML(const String& text);

} // namespace pw::exporting
