#include "export/SoundLink.h"

#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/File.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "graphics/Sound.h"
#include "graphics/WAVEFile.h"
#include "ui/ProgressRange.h"

PW_DEFINE_CLASS(SoundLink, nullptr, nullptr, LinkHREF)
PW_DEFINE_COPY_SLOTS(SoundLink)

constinit const PersistentVersion SoundLink::version { &SoundLink::classInfo, Fixed(1, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<SoundLink> };

SoundLink::SoundLink(const SmartPtr<Sound>& sound)
    : LinkHREF(String(), String("Sound"))
    , sound(sound)
{
}

SoundLink::SoundLink(ArchiveScope& scope)
    : LinkHREF(String(), String("Sound"))
{
    {
        ArchiveScope link(scope, LinkHREF::version);
        ReadFields(link);
    }
    sound = pw::engine::ReadReference<Sound>(scope);
}

SoundLink::SoundLink(const SoundLink& other)
    : Smart()
    , LinkHREF(other)
    , sound(other.sound)
{
}

SoundLink& SoundLink::operator=(const SoundLink& other)
{
    LinkHREF::operator=(other);
    sound = other.sound;
    return *this;
}

SoundLink::~SoundLink() = default;

void SoundLink::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    {
        ArchiveScope link(scope, LinkHREF::version);
        WriteFields(link);
    }
    scope.WriteObject(sound.Get());
}

void SoundLink::WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
    Stream& out)
{
    ProgressRange range(2, String("Making Pages"));
    range.AdvanceWithText(String("Making Sound File"), 1);
    const FileType& waveType = WAVEFile::GetFileType();
    String name(pageName);
    folder->UniqueName(name, waveType);
    SmartPtr<FileReference> reference
        = FileReference::FileReferenceCreate(waveType, FileCreatorType::Unknown(), *folder.Get(), name, true);
    files.Append(reference);
    {
        SmartPtr<Stream> file = new File(*reference.Get(), File::kRead | File::kWrite);
        SmartPtr<WAVEFile>(new WAVEFile(file))->Write(SmartPtr<Smart>(sound.Get()));
    }
    range.AdvanceWithText(String("Making HTML"), 1);
    out << pw::exporting::EscapedHTML(reference->Name());
}
