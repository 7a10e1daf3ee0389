#pragma once

#include "platform/comdlg/FileFilter.h"

#include <commdlg.h>

#include <string>
#include <vector>

namespace pw::platform {

// What a file dialog was asked for, read from its OPENFILENAMEA; tests see it in the log.
struct FileDialogRequest {
    bool save { false };
    HWND owner { nullptr };
    std::vector<FilterPair> filters;
    DWORD filterIndex { 0 };
    DWORD flags { 0 };
    std::string initialFile;
    std::string defaultExtension;
    std::string initialFolder;
    std::string title;

    static FileDialogRequest From(const OPENFILENAMEA& ofn, bool save);

    // The folder the dialog opens in: lpstrInitialDir when it exists, else the folder of a path
    // in lpstrFile when that exists, else the current folder. Typed names are relative to it.
    std::string StartFolder() const;
};

// The rules an answer of either dialog (scripted or shown) goes through: the name typed is
// completed (default extension, the folder shown), checked against the flags, and handed back in
// the record, with the current folder moved to the chosen file's folder.
class FileChoice {
public:
    enum class Verdict {
        Accepted,
        InvalidName,   // no name, a character Windows refuses, or too long
        FolderMissing, // OFN_PATHMUSTEXIST (or OFN_FILEMUSTEXIST) and the folder does not exist
        FileMissing,   // OFN_FILEMUSTEXIST and no such file
        IsFolder,      // the name is that of a folder
    };

    // The full Windows path of `typed` as the dialog reads it: relative to `folder` unless it
    // names its own root or drive, with the default extension appended when the last name has no
    // dot. Empty when the path cannot be mapped.
    static std::string Complete(const std::string& typed, const std::string& folder, const std::string& defaultExtension);

    static Verdict Check(const std::string& fullPath, DWORD flags);

    // Whether saving to `fullPath` would replace a file (the overwrite question's condition).
    static bool WouldReplace(const std::string& fullPath);

    // Writes the chosen path into the record (lpstrFile, nFileOffset, nFileExtension, the file
    // title, OFN_EXTENSIONDIFFERENT) and moves the current folder unless OFN_NOCHANGEDIR. Returns
    // 0, or FNERR_BUFFERTOOSMALL (with the size needed in lpstrFile's first two bytes).
    static DWORD Deliver(OPENFILENAMEA& ofn, const std::string& fullPath);
};

} // namespace pw::platform
