#include "platform/comdlg/FileDialog.h"

#include "platform/backend/Backend.h"
#include "platform/kernel/PathMapper.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/menus/DialogLoop.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace pw::platform {

namespace {

constexpr const char* kDialogClass = "PwFileDialog";
constexpr SIZE kClientSize { 440, 290 };
constexpr const char* kParentFolder = "..";

struct Dialog {
    const FileDialogRequest* request { nullptr };
    HWND hwnd { nullptr };
    HFONT font { nullptr };
    std::string title;
    // The folder shown, in Windows form.
    std::string folder;
    // A pattern typed into the name field; it replaces the chosen filter's until another is chosen.
    std::string typedPattern;
    size_t filter { 0 };
    std::vector<std::string> folders;
    std::vector<std::string> files;
    bool finished { false };
    std::optional<std::string> chosen;

    HWND Item(int id) const { return GetDlgItemOf(hwnd, id); }

    static HWND GetDlgItemOf(HWND parent, int id)
    {
        for (HWND child : WindowTable::Handles()) {
            const Window* window = WindowTable::Find(child);
            if (window && window->IsChild() && window->Parent() == parent && window->idOrMenu == id)
                return child;
        }
        return nullptr;
    }
};

Dialog* DialogOf(HWND hwnd)
{
    return reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

bool IsPattern(const std::string& text)
{
    return text.find_first_of("*?") != std::string::npos;
}

std::string TextOf(HWND hwnd)
{
    char buffer[MAX_PATH + 1] = "";
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    std::string text = buffer;
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder + (!folder.empty() && folder.back() == '\\' ? "" : "\\") + name;
}

void FillList(HWND list, const std::vector<std::string>& items)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

std::string SelectedText(HWND list)
{
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return {};
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// The folder's path in lines that fit the folder label, each ending after a backslash where the
// next part would run past the label's right edge, so the whole path shows (a part wider than the
// label keeps a line of its own).
std::string FolderLines(const Dialog& dialog, const std::string& path)
{
    HWND label = dialog.Item(FileDialog::kFolderLabel);
    RECT client {};
    GetClientRect(label, &client);
    HDC dc = GetDC(label);
    HGDIOBJ previous = dialog.font ? SelectObject(dc, dialog.font) : nullptr;
    auto width = [dc](const std::string& text) {
        SIZE size {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    };
    std::string lines;
    std::string line;
    for (size_t start = 0; start < path.size();) {
        size_t slash = path.find('\\', start);
        size_t end = slash == std::string::npos ? path.size() : slash + 1;
        std::string part = path.substr(start, end - start);
        if (!line.empty() && width(line + part) > client.right) {
            lines += line + "\n";
            line.clear();
        }
        line += part;
        start = end;
    }
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return lines + line;
}

// Lists the folder shown: ".." (below the root) and its sub-folders, and the files the pattern in
// use matches, each sorted without regard to case.
void Refresh(Dialog& dialog)
{
    dialog.folders.clear();
    dialog.files.clear();
    std::string patterns = !dialog.typedPattern.empty() ? dialog.typedPattern
        : dialog.request->filters.empty()              ? "*.*"
                                                       : dialog.request->filters[dialog.filter].patterns;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Join(dialog.folder, "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            dialog.folders.push_back(name);
        else if (FileFilter::Matches(patterns, name))
            dialog.files.push_back(name);
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    std::sort(dialog.folders.begin(), dialog.folders.end(), LessIgnoringCase);
    std::sort(dialog.files.begin(), dialog.files.end(), LessIgnoringCase);
    if (!PathMapper::Map(dialog.folder.c_str()).isRoot)
        dialog.folders.insert(dialog.folders.begin(), kParentFolder);
    FillList(dialog.Item(FileDialog::kFolderList), dialog.folders);
    FillList(dialog.Item(FileDialog::kFileList), dialog.files);
    SetWindowTextA(dialog.Item(FileDialog::kFolderLabel), FolderLines(dialog, dialog.folder).c_str());
}

bool OpenFolder(Dialog& dialog, const std::string& path)
{
    MappedPath mapped = PathMapper::Map(path.c_str());
    if (mapped.error || mapped.kind != MappedPath::Kind::Folder)
        return false;
    dialog.folder = mapped.windowsPath;
    Refresh(dialog);
    return true;
}

std::string Explanation(FileChoice::Verdict verdict, const std::string& typed, const std::string& full)
{
    switch (verdict) {
    case FileChoice::Verdict::FileMissing: return full + "\nThis file does not exist.\nCheck the name and try again.";
    case FileChoice::Verdict::FolderMissing: return full + "\nThis folder does not exist.\nCheck the path and try again.";
    default: return typed + "\nThis is not a valid file name.";
    }
}

// The name field with its text selected, so the next name typed replaces it.
void SelectField(HWND field)
{
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

// OK with the name typed: a pattern filters, a folder opens, a file name goes through the rules.
void Accept(Dialog& dialog)
{
    HWND field = dialog.Item(FileDialog::kNameField);
    std::string typed = TextOf(field);
    if (typed.empty())
        return;
    if (IsPattern(typed)) {
        size_t slash = typed.find_last_of("\\/");
        dialog.typedPattern = typed.substr(slash == std::string::npos ? 0 : slash + 1);
        std::string folder = slash == std::string::npos ? "" : FileChoice::Complete(typed.substr(0, slash + 1), dialog.folder, "");
        if (folder.empty() || !OpenFolder(dialog, folder))
            Refresh(dialog);
        return;
    }
    std::string asFolder = FileChoice::Complete(typed, dialog.folder, "");
    if (!asFolder.empty() && OpenFolder(dialog, asFolder)) {
        SetWindowTextA(field, "");
        return;
    }
    const FileDialogRequest& request = *dialog.request;
    std::string full = FileChoice::Complete(typed, dialog.folder, request.defaultExtension);
    FileChoice::Verdict verdict = FileChoice::Check(full, request.flags);
    if (verdict != FileChoice::Verdict::Accepted) {
        MessageBoxA(dialog.hwnd, Explanation(verdict, typed, full).c_str(), dialog.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        SelectField(field);
        return;
    }
    if (request.save && (request.flags & OFN_OVERWRITEPROMPT) && FileChoice::WouldReplace(full)) {
        std::string question = full + " already exists.\nDo you want to replace it?";
        if (MessageBoxA(dialog.hwnd, question.c_str(), dialog.title.c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
            SelectField(field);
            return;
        }
    }
    dialog.chosen = full;
    dialog.finished = true;
}

void OnCommand(Dialog& dialog, int id, int code)
{
    switch (id) {
    case IDOK:
        if (GetFocus() == dialog.Item(FileDialog::kFolderList)) {
            std::string name = SelectedText(dialog.Item(FileDialog::kFolderList));
            if (!name.empty())
                OpenFolder(dialog, Join(dialog.folder, name));
        } else {
            Accept(dialog);
        }
        break;
    case IDCANCEL:
        dialog.finished = true;
        break;
    case FileDialog::kFileList:
        if (code == LBN_SELCHANGE)
            SetWindowTextA(dialog.Item(FileDialog::kNameField), SelectedText(dialog.Item(FileDialog::kFileList)).c_str());
        else if (code == LBN_DBLCLK)
            Accept(dialog);
        break;
    case FileDialog::kFolderList:
        if (code == LBN_DBLCLK) {
            std::string name = SelectedText(dialog.Item(FileDialog::kFolderList));
            if (!name.empty())
                OpenFolder(dialog, Join(dialog.folder, name));
        }
        break;
    case FileDialog::kFilterList:
        if (code == LBN_SELCHANGE) {
            LRESULT index = SendMessageA(dialog.Item(FileDialog::kFilterList), LB_GETCURSEL, 0, 0);
            if (index != LB_ERR) {
                dialog.filter = static_cast<size_t>(index);
                dialog.typedPattern.clear();
                Refresh(dialog);
            }
        }
        break;
    default:
        break;
    }
}

LRESULT CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* dialog = DialogOf(hwnd);
    if (dialog && message == WM_COMMAND) {
        OnCommand(*dialog, LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    if (dialog && message == WM_CLOSE) {
        dialog->finished = true;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void EnsureDialogClass()
{
    if (WindowClass::Find(kDialogClass))
        return;
    WNDCLASSA wc {};
    wc.lpfnWndProc = DialogProcedure;
    wc.hInstance = ProgramInstance();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kDialogClass;
    RegisterClassA(&wc);
}

// Makes the controls; the tab order, or empty when one could not be made.
std::vector<HWND> Build(Dialog& dialog)
{
    struct Part {
        const char* className;
        const char* text;
        DWORD style;
        RECT rect;
        int id;
        bool tabStop;
    };
    constexpr DWORD kList = WS_BORDER | WS_VSCROLL | LBS_NOTIFY;
    constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
    const Part parts[] = {
        { "STATIC", "File name:", kLabel, { 12, 10, 220, 24 }, -1, false },
        { "EDIT", "", WS_BORDER | ES_AUTOHSCROLL, { 12, 26, 220, 46 }, FileDialog::kNameField, true },
        { "LISTBOX", "", kList, { 12, 54, 220, 214 }, FileDialog::kFileList, true },
        { "STATIC", "Folders:", kLabel, { 232, 10, 428, 24 }, -1, false },
        // Three lines of path, and the folder list below them.
        { "STATIC", "", kLabel, { 232, 28, 428, 76 }, FileDialog::kFolderLabel, false },
        { "LISTBOX", "", kList, { 232, 80, 428, 214 }, FileDialog::kFolderList, true },
        { "STATIC", "Files of type:", kLabel, { 12, 222, 220, 236 }, -1, false },
        { "LISTBOX", "", kList, { 12, 238, 220, 280 }, FileDialog::kFilterList, true },
        { "BUTTON", dialog.request->save ? "Save" : "Open", BS_DEFPUSHBUTTON, { 272, 238, 347, 261 }, IDOK, true },
        { "BUTTON", "Cancel", BS_PUSHBUTTON, { 353, 238, 428, 261 }, IDCANCEL, true },
    };
    std::vector<HWND> tabOrder;
    for (const Part& part : parts) {
        HWND control = MakeControl(dialog.hwnd, part.className, part.text, part.style, part.rect, part.id, dialog.font);
        if (!control)
            return {};
        if (part.tabStop)
            tabOrder.push_back(control);
    }
    return tabOrder;
}

} // namespace

std::optional<std::string> FileDialog::Run(const FileDialogRequest& request, DWORD& filterIndex, DWORD& error)
{
    // Listing folders leaves search codes behind; the caller sees the last error it had.
    DWORD lastError = GetLastError();
    Dialog dialog;
    dialog.request = &request;
    dialog.title = !request.title.empty() ? request.title : request.save ? "Save As" : "Open";
    if (!request.filters.empty())
        dialog.filter = std::clamp<size_t>(filterIndex, 1, request.filters.size()) - 1;
    EnsureDialogClass();
    dialog.hwnd = CreateWindowExA(WS_EX_DLGMODALFRAME, kDialogClass, dialog.title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0, 0, kClientSize.cx, kClientSize.cy, request.owner, nullptr, ProgramInstance(), nullptr);
    if (!dialog.hwnd) {
        error = CDERR_DIALOGFAILURE;
        SetLastError(lastError);
        return std::nullopt;
    }
    dialog.font = CreateDialogFont();
    SetWindowLongPtrA(dialog.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dialog));
    PlaceDialog(dialog.hwnd, request.owner, kClientSize);
    std::vector<HWND> tabOrder = Build(dialog);
    bool shown = !tabOrder.empty();
    if (shown) {
        std::vector<std::string> filterNames;
        for (const FilterPair& pair : request.filters)
            filterNames.push_back(pair.name);
        FillList(dialog.Item(kFilterList), filterNames);
        SendMessageA(dialog.Item(kFilterList), LB_SETCURSEL, dialog.filter, 0);
        std::string initialName = request.initialFile.substr(request.initialFile.find_last_of("\\/") + 1);
        if (IsPattern(initialName))
            dialog.typedPattern = initialName;
        dialog.folder = request.StartFolder();
        Refresh(dialog);
        HWND field = dialog.Item(kNameField);
        SetWindowTextA(field, initialName.c_str());
        ShowWindow(dialog.hwnd, SW_SHOW);
        SelectField(field);
        DialogLoop loop(dialog.hwnd, tabOrder, IDOK);
        loop.Run([&] { return dialog.finished || !IsWindow(dialog.hwnd); });
    }
    if (IsWindow(dialog.hwnd)) {
        SetWindowLongPtrA(dialog.hwnd, GWLP_USERDATA, 0);
        DestroyWindow(dialog.hwnd);
    }
    DeleteObject(dialog.font);
    SetLastError(lastError);
    if (!shown) {
        error = CDERR_DIALOGFAILURE;
        return std::nullopt;
    }
    if (!request.filters.empty())
        filterIndex = static_cast<DWORD>(dialog.filter + 1);
    return dialog.chosen;
}

} // namespace pw::platform
