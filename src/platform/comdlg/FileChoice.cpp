#include "platform/comdlg/FileChoice.h"

#include "platform/kernel/PathMapper.h"

#include <cstring>

namespace pw::platform {

namespace {

std::string Text(LPCSTR text)
{
    return text ? text : "";
}

bool IsAbsolute(const std::string& path)
{
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

size_t NameStart(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? 0 : slash + 1;
}

} // namespace

FileDialogRequest FileDialogRequest::From(const OPENFILENAMEA& ofn, bool save)
{
    FileDialogRequest request;
    request.save = save;
    request.owner = ofn.hwndOwner;
    request.filters = FileFilter::Parse(ofn.lpstrFilter);
    request.filterIndex = ofn.nFilterIndex;
    request.flags = ofn.Flags;
    if (ofn.lpstrFile)
        request.initialFile.assign(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile));
    request.defaultExtension = Text(ofn.lpstrDefExt);
    request.initialFolder = Text(ofn.lpstrInitialDir);
    request.title = Text(ofn.lpstrTitle);
    return request;
}

std::string FileDialogRequest::StartFolder() const
{
    for (const std::string& candidate : { initialFolder, initialFile.substr(0, NameStart(initialFile)) }) {
        if (candidate.empty())
            continue;
        MappedPath mapped = PathMapper::Map(candidate.c_str());
        if (mapped.error == 0 && mapped.kind == MappedPath::Kind::Folder)
            return mapped.windowsPath;
    }
    return PathMapper::CurrentFolder();
}

std::string FileChoice::Complete(const std::string& typed, const std::string& folder, const std::string& defaultExtension)
{
    if (typed.empty())
        return {};
    std::string path = typed;
    if (!IsAbsolute(typed))
        path = folder + (!folder.empty() && folder.back() != '\\' ? "\\" : "") + typed;
    std::string extension = defaultExtension;
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    if (!extension.empty() && path.find('.', NameStart(path)) == std::string::npos)
        path += "." + extension;
    MappedPath mapped = PathMapper::Map(path.c_str());
    return mapped.error ? std::string() : mapped.windowsPath;
}

FileChoice::Verdict FileChoice::Check(const std::string& fullPath, DWORD flags)
{
    if (fullPath.empty())
        return Verdict::InvalidName;
    MappedPath mapped = PathMapper::Map(fullPath.c_str());
    if (mapped.error == ERROR_PATH_NOT_FOUND)
        return (flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) ? Verdict::FolderMissing : Verdict::Accepted;
    if (mapped.error)
        return Verdict::InvalidName;
    if (mapped.isRoot || mapped.kind == MappedPath::Kind::Folder)
        return Verdict::IsFolder;
    if (mapped.kind == MappedPath::Kind::Missing && (flags & OFN_FILEMUSTEXIST))
        return Verdict::FileMissing;
    return Verdict::Accepted;
}

bool FileChoice::WouldReplace(const std::string& fullPath)
{
    MappedPath mapped = PathMapper::Map(fullPath.c_str());
    return mapped.error == 0 && mapped.kind == MappedPath::Kind::File;
}

DWORD FileChoice::Deliver(OPENFILENAMEA& ofn, const std::string& fullPath)
{
    size_t needed = fullPath.size() + 1;
    if (ofn.nMaxFile < needed) {
        if (ofn.lpstrFile && ofn.nMaxFile >= sizeof(WORD)) {
            auto size = static_cast<WORD>(needed);
            std::memcpy(ofn.lpstrFile, &size, sizeof size);
        }
        return FNERR_BUFFERTOOSMALL;
    }
    std::memcpy(ofn.lpstrFile, fullPath.c_str(), needed);

    size_t nameStart = NameStart(fullPath);
    size_t dot = fullPath.rfind('.');
    bool hasDot = dot != std::string::npos && dot >= nameStart;
    ofn.nFileOffset = static_cast<WORD>(nameStart);
    // No extension: the offset of the closing NUL; a name ending in a dot: 0, as documented.
    if (!hasDot)
        ofn.nFileExtension = static_cast<WORD>(fullPath.size());
    else
        ofn.nFileExtension = static_cast<WORD>(dot + 1 == fullPath.size() ? 0 : dot + 1);

    ofn.Flags &= ~static_cast<DWORD>(OFN_EXTENSIONDIFFERENT);
    if (ofn.lpstrDefExt) {
        std::string extension = hasDot ? fullPath.substr(dot + 1) : std::string();
        if (!PathMapper::EqualsIgnoringCase(extension, ofn.lpstrDefExt))
            ofn.Flags |= OFN_EXTENSIONDIFFERENT;
    }

    if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
        size_t count = std::min<size_t>(fullPath.size() - nameStart, ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, fullPath.c_str() + nameStart, count);
        ofn.lpstrFileTitle[count] = '\0';
    }

    if (!(ofn.Flags & OFN_NOCHANGEDIR)) {
        MappedPath mapped = PathMapper::Map(fullPath.c_str());
        if (mapped.error == 0 && !mapped.components.empty()) {
            mapped.components.pop_back();
            PathMapper::SetCurrentFolder(mapped.components);
        }
    }
    return 0;
}

} // namespace pw::platform
