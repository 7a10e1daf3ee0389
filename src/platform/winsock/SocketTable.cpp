#include "platform/winsock/SocketTable.h"

#include "platform/kernel/LastError.h"
#include "platform/testing/Reset.h"
#include "platform/winsock/HostSockets.h"

#include <cerrno>
#include <map>

namespace pw::platform {

namespace {

// Far from small numbers, so a descriptor or a count passed by mistake is not a live socket.
constexpr SOCKET kFirstHandle = 0x1000;

struct State {
    std::map<SOCKET, SocketEntry> sockets;
    SOCKET nextHandle = kFirstHandle;
    int startupCount = 0;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] {
    SocketTable::CloseAll();
    TheState() = State {};
});

} // namespace

SOCKET SocketTable::Add(int fd)
{
    State& s = TheState();
    SOCKET handle = s.nextHandle++;
    s.sockets[handle].fd = fd;
    return handle;
}

SocketEntry* SocketTable::Lookup(SOCKET s)
{
    if (!Started())
        return nullptr;
    auto found = TheState().sockets.find(s);
    if (found == TheState().sockets.end())
        return Fail(WSAENOTSOCK, nullptr);
    return &found->second;
}

bool SocketTable::Remove(SOCKET s)
{
    auto& sockets = TheState().sockets;
    auto found = sockets.find(s);
    if (found == sockets.end())
        return false;
    int fd = found->second.fd;
    sockets.erase(found);
    return host::Close(fd);
}

void SocketTable::ForEach(const std::function<void(SOCKET, SocketEntry&)>& visit)
{
    for (auto& [handle, entry] : TheState().sockets)
        visit(handle, entry);
}

void SocketTable::CloseAll()
{
    for (auto& [handle, entry] : TheState().sockets)
        host::Close(entry.fd);
    TheState().sockets.clear();
}

int SocketTable::StartupCount()
{
    return TheState().startupCount;
}

void SocketTable::SetStartupCount(int count)
{
    TheState().startupCount = count;
}

bool SocketTable::Started()
{
    return TheState().startupCount > 0 || Fail(WSANOTINITIALISED, false);
}

int WinsockError(int hostError)
{
    switch (hostError) {
    case EAGAIN:
    case EINPROGRESS:
        return WSAEWOULDBLOCK;
    case EADDRINUSE:
        return WSAEADDRINUSE;
    case ENETUNREACH:
    case EHOSTUNREACH:
        return WSAENETUNREACH;
    case ECONNABORTED:
        return WSAECONNABORTED;
    case ECONNRESET:
    case EPIPE:
        return WSAECONNRESET;
    case ENOTCONN:
        return WSAENOTCONN;
    case ETIMEDOUT:
        return WSAETIMEDOUT;
    case ECONNREFUSED:
        return WSAECONNREFUSED;
    case EBADF:
    case ENOTSOCK:
        return WSAENOTSOCK;
    default:
        return WSAEINVAL;
    }
}

} // namespace pw::platform
