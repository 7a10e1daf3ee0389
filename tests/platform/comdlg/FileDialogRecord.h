// What the open and save dialog tests share: the record the program fills for its dialogs, and
// the current folder the dialogs move.
#pragma once

#include <commdlg.h>
#include <windows.h>

#include <string>

namespace pw::platform::tests {

// The program's record: its page filter, a name buffer, `flags` and a default extension.
struct OpenRecord {
    char file[MAX_PATH] = "";
    char title[MAX_PATH] = "";
    OPENFILENAMEA ofn {};

    explicit OpenRecord(DWORD flags = OFN_FILEMUSTEXIST, const char* defaultExtension = "htm")
    {
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = "Pages (*.htm)\0*.htm\0All Files (*.*)\0*.*\0\0";
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.Flags = flags;
        ofn.lpstrDefExt = defaultExtension;
    }
};

inline std::string CurrentFolder()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

} // namespace pw::platform::tests
