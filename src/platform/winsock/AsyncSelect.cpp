// WSAAsyncSelect and the polling that turns the host sockets' readiness into notifications, with
// the documented re-enabling: FD_READ again only after recv, FD_ACCEPT only after accept, FD_WRITE
// once after connecting (or registering a connected socket) and again only after a send failed
// with 10035, FD_CLOSE once and only when all data has been read.
#include <windows.h>
#include <winsock.h>

#include "platform/kernel/LastError.h"
#include "platform/winsock/HostSockets.h"
#include "platform/winsock/SocketEvents.h"
#include "platform/winsock/SocketTable.h"

#include <vector>

namespace pw::platform {

namespace {

struct Watched {
    SOCKET handle;
    SocketEntry* entry;
};

bool Wants(const SocketEntry& e, LONG event)
{
    return (e.events & event) != 0;
}

void Post(SOCKET s, const SocketEntry& e, LONG event, int error = 0)
{
    PostMessageA(e.hwnd, e.message, s, MAKELPARAM(event, error));
}

// What the poll should watch for; false when the socket cannot earn anything now.
bool Describe(const SocketEntry& e, host::Readiness& r)
{
    r.fd = e.fd;
    if (e.listening) {
        r.wantRead = Wants(e, FD_ACCEPT) && e.acceptArmed;
    } else if (e.connecting) {
        r.wantWrite = true;
    } else if (e.connected) {
        r.wantRead = Wants(e, FD_READ) && e.readArmed && !e.closeSent;
        // Without FD_READ the close is seen from the peer's shutdown alone.
        r.wantHangUp = !Wants(e, FD_READ) && Wants(e, FD_CLOSE) && !e.closeSent;
        r.wantWrite = Wants(e, FD_WRITE) && e.writeArmed;
    }
    return r.wantRead || r.wantHangUp || r.wantWrite;
}

void PostClose(SOCKET s, SocketEntry& e, int error)
{
    if (Wants(e, FD_CLOSE) && !e.closeSent)
        Post(s, e, FD_CLOSE, error);
    e.closeSent = true;
}

// Posts what one socket has earned; true when anything was posted.
bool Produce(SOCKET s, SocketEntry& e, const host::Readiness& r)
{
    bool posted = false;
    if (e.connecting && r.writable) {
        int hostError = host::TakePendingError(e.fd);
        e.connecting = false;
        int error = hostError ? WinsockError(hostError) : 0;
        if (Wants(e, FD_CONNECT))
            Post(s, e, FD_CONNECT, error), posted = true;
        if (error)
            return posted;
        e.connected = true;
        e.writeArmed = true;
    }
    if (e.listening) {
        if (r.readable && r.wantRead) {
            Post(s, e, FD_ACCEPT);
            e.acceptArmed = false;
            posted = true;
        }
        return posted;
    }
    if (!e.connected)
        return posted;
    if (Wants(e, FD_WRITE) && e.writeArmed && r.writable) {
        Post(s, e, FD_WRITE);
        e.writeArmed = false;
        posted = true;
    }
    if ((r.wantRead && r.readable) || (r.wantHangUp && r.hungUp)) {
        int hostError = 0;
        switch (host::PeekInput(e.fd, &hostError)) {
        case host::InputState::Data:
            if (Wants(e, FD_READ)) {
                Post(s, e, FD_READ);
                e.readArmed = false;
                return true;
            }
            // Unread data and no FD_READ wanted: the peer's shutdown still closes.
            PostClose(s, e, 0);
            return true;
        case host::InputState::Ended:
            PostClose(s, e, 0);
            return true;
        case host::InputState::Failed:
            PostClose(s, e, WinsockError(hostError));
            return true;
        case host::InputState::Nothing:
            break;
        }
    }
    return posted;
}

std::vector<Watched> WatchedSockets(std::vector<host::Readiness>& readiness)
{
    std::vector<Watched> watched;
    SocketTable::ForEach([&](SOCKET handle, SocketEntry& entry) {
        host::Readiness r;
        if (entry.Registered() && Describe(entry, r)) {
            watched.push_back(Watched { handle, &entry });
            readiness.push_back(r);
        }
    });
    return watched;
}

} // namespace

bool PostSocketEvents(uint32_t waitMs)
{
    if (SocketTable::StartupCount() == 0)
        return false;
    // Posting must not change what the program's last failing call left behind.
    LastErrorKeeper keeper;
    std::vector<host::Readiness> readiness;
    std::vector<Watched> watched = WatchedSockets(readiness);
    if (watched.empty() || !host::Poll(readiness, static_cast<int>(waitMs)))
        return false;
    bool posted = false;
    for (size_t i = 0; i < watched.size(); ++i)
        posted = Produce(watched[i].handle, *watched[i].entry, readiness[i]) || posted;
    return posted;
}

bool SocketsExpectEvents()
{
    if (SocketTable::StartupCount() == 0)
        return false;
    std::vector<host::Readiness> readiness;
    return !WatchedSockets(readiness).empty();
}

} // namespace pw::platform

using pw::platform::Fail;
using pw::platform::SocketEntry;
using pw::platform::SocketTable;

// Registers (or, with message 0 and events 0, cancels) the socket's notifications. Either way the
// socket is non-blocking afterwards. Anything already earned is posted at once.
int WINAPI WSAAsyncSelect(SOCKET s, HWND hwnd, u_int message, LONG events)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (events != 0 && !IsWindow(hwnd))
        return Fail(WSAEINVAL, SOCKET_ERROR);
    if (!pw::platform::host::SetNonBlocking(entry->fd, true))
        return Fail(WSAEINVAL, SOCKET_ERROR);
    entry->nonBlocking = true;
    entry->hwnd = events ? hwnd : nullptr;
    entry->message = events ? message : 0;
    entry->events = events;
    if (!events)
        return 0;
    entry->readArmed = entry->acceptArmed = true;
    entry->writeArmed = entry->connected;
    pw::platform::PostSocketEvents(0);
    return 0;
}
