#pragma once

#include "foundation/FileReference.h"
#include "foundation/Persistent.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

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

protected:
    htmlElement() = default;
    htmlElement(const htmlElement& other);
    htmlElement& operator=(const htmlElement&) = default;
};

// The base name of a page's files, its title and its map: the page name with every " " turned
// into "_", then every "%" and every "/" removed.
String PageFileName(const String& pageName);

// The file's name without its extension (the text before the last ".").
String FileBaseName(FileReference& file);
