#include "foundation/Resources.h"

#include "foundation/Exception.h"
#include "foundation/Utilities.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

HINSTANCE& OsApp()
{
    static HINSTANCE osApp = nullptr;
    return osApp;
}

// The list's handle of a number (entry number + 1), made on first request.
template <typename Handle>
SmartPtr<Handle> CachedHandle(SmartList<Handle>& handles, Resources* owner, int16_t number)
{
    uint32_t entry = static_cast<uint32_t>(number) + 1;
    if (handles.NumItems() < entry)
        handles.InsertItems(nullptr, handles.NumItems(), entry - handles.NumItems());
    SmartPtr<Handle> handle(handles.Item(entry));
    if (!handle.Valid()) {
        handle = new Handle(owner, number);
        handles.Replace(handle.Get(), entry, 1);
    }
    return handle;
}

template <typename Handle>
void OrphanAll(SmartList<Handle>& handles)
{
    for (uint32_t index = 1; index <= handles.NumItems(); ++index) {
        if (Handle* handle = handles.Item(index))
            handle->Orphan();
    }
}

} // namespace

Resources::Resources(int32_t first, int32_t last)
    : first(first)
    , span(last - first)
{
}

// Handles held elsewhere may outlive the set; they are told, rather than left pointing at it.
Resources::~Resources()
{
    OrphanAll(sounds);
    OrphanAll(images);
}

void Resources::CheckId(int32_t number, int32_t span)
{
    if (number < 0 || number > span)
        ThrowError("Resource id not in this set of resources.", PW_HERE);
}

// Composing leaves the operating system's pending error as it found it: a message shown between a
// failing call and its check must not change what the check reports.
void Resources::GetString(char* destination, int32_t number, const char* arg1, const char* arg2,
    const char* arg3, const char* arg4) const
{
    CheckId(number, span);
    char templateText[kMessageSize] = "Unknown Error";
    int32_t id = first + number;
    DWORD pendingError = GetLastError();
    if (LoadStringA(nullptr, static_cast<UINT>(id), templateText, kMessageSize) == 0) {
        SetLastError(pendingError);
        std::string message = "String Resource Missing " + std::to_string(id);
        ThrowError(message.substr(0, 255).c_str(), PW_HERE);
    }

    // Every insert a template may name (%1 to %99) has an entry; those past the fourth are empty.
    DWORD_PTR arguments[99];
    const char* given[4] = { arg1, arg2, arg3, arg4 };
    for (size_t index = 0; index < 99; ++index) {
        const char* text = index < 4 ? given[index] : nullptr;
        arguments[index] = reinterpret_cast<DWORD_PTR>(text ? text : "");
    }
    DWORD flags = FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY;
    va_list* argumentArray = reinterpret_cast<va_list*>(arguments);
    DWORD length = FormatMessageA(flags, templateText, 0, 0, destination, kMessageSize, argumentArray);
    if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        // Too long for the buffer: composed in full elsewhere, then cut, rather than lost.
        std::string whole(65536, '\0');
        length = FormatMessageA(flags, templateText, 0, 0, whole.data(), static_cast<DWORD>(whole.size()), argumentArray);
        CopyBounded(length ? whole.c_str() : "", destination, kMessageSize);
    } else if (length == 0) {
        destination[0] = '\0';
    }
    SetLastError(pendingError);
}

SmartPtr<SoundResource> Resources::GetSoundResource(int16_t number)
{
    CheckId(number, span);
    return CachedHandle(sounds, this, number);
}

SmartPtr<ImageResource> Resources::GetImageResource(int16_t number)
{
    CheckId(number, span);
    return CachedHandle(images, this, number);
}

void Resources::SetOsApp(HINSTANCE instance)
{
    if (OsApp() != nullptr)
        AssertionFailed("Resources::osApp == NULL", PW_HERE);
    OsApp() = instance;
}

HINSTANCE Resources::GetOsApp()
{
    if (OsApp() == nullptr)
        AssertionFailed("Resources::osApp != NULL", PW_HERE);
    return OsApp();
}

void pw::foundation::SetOsAppForTesting(HINSTANCE instance)
{
    OsApp() = instance;
}

int16_t StandardCursorId(int16_t number)
{
    if (number == 1)
        return 2;
    if (number == 2)
        return 1;
    return number;
}

Resources& SystemCursors()
{
    static Resources cursors(32512, 65162);
    return cursors;
}
