#include "authoring/panes/ImportExport.h"

#include "authoring/panes/CHAPane.h"
#include "engine/CMovie.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileType.h"
#include "foundation/ListData.h"
#include "foundation/SmartList.h"
#include "graphics/AIFFFile.h"
#include "graphics/BMPFile.h"
#include "graphics/BitMap.h"
#include "graphics/Sound.h"
#include "graphics/WAVEFile.h"
#include "ui/App.h"
#include "ui/ClipTask.h"
#include "ui/View.h"

namespace {

// The file's content: media files through their own readers, anything else as a document of the
// application. A file that cannot be read raises its reader's failure (a damaged one the
// corrupt-file message) before anything reaches the clipboard.
SmartPtr<Smart> ReadContent(App& app, FileReference& file)
{
    SmartPtr<Scribe> scribe;
    String name;
    // AIFF files come as ".aif" as well as under the type's own extension.
    bool aif = file.GetNameParts(name) == FileType::ExtensionCode("aif");
    if (file.IsOfType(WAVEFile::GetFileType()))
        scribe = new WAVEFile(new File(file, 1));
    else if (aif || file.IsOfType(AIFFFile::GetFileType()))
        scribe = new AIFFFile(new File(file, 1));
    else if (file.IsOfType(BMPFile::GetFileType()))
        scribe = new BMPFile(new File(file, 1));
    else
        // Read as a plain document file: an import opens no document, so the application's own
        // scribes (which settle the run's page folder on the first file they see) stay out of it.
        scribe = app.App::OpenScribe(&file, 1);
    return scribe.Valid() ? scribe->Read() : SmartPtr<Smart>();
}

// Whether the content is a page with a background of its own: placed on another page, it lies
// behind that page's pictures as a background does, instead of covering them.
bool IsBackgroundPage(const SmartPtr<Smart>& content)
{
    auto* show = SmartCast<CShow>(content.Get());
    auto* group = show ? SmartCast<CMovieGroup>(show->GetMovie().Get()) : nullptr;
    for (uint32_t index = 0; group && index < group->NumSprites(); ++index) {
        CSprite* sprite = group->GetSprite(static_cast<int16_t>(index));
        if (sprite && sprite->ToggleFlag2(false))
            return true;
    }
    return false;
}

// The movie a sprite shows for the content, or empty.
SmartPtr<CMovie> MovieOf(const SmartPtr<Smart>& content)
{
    if (auto* movie = SmartCast<CMovie>(content.Get()))
        return movie;
    // A page of a media folder enters as one sprite showing the whole page.
    if (auto* show = SmartCast<CShow>(content.Get()))
        return show->GetMovie();
    if (auto* bitmap = SmartCast<BitMap>(content.Get())) {
        SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(bitmap), true);
        return new CMoviePic(resource, true);
    }
    SmartPtr<Smart> converted = content;
    if (ConvertTo(converted, &CMovie::classInfo))
        return SmartCast<CMovie>(converted.Get());
    return SmartPtr<CMovie>();
}

} // namespace

bool ImportToClipboard(App& app, const SmartPtr<FileReference>& file, const SmartPtr<String>& name)
{
    if (!file.Valid())
        return false;
    SmartPtr<Smart> content = ReadContent(app, *file.Get());
    if (!content.Valid())
        return false;
    if (SmartCast<ListData>(content.Get())) {
        app.GetClipboard()->Put(content.Get());
        return true;
    }
    SmartPtr<CSprite> sprite;
    if (SmartCast<Sound>(content.Get())) {
        SmartPtr<Smart> converted = content;
        if (ConvertTo(converted, &CSprite::classInfo))
            sprite = SmartCast<CSprite>(converted.Get());
    } else if (SmartPtr<CMovie> movie = MovieOf(content); movie.Valid()) {
        sprite = new CSprite(0, movie.Get(), Rect(0, 0, 0, 0));
        if (IsBackgroundPage(content))
            sprite->ToggleFlag2(true);
    }
    if (!sprite.Valid())
        return false;
    SmartPtr<String> spriteName = name;
    if (!spriteName.Valid()) {
        spriteName = new String;
        file->GetNameParts(*spriteName.Get());
    }
    sprite->SetName(spriteName);
    SmartList<CSprite> list;
    list.Append(sprite);
    app.GetClipboard()->Put(list.Data());
    return true;
}

void ImportObject(const SmartPtr<Clipboard>& clipboard, const SmartPtr<View>& pane, int32_t h, int32_t v)
{
    int32_t value = (h == 0 && v == 0) ? 3 : 2;
    SmartPtr<ClipTask> task = new ClipTask(clipboard, pane, ClipTask::kPaste, value, Point(h, v));
    task->Do();
    // An editing pane ends the import as every edit: the window keeps the step and knows its page
    // changed, so leaving the page offers to save the import.
    if (auto* editing = SmartCast<CHAPane>(pane.Get()))
        editing->AfterEdit(task.Get());
    else
        pane->NotifyTask(task.Get());
}

void ImportStubA(const SmartPtr<Smart>&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void ImportStubB(const SmartPtr<Smart>&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}
