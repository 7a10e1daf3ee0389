// FileReference: the thumbnails kept per folder. One folder's preview set is cached, the folder
// used last; moving on to another folder saves the cached set first when thumbnails changed.
#include "foundation/FileReference.h"

namespace {

using pw::foundation::GetFileReferenceServices;

struct PreviewCache {
    SmartPtr<Smart> set;
    bool changed { false };
};

PreviewCache& Cache()
{
    static PreviewCache cache;
    return cache;
}

// Ends the progress range, if one was opened, however the step ends.
class ProgressCloser {
public:
    void* range { nullptr };
    ~ProgressCloser()
    {
        if (range && GetFileReferenceServices().closeProgress)
            GetFileReferenceServices().closeProgress(range);
    }
};

void Advance(void* range)
{
    if (range && GetFileReferenceServices().advanceProgress)
        GetFileReferenceServices().advanceProgress(range, 1);
}

SmartPtr<Smart> GetFolderPreview(FileReference& folder)
{
    auto& services = GetFileReferenceServices();
    PreviewCache& cache = Cache();
    if (cache.set.Valid() && services.previewFolder) {
        SmartPtr<FileReference> cachedFolder = services.previewFolder(*cache.set.Get());
        if (cachedFolder.Valid() && *cachedFolder.Get() == folder)
            return cache.set;
    }
    ProgressCloser progress;
    if (cache.set.Valid() && cache.changed) {
        if (services.openProgress)
            progress.range = services.openProgress(2, "Doing Previews");
        Advance(progress.range);
        if (services.saveFolderPreview)
            services.saveFolderPreview(cache.set);
        // Only a save that went through settles the change: a failed one is tried again.
        cache.changed = false;
        Advance(progress.range);
    }
    cache.set = services.loadFolderPreview ? services.loadFolderPreview(folder) : SmartPtr<Smart>();
    if (!cache.set.Valid() && services.newFolderPreview)
        cache.set = services.newFolderPreview(folder);
    return cache.set;
}

} // namespace

void pw::foundation::ForgetFolderPreviews()
{
    Cache() = PreviewCache();
}

SmartPtr<Smart> FileReference::GetPreview()
{
    Resolve();
    auto previewImage = GetFileReferenceServices().previewImage;
    if (!previewImage)
        return SmartPtr<Smart>();
    SmartPtr<FileReference> folder = Parent();
    SmartPtr<Smart> set = GetFolderPreview(*folder.Get());
    if (!set.Valid() || !Exists() || IsEmpty())
        return SmartPtr<Smart>();
    return previewImage(*set.Get(), *this);
}

void FileReference::SetPreview(const SmartPtr<Smart>& image)
{
    Resolve();
    SmartPtr<FileReference> folder = Parent();
    SmartPtr<Smart> set = GetFolderPreview(*folder.Get());
    auto setPreviewImage = GetFileReferenceServices().setPreviewImage;
    if (set.Valid() && setPreviewImage)
        setPreviewImage(*set.Get(), *this, image);
    Cache().changed = true;
}

void FileReference::SavePreviews()
{
    PreviewCache& cache = Cache();
    auto save = GetFileReferenceServices().saveFolderPreview;
    if (cache.changed && cache.set.Valid() && save)
        save(cache.set);
}
