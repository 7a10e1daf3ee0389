// The live sockets of the process and the Winsock start-up count. Handles are numbers of our own,
// never reused in a run, so a notification still queued for a closed socket can never be taken
// for a newer one that got the same host descriptor.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <functional>

namespace pw::platform {

struct SocketEntry {
    int fd { -1 };
    bool nonBlocking { false };
    bool bound { false };
    bool listening { false };
    bool connecting { false }; // a non-blocking connect in progress
    bool connected { false };

    // The WSAAsyncSelect registration; `events` 0 means none.
    HWND hwnd { nullptr };
    UINT message { 0 };
    LONG events { 0 };

    // Which notifications may be posted now (the documented re-enabling rules).
    bool readArmed { true };
    bool acceptArmed { true };
    bool writeArmed { false };
    bool closeSent { false };

    bool Registered() const { return events != 0; }
};

class SocketTable {
public:
    static SOCKET Add(int fd);
    // The entry of a live socket, else null with the last error set: 10093 before WSAStartup,
    // 10038 for a handle that is not a live socket.
    static SocketEntry* Lookup(SOCKET s);
    // Forgets the socket and closes its descriptor; false when closing failed.
    static bool Remove(SOCKET s);
    static void ForEach(const std::function<void(SOCKET, SocketEntry&)>& visit);
    static void CloseAll();

    static int StartupCount();
    static void SetStartupCount(int count);
    // True after WSAStartup; otherwise false with 10093 set.
    static bool Started();
};

// The Winsock error for a host errno value.
int WinsockError(int hostError);

} // namespace pw::platform
