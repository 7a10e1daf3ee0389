#include "app/PageScribes.h"

#include "app/TallowResources.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "export/TallowScribe.h"

namespace {

// Application string 11: the home page's name.
constexpr int32_t kHomePageName = 11;
// The rectangle of a new page.
constexpr Rect kNewPageBounds(0, 0, 350, 350);

// Whether a scribe of this run has already made its file's folder the current folder.
bool folderSet = false;

} // namespace

void pw::app::testing::ForgetScribeFolder()
{
    folderSet = false;
}

void pw::app::PageScribes::FolderChosen()
{
    folderSet = true;
}

namespace pw::app {

PageScribes::PageScribes(BaseFactory base, FrontScribe front, const FileType& documentType,
    const FileCreatorType& creator)
    : base(std::move(base))
    , front(std::move(front))
    , documentType(documentType)
    , creator(creator)
{
}

SmartPtr<Scribe> PageScribes::MakeScribe(const SmartPtr<FileReference>& file, uint8_t mode)
{
    if (file.Valid() && mode != 1 && front) {
        SmartPtr<Scribe> frontScribe = front();
        auto* page = SmartCast<TallowScribe>(frontScribe.Get());
        if (page && page->CanWrite()) {
            SmartPtr<FileReference> document = page->GetDocumentFile();
            if (document.Valid() && *document.Get() == *file.Get())
                return SmartPtr<Scribe>();
        }
    }
    SmartPtr<Scribe> scribe = base(file, mode);
    if (!folderSet) {
        if (file.Valid()) {
            SmartPtr<FileReference> folder = file->Parent();
            if (folder.Valid())
                FileReference::SetAsCurrentDirectory(*folder.Get());
        }
        folderSet = true;
    }
    // A page opened to be edited keeps its page scribe when its file could only be opened for
    // reading: the window still knows its page, and the scribe refuses to store it there.
    if (!scribe.Valid() || mode == 1)
        return scribe;
    return new TallowScribe(scribe, file);
}

SmartPtr<FileReference> PageScribes::HomePageReference(FileReference& folder, bool onlyWhenNew)
{
    String name = TallowResources::GetString(kHomePageName);
    if (onlyWhenNew && folder.ContainsItem(name, documentType))
        return SmartPtr<FileReference>();
    return FileReference::FileReferenceCreate(documentType, creator, folder, name, true);
}

void PageScribes::CreateHomePage(FileReference& folder, SmartPtr<CShow> page)
{
    SmartPtr<FileReference> home = HomePageReference(folder, true);
    if (!home.Valid())
        return;
    if (!page.Valid())
        page = new CShow(new CMovieGroup(kNewPageBounds));
    SmartPtr<Scribe> scribe = MakeScribe(home, 3);
    if (scribe.Valid())
        scribe->Write(page.Get());
}

} // namespace pw::app
