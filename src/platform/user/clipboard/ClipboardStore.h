// The system clipboard's state: which formats it holds (as the handles put there, which it owns),
// the data it made on request from another format, who has it open and who owns it, and the
// change counter. CF_TEXT is shared with the backend's clipboard text: a text put here is handed
// to the backend, and a backend text that changed behind the clipboard's back (another program on
// the desktop) replaces the contents the next time the clipboard is looked at while closed.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace pw::platform {

class ClipboardStore {
public:
    static ClipboardStore& Get();

    bool IsOpen() const { return open; }
    HWND OpenedBy() const { return openedBy; }
    void Open(HWND window);
    void Close() { open = false; }

    // Frees every handle; the opener becomes the owner. Counts as a change.
    void Empty();
    // Replaces the format's data with `handle` (freeing what it replaces) and drops the data made
    // from other formats. Counts as a change.
    void Put(UINT format, HANDLE handle);
    bool Has(UINT format) const { return data.count(format) != 0; }
    // The handle put for the format, or one made from a format it can be made from, or NULL.
    HANDLE Data(UINT format);
    DWORD Sequence() const { return sequence; }

    // Takes over a backend text that changed since it was last seen (only while closed).
    void SyncWithBackend();

    // The text of a CF_TEXT block up to its NUL (bounded by the block), or nullopt.
    static std::optional<std::string> TextOf(HANDLE block);
    // A new moveable block holding the text and a NUL.
    static HGLOBAL BlockOf(const std::string& text);

    // Forgets everything without freeing (the kernel and GDI resets free the handles themselves).
    void Reset();

private:
    void Release(HANDLE handle, UINT format);
    void ReleaseMade();
    void ReleaseAll();
    void ChangeBackendText(const std::string& text);

    bool open { false };
    HWND openedBy { nullptr };
    HWND owner { nullptr };
    DWORD sequence { 0 };
    std::map<UINT, HANDLE> data;
    std::map<UINT, HANDLE> made;
    // The backend's text as last seen, in the backend's encoding.
    std::optional<std::string> backendText;
};

} // namespace pw::platform
