// The system clipboard: standard formats and the calls that open, fill and read it. Values and
// signatures are the documented ones.
#pragma once

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_DIB 8

BOOL WINAPI OpenClipboard(HWND hWndNewOwner);
BOOL WINAPI CloseClipboard(VOID);
BOOL WINAPI EmptyClipboard(VOID);
BOOL WINAPI IsClipboardFormatAvailable(UINT format);
HANDLE WINAPI GetClipboardData(UINT uFormat);
HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem);
DWORD WINAPI GetClipboardSequenceNumber(VOID);
