#include "export/TallowScribe.h"

#include "engine/CLink.h"
#include "engine/CMovie.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "engine/CXform.h"
#include "export/ImageMap.h"
#include "export/LinkHREF.h"
#include "export/PageExportName.h"
#include "export/RawHTML.h"
#include "export/SoundLink.h"
#include "export/htmlWrapper.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/Resources.h"
#include "graphics/Image.h"
#include "graphics/Sound.h"
#include "ui/ProgressRange.h"

PW_DEFINE_CLASS(TallowScribe, nullptr, nullptr, Scribe, SmartImplementation)
PW_DEFINE_COPY_SLOTS(TallowScribe)

namespace {

// Application strings (identifier 1000 + n) the export uses: the export folder's name and the
// page body's header and footer.
constexpr int32_t kExportFolderName = 5;
constexpr int32_t kBodyHeader = 19;
constexpr int32_t kBodyFooter = 20;
constexpr int32_t kBodyEnd = 21;

String ApplicationString(int32_t number)
{
    static Resources strings(1000, 3999);
    char text[256];
    strings.GetString(text, number, nullptr, nullptr, nullptr, nullptr);
    return String(text);
}

} // namespace

TallowScribe::TallowScribe(const SmartPtr<Scribe>& wrapped, const SmartPtr<FileReference>& documentFile)
    : wrapped(wrapped)
    , documentFile(documentFile)
{
    projectFolder = documentFile->Parent();
    CheckNotNull(projectFolder.Get(), PW_HERE);
}

// Made when first asked for, so that opening a page writes nothing: its folder may refuse writing.
SmartPtr<FileReference> TallowScribe::GetExportFolder()
{
    if (!exportFolder.Valid())
        exportFolder
            = FileReference::FileReferenceInFolder(*projectFolder.Get(), ApplicationString(kExportFolderName), true);
    return exportFolder;
}

TallowScribe::TallowScribe(const TallowScribe& other)
    : Smart()
    , Scribe(other)
    , SmartImplementation(other)
    , wrapped(other.wrapped)
    , documentFile(other.documentFile)
    , exportFolder(other.exportFolder)
    , projectFolder(other.projectFolder)
{
}

TallowScribe& TallowScribe::operator=(const TallowScribe& other)
{
    wrapped = other.wrapped;
    documentFile = other.documentFile;
    exportFolder = other.exportFolder;
    projectFolder = other.projectFolder;
    return *this;
}

TallowScribe::~TallowScribe() = default;

void TallowScribe::Write(const SmartPtr<Smart>& object)
{
    ProgressRange range(4, String("Saving"));
    range.Advance(1);
    wrapped->Write(object);
    range.Advance(1);
    try {
        documentFile->SetPreview(SmartPtr<Smart>());
    } catch (Exception*) {
        // The thumbnail is a convenience; the document is stored.
    }
    range.Advance(1);

    SmartPtr<FileReference> exports = GetExportFolder();
    // The page's links and its own export name come from one reading of the project's pages.
    pw::exporting::ExportNamesReading names(projectFolder);
    SmartPtr<htmlElement> root;
    if (auto* show = SmartCast<CShow>(object.Get()))
        root = WrapPageBody(MakePageMap(*show->GetMovie().Get(), projectFolder, exports).Get());
    String pageName;
    GetPageName(pageName);
    // The page's files are named as no other page of the project names its own, and the name stays
    // the page's, so removing what the previous export listed never touches another page's files.
    String exportName = pw::exporting::ClaimExportPageName(projectFolder, pageName);
    SmartList<FileReference> files;
    range.Advance(1);

    RemoveOldPageFiles(exportName, exports);
    if (root.Valid())
        root->WritePage(exportName, exports, files);
}

SmartPtr<Smart> TallowScribe::Read()
{
    return wrapped->Read();
}

bool TallowScribe::CanWrite()
{
    return wrapped->CanWrite();
}

bool TallowScribe::Accepts(const ClassInfo* record)
{
    return wrapped->Accepts(record);
}

SmartPtr<Smart> TallowScribe::MakePreview(int32_t, int32_t)
{
    return SmartPtr<Smart>();
}

void TallowScribe::GetPageName(String& name)
{
    documentFile->GetNameParts(name);
}

SmartPtr<ImageMap> TallowScribe::MakePageMap(CMovie& movie, const SmartPtr<FileReference>& projectFolder,
    const SmartPtr<FileReference>& exportFolder)
{
    Rect frame;
    movie.GetBounds(frame);
    Rect content;
    movie.GetFrameBounds(content, 0);
    content = content.IsEmpty() ? frame : content.Intersect(frame);
    SmartPtr<Image> picture = movie.MakeImage();
    SmartPtr<ImageMap> map = new ImageMap(picture);

    auto* group = SmartCast<CMovieGroup>(&movie);
    if (!group)
        return map;
    Rect target = picture->GetBounds();
    target.Offset(-target.left, -target.top);
    CXform transform(content, target);
    for (uint32_t index = group->NumSprites(); index-- > 0;) {
        if (CSprite* sprite = group->GetSprite(int16_t(index)))
            AddSpriteArea(*map.Get(), transform, *sprite, 0, projectFolder, exportFolder);
    }
    return map;
}

void TallowScribe::AddSpriteArea(ImageMap& map, CXform& transform, CSprite& sprite, int16_t frame,
    const SmartPtr<FileReference>& projectFolder, const SmartPtr<FileReference>&)
{
    if (!sprite.ShowsInFrames(frame, 1))
        return;
    CLink* link = sprite.LinkAtFrame(frame);
    Sound* sound = sprite.SoundAtFrame(frame);
    SmartPtr<LinkHREF> href;
    if (link)
        href = SmartCast<LinkHREF>(link->GetExportHREF(projectFolder.Get()).Get());
    if (sound)
        href = new SoundLink(SmartPtr<Sound>(sound));
    if (!href.Valid())
        return;
    Rect rect;
    sprite.GetFrameBounds(frame, &rect, nullptr);
    map.AddArea(transform.MapRect(rect), href);
}

SmartPtr<htmlElement> TallowScribe::WrapPageBody(const SmartPtr<htmlElement>& element)
{
    SmartList<htmlElement> elements;
    elements.Append(new RawHTML(ApplicationString(kBodyHeader)));
    elements.Append(element);
    elements.Append(new RawHTML(ApplicationString(kBodyFooter)));
    elements.Append(new RawHTML(ApplicationString(kBodyEnd)));
    return new htmlWrapper(elements);
}
