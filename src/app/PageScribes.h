#pragma once

#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/Scribe.h"
#include "foundation/SmartPtr.h"

#include <cstdint>
#include <functional>

class CShow;

// The application's scribe factory and its home pages. Every scribe the framework asks for a
// document file is the base factory's, wrapped in a TallowScribe when asked for in a writing mode
// (also when the file could only be opened for reading), so each save of a page also exports the
// page. The first file a scribe is made for in a run makes its folder the current folder, unless
// the run has chosen one already (its project). Every project folder has a home page, "index" with
// the document type's extension, made as an empty page when missing. The application class owns
// one and answers the framework's scribe requests and its home navigation through it.
namespace pw::app {

class PageScribes {
public:
    // The scribe the application's base class makes for a file and mode (1 reads, 3 saves).
    using BaseFactory = std::function<SmartPtr<Scribe>(const SmartPtr<FileReference>& file, uint8_t mode)>;
    // The scribe of the front page window's document, or none.
    using FrontScribe = std::function<SmartPtr<Scribe>()>;

    PageScribes(BaseFactory base, FrontScribe front, const FileType& documentType, const FileCreatorType& creator);

    // The scribe for the file; none when the file is the front page's own, opened for writing, and
    // the mode writes, so that a page is never stored over itself through a second scribe.
    SmartPtr<Scribe> MakeScribe(const SmartPtr<FileReference>& file, uint8_t mode);
    // The home page of the folder, its file made (empty) when missing; none when `onlyWhenNew` is
    // set and the folder already has one.
    SmartPtr<FileReference> HomePageReference(FileReference& folder, bool onlyWhenNew);
    // Stores `page` (an empty 350 x 350 page when none is given) as the folder's home page, with its
    // export, when it has none.
    void CreateHomePage(FileReference& folder, SmartPtr<CShow> page = SmartPtr<CShow>());
    // The current folder is chosen for the run (the project's): no scribe moves it from now on.
    static void FolderChosen();

private:
    BaseFactory base;
    FrontScribe front;
    FileType documentType;
    FileCreatorType creator;
};

} // namespace pw::app

namespace pw::app::testing {

// The next scribe made sets the current folder again, as at start-up.
void ForgetScribeFolder();

} // namespace pw::app::testing
