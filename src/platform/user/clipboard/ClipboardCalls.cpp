// The clipboard calls. One clipboard for the process, kept in memory (ClipboardStore); its text is
// the backend's clipboard text, so on the SDL backend it is the desktop's.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/clipboard/ClipboardStore.h"

using pw::platform::ClipboardStore;
using pw::platform::Fail;

namespace {

bool IsKnownFormat(UINT format)
{
    return format == CF_TEXT || format == CF_BITMAP || format == CF_DIB;
}

// A text or DIB must be a live global block, a bitmap a live bitmap.
bool IsDataHandle(UINT format, HANDLE handle)
{
    DWORD saved = GetLastError();
    bool valid;
    if (format == CF_BITMAP) {
        BITMAP info {};
        valid = GetObjectA(handle, sizeof info, &info) != 0;
    } else {
        valid = GlobalLock(handle) != nullptr;
        if (valid)
            GlobalUnlock(handle);
    }
    SetLastError(saved);
    return valid;
}

} // namespace

// Opens the clipboard for `hWndNewOwner` (NULL: for the program); FALSE with 5 while another
// window holds it open, with 1400 for a window that does not exist.
BOOL WINAPI OpenClipboard(HWND hWndNewOwner)
{
    ClipboardStore& store = ClipboardStore::Get();
    if (hWndNewOwner && !IsWindow(hWndNewOwner))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (store.IsOpen() && store.OpenedBy() != hWndNewOwner)
        return Fail(ERROR_ACCESS_DENIED, FALSE);
    store.Open(hWndNewOwner);
    return TRUE;
}

// FALSE with 1418 when the clipboard is not open.
BOOL WINAPI CloseClipboard(VOID)
{
    ClipboardStore& store = ClipboardStore::Get();
    if (!store.IsOpen())
        return Fail(ERROR_CLIPBOARD_NOT_OPEN, FALSE);
    store.Close();
    return TRUE;
}

// Frees every format's data; the opener becomes the clipboard's owner. FALSE with 1418 when not open.
BOOL WINAPI EmptyClipboard(VOID)
{
    ClipboardStore& store = ClipboardStore::Get();
    if (!store.IsOpen())
        return Fail(ERROR_CLIPBOARD_NOT_OPEN, FALSE);
    store.Empty();
    return TRUE;
}

// Asked without opening. CF_BITMAP and CF_DIB are each available whenever the other is.
BOOL WINAPI IsClipboardFormatAvailable(UINT format)
{
    ClipboardStore& store = ClipboardStore::Get();
    if (!store.IsOpen())
        store.SyncWithBackend();
    if (format == CF_TEXT)
        return store.Has(CF_TEXT);
    if (format == CF_BITMAP || format == CF_DIB)
        return store.Has(CF_BITMAP) || store.Has(CF_DIB);
    return FALSE;
}

// The format's data, owned by the clipboard: CF_TEXT a global block of text and a NUL, CF_DIB a
// global block holding a packed DIB, CF_BITMAP a bitmap (made from the DIB when only that was
// put). NULL when absent; NULL with 1418 when the clipboard is not open.
HANDLE WINAPI GetClipboardData(UINT uFormat)
{
    ClipboardStore& store = ClipboardStore::Get();
    if (!store.IsOpen())
        return Fail(ERROR_CLIPBOARD_NOT_OPEN, HANDLE(nullptr));
    return store.Data(uFormat);
}

// Hands `hMem` to the clipboard, replacing that format's data; it belongs to the clipboard from
// then on. Returns hMem; NULL with 1418 when not open, with 87 for another format or a NULL handle
// (no delayed rendering), with 6 for a handle of the wrong kind.
HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem)
{
    ClipboardStore& store = ClipboardStore::Get();
    if (!store.IsOpen())
        return Fail(ERROR_CLIPBOARD_NOT_OPEN, HANDLE(nullptr));
    if (!IsKnownFormat(uFormat) || !hMem)
        return Fail(ERROR_INVALID_PARAMETER, HANDLE(nullptr));
    if (!IsDataHandle(uFormat, hMem))
        return Fail(ERROR_INVALID_HANDLE, HANDLE(nullptr));
    store.Put(uFormat, hMem);
    return hMem;
}

// Grows with every change of the contents, the program's own and other programs' alike.
DWORD WINAPI GetClipboardSequenceNumber(VOID)
{
    ClipboardStore& store = ClipboardStore::Get();
    if (!store.IsOpen())
        store.SyncWithBackend();
    return store.Sequence();
}
