#include "foundation/FileReference.h"

#include "foundation/Alert.h"
#include "foundation/Archive.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileType.h"
#include "foundation/GuardedStream.h"
#include "foundation/Resources.h"
#include "foundation/Stream.h"
#include "foundation/UserCancelException.h"
#include "foundation/Utilities.h"

#include <cstring>
#include <string_view>

namespace {

constexpr int32_t kLocateMessage = 6; // "... refers to the file or folder called "%1", which I can't find ..."

struct StartupState {
    char folder[FileReference::kMaxPath] {};
    bool captured { false };
};

StartupState& Startup()
{
    static StartupState state;
    return state;
}

// A stored name is one component: anything that could name a place outside the document's
// folder is not looked for.
bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos
        && name.size() < FileReference::kMaxPath;
}

// The disk file an archive's stream reads, looking through the guard an object file reads
// through; null for a stream in memory.
File* FileBehind(Stream& stream)
{
    Stream* inner = &stream;
    while (auto* guarded = SmartCast<pw::foundation::GuardedStream>(inner))
        inner = guarded->GetInner();
    return inner ? SmartCast<File>(inner) : nullptr;
}

} // namespace

PW_DEFINE_CLASS(FileReference, &pw::foundation::CreateFunction<FileReference>, nullptr, Persistent, SmartImplementation)

constinit const PersistentVersion FileReference::version { &FileReference::classInfo, Fixed(0, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<FileReference> };

pw::foundation::FileReferenceServices& pw::foundation::GetFileReferenceServices()
{
    static FileReferenceServices services;
    return services;
}

PathSpec pw::foundation::ParsePath(const char* path)
{
    std::string_view text(path ? path : "");
    size_t n = text.size();
    size_t slash = text.rfind('\\');
    size_t dot = text.rfind('.');
    if (dot != std::string_view::npos && slash != std::string_view::npos && dot < slash)
        dot = std::string_view::npos;
    PathSpec parts;
    if (dot != std::string_view::npos && dot + 4 == n)
        parts.extension = FileType::ExtensionCode(path + dot + 1);
    if (text.find(':') == 1)
        parts.drive = text[0];
    size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    size_t nameEnd = dot == std::string_view::npos ? n : dot;
    parts.name.InsertChars(path + nameStart, 0, static_cast<uint32_t>(nameEnd - nameStart));
    if (slash != std::string_view::npos)
        parts.folder.InsertChars(path, 0, static_cast<uint32_t>(slash));
    return parts;
}

bool pw::foundation::BuildPath(std::string& path, const char* folder, const char* name, uint32_t extension)
{
    std::string built(folder ? folder : "");
    if (built.empty() || built.back() != '\\')
        built += '\\';
    built += name ? name : "";
    if (extension != 0) {
        char text[4];
        FileType::ExtensionText(extension, text);
        built += '.';
        built += text;
    }
    if (built.size() >= FileReference::kMaxPath)
        return false;
    path = std::move(built);
    return true;
}

const char* pw::foundation::LastComponent(const char* path)
{
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

bool pw::foundation::EqualPaths(const char* a, const char* b)
{
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (; *a && *b; ++a, ++b) {
        if (fold(*a) != fold(*b))
            return false;
    }
    return *a == *b;
}

void pw::foundation::ForgetStartupFolder()
{
    Startup() = StartupState();
}

FileReference::FileReference()
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

FileReference::FileReference(Empty)
{
}

FileReference::FileReference(const char* path)
{
    if (path) {
        SetPath(path);
        needsLocating = false;
    }
}

// A copy of a lost reference stays lost: its path is only a stored name.
FileReference::FileReference(const FileReference& other)
    : Persistent(other)
    , SmartImplementation(other)
{
    if (other.spec)
        SetPath(other.spec.get());
    needsLocating = other.needsLocating;
}

FileReference& FileReference::operator=(const FileReference& other)
{
    if (&other == this)
        return *this;
    if (other.spec)
        SetPath(other.spec.get());
    else
        ClearPath();
    needsLocating = other.needsLocating;
    return *this;
}

FileReference::~FileReference() = default;

bool FileReference::CanCopyFrom(Smart* source)
{
    return SmartCast(source, &classInfo) != nullptr;
}

void FileReference::CopyFrom(Smart* source)
{
    auto* castPtr = static_cast<FileReference*>(SmartCast(source, &classInfo));
    if (!castPtr)
        AssertionFailed("castPtr", PW_HERE);
    *this = *castPtr;
}

Smart* FileReference::Copy() const
{
    return new FileReference(*this);
}

SmartPtr<FileReference> FileReference::FileReferenceFromPath(const char* path)
{
    return SmartPtr<FileReference>(new FileReference(path));
}

SmartPtr<FileReference> FileReference::FileReferenceCopy(const FileReference& other)
{
    return SmartPtr<FileReference>(new FileReference(other));
}

void FileReference::ClearPath()
{
    spec.reset();
    parts.reset();
}

// A path that does not fit is refused: cutting it would name another item.
void FileReference::SetPath(const char* path)
{
    if (!path) {
        ClearPath();
        return;
    }
    size_t length = std::strlen(path);
    if (length >= kMaxPath) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        CheckCall(false, PW_HERE);
    }
    auto buffer = std::make_unique<char[]>(kMaxPath);
    std::memcpy(buffer.get(), path, length + 1);
    spec = std::move(buffer);
    parts.reset();
}

bool FileReference::IsFolder()
{
    DWORD attributes = GetFileAttributesA(Path());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        SetLastError(NO_ERROR);
    return attributes & FILE_ATTRIBUTE_DIRECTORY;
}

bool FileReference::IsWritable()
{
    DWORD attributes = GetFileAttributesA(Path());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        SetLastError(NO_ERROR);
        return false;
    }
    return !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool FileReference::Exists()
{
    DWORD attributes = GetFileAttributesA(Path());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        SetLastError(NO_ERROR);
    return attributes != INVALID_FILE_ATTRIBUTES;
}

// An item that cannot be opened as a file holds no bytes.
bool FileReference::IsEmpty()
{
    File file(*this, File::kRead);
    return !file.IsOpen() || file.AtEnd();
}

bool FileReference::IsOfType(const FileType& type)
{
    if (!spec)
        return false;
    Resolve();
    return type.Matches(*this);
}

const PathSpec& FileReference::GetParts()
{
    Resolve();
    if (!spec)
        AssertionFailed("spec != NULL", PW_HERE);
    if (!parts)
        parts = std::make_unique<PathSpec>(pw::foundation::ParsePath(spec.get()));
    return *parts;
}

void FileReference::GetName(String& name)
{
    if (!spec) {
        name.SetChars("");
        return;
    }
    GetParts();
    name.SetChars(pw::foundation::LastComponent(spec.get()));
}

String FileReference::Name()
{
    String name;
    GetName(name);
    return name;
}

uint32_t FileReference::GetNameParts(String& name)
{
    GetName(name);
    uint32_t dot = name.Find(String("."), name.Length(), String::kBackward);
    if (dot == 0)
        return 0;
    char extension[4] {};
    String after(name, dot + 1, name.Length() - dot);
    after.GetCString(extension, sizeof extension);
    name = String(name, 1, dot - 1);
    return extension[0] ? FileType::ExtensionCode(extension) : 0;
}

bool FileReference::GetPathName(char* buffer)
{
    CopyBounded(Path(), buffer, kMaxPath);
    return true;
}

// The parent of an item at a drive's root is that root ("c:\"), not the bare drive.
SmartPtr<FileReference> FileReference::Parent()
{
    if (!spec)
        return SmartPtr<FileReference>(new FileReference(Empty {}));
    Resolve();
    std::string folder = pw::foundation::TextOf(GetParts().folder);
    if (!folder.empty() && folder.back() == ':')
        folder += '\\';
    return SmartPtr<FileReference>(new FileReference(folder.c_str()));
}

HANDLE FileReference::Open(uint8_t mode)
{
    Resolve();
    return OpenOSFile(Path(), mode, OPEN_EXISTING);
}

void FileReference::CloseOSFile(HANDLE handle)
{
    CheckCall(CloseHandle(handle), PW_HERE);
}

HANDLE FileReference::OpenOSFile(const char* path, uint8_t mode, DWORD disposition)
{
    DWORD access = 0;
    if (mode & File::kRead)
        access |= GENERIC_READ;
    if (mode & File::kWrite)
        access |= GENERIC_WRITE;
    SECURITY_ATTRIBUTES security { sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE };
    HANDLE handle = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security, disposition,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = GetLastError();
    if (error == ERROR_INVALID_PARAMETER || error == ERROR_ALREADY_EXISTS
        || (disposition == OPEN_EXISTING && error == ERROR_DIRECTORY))
        SetLastError(NO_ERROR);
    CheckCall(handle != INVALID_HANDLE_VALUE, PW_HERE);
    return handle;
}

bool FileReference::operator==(FileReference& other)
{
    if (spec == other.spec)
        return true;
    if (!spec || !other.spec)
        return false;
    GetParts();
    other.GetParts();
    return pw::foundation::EqualPaths(spec.get(), other.spec.get());
}

FileReference FileReference::StartupFolder()
{
    StartupState& state = Startup();
    if (!state.captured) {
        CheckNonZero(GetCurrentDirectoryA(kMaxPath, state.folder), PW_HERE);
        state.captured = true;
    }
    return FileReference(state.folder);
}

FileReference FileReference::CurrentFolder()
{
    char folder[kMaxPath];
    DWORD length = GetCurrentDirectoryA(kMaxPath, folder);
    if (GetLastError() == ERROR_INVALID_PARAMETER)
        SetLastError(NO_ERROR);
    CheckNonZero(length, PW_HERE);
    return FileReference(folder);
}

void FileReference::SetAsCurrentDirectory(FileReference& folder)
{
    if (folder.IsFolder())
        CheckCall(SetCurrentDirectoryA(folder.Path()), PW_HERE);
}

void FileReference::Resolve()
{
    if (!needsLocating || !spec)
        return;
    PathSpec lost = pw::foundation::ParsePath(spec.get());
    char name[FileReference::kMaxPath];
    lost.name.GetCString(name, sizeof name);
    char message[kMessageSize];
    Resources(190, 199).GetString(message, kLocateMessage, name, nullptr, nullptr, nullptr);
    if (Alert(Alert::kExclamation, Alert::kOkCancel, message) == Alert::kAnswerCancel)
        ThrowPointer(SmartPtr<Exception>(new UserCancelException));
    std::string chosen = OpenDialog(SmartList<FileType>());
    SetPath(chosen.c_str());
    needsLocating = false;
}

void FileReference::LocateIfGone()
{
    if (spec && !needsLocating && !Exists())
        needsLocating = true;
    Resolve();
}

// Stored: the item's name alone. Read: that name beside the file being read (or in the start-up
// folder when the archive reads no file); an item not there leaves the reference lost.
FileReference::FileReference(ArchiveScope& scope)
{
    ArchiveScope nameScope(scope, String::version);
    String storedName(nameScope);
    std::string name = pw::foundation::TextOf(storedName);
    if (!IsPlainName(name))
        return;
    SmartPtr<FileReference> base;
    if (File* file = FileBehind(scope.GetArchive().GetStream()))
        base = file->GetFileReference()->Parent();
    else
        base = new FileReference(StartupFolder());
    try {
        SmartPtr<FileReference> found = FileReferenceInFolder(*base.Get(), storedName, false);
        SetPath(found->Path());
        needsLocating = false;
    } catch (Exception*) {
        SetPath(name.c_str());
        needsLocating = true;
    }
}

// A lost reference stores the name it was read with, without asking for its item: a document
// that refers to a missing file is saved as it is.
void FileReference::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    String name(pw::foundation::LastComponent(Path()));
    scope.Put(name);
}

uint16_t ProjectNameMaxLength()
{
    auto probe = pw::foundation::GetFileReferenceServices().isFullWin32;
    return probe && probe() ? 8 : 32;
}
