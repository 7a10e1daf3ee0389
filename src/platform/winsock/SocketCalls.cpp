// The socket calls of Winsock 1.1 on the host's TCP sockets.
#include <windows.h>
#include <winsock.h>

#include "platform/kernel/LastError.h"
#include "platform/winsock/HostSockets.h"
#include "platform/winsock/SocketEvents.h"
#include "platform/winsock/SocketTable.h"

#include <cerrno>
#include <cstring>

using pw::platform::Fail;
using pw::platform::SocketEntry;
using pw::platform::SocketTable;
using pw::platform::WinsockError;
namespace host = pw::platform::host;

namespace {

constexpr int kAddressSize = sizeof(sockaddr_in);

// Fails the call with the Winsock form of the host's errno.
template <typename T>
T FailFromHost(T result)
{
    return Fail(static_cast<DWORD>(WinsockError(errno)), result);
}

bool ReadAddress(const sockaddr* name, int length, host::Address* address)
{
    if (!name || length < kAddressSize)
        return Fail(WSAEINVAL, false);
    sockaddr_in in;
    std::memcpy(&in, name, sizeof in);
    if (in.sin_family != AF_INET)
        return Fail(WSAEINVAL, false);
    *address = host::Address { in.sin_addr.s_addr, in.sin_port };
    return true;
}

// Writes an address where the caller asked for one (both pointers set and room for 16 bytes).
bool WriteAddress(host::Address address, sockaddr* name, int* length)
{
    if (!name || !length)
        return true;
    if (*length < kAddressSize)
        return Fail(WSAEINVAL, false);
    sockaddr_in in {};
    in.sin_family = AF_INET;
    in.sin_port = address.port;
    in.sin_addr.s_addr = address.ip;
    std::memcpy(name, &in, sizeof in);
    *length = kAddressSize;
    return true;
}

} // namespace

// Counts the starts; every call answers version 1.1.
int WINAPI WSAStartup(WORD, LPWSADATA data)
{
    SocketTable::SetStartupCount(SocketTable::StartupCount() + 1);
    if (data) {
        *data = WSADATA {};
        data->wVersion = 0x0101;
        data->wHighVersion = 0x0101;
        std::strcpy(data->szDescription, "Plumewright sockets");
        std::strcpy(data->szSystemStatus, "Running");
        data->iMaxSockets = 1024;
    }
    return 0;
}

// Undoes one start; the last one closes every socket still open.
int WINAPI WSACleanup()
{
    if (!SocketTable::Started())
        return SOCKET_ERROR;
    SocketTable::SetStartupCount(SocketTable::StartupCount() - 1);
    if (SocketTable::StartupCount() == 0)
        SocketTable::CloseAll();
    return 0;
}

int WINAPI WSAGetLastError()
{
    return static_cast<int>(GetLastError());
}

// No call blocks while messages are pumped on this floor, so none is ever in progress.
BOOL WINAPI WSAIsBlocking()
{
    return FALSE;
}

int WINAPI WSACancelBlockingCall()
{
    return Fail(WSAEINVAL, SOCKET_ERROR);
}

// A blocking IPv4 TCP socket; only that kind is provided.
SOCKET WINAPI socket(int af, int type, int protocol)
{
    if (!SocketTable::Started())
        return INVALID_SOCKET;
    if (af != AF_INET || type != SOCK_STREAM || (protocol != 0 && protocol != 6))
        return Fail(WSAEINVAL, INVALID_SOCKET);
    int fd = host::OpenStreamSocket();
    if (fd < 0)
        return FailFromHost(INVALID_SOCKET);
    return SocketTable::Add(fd);
}

int WINAPI bind(SOCKET s, const sockaddr* name, int namelen)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    host::Address address;
    if (!entry || !ReadAddress(name, namelen, &address))
        return SOCKET_ERROR;
    if (!host::Bind(entry->fd, address))
        return FailFromHost(SOCKET_ERROR);
    entry->bound = true;
    return 0;
}

// Blocking sockets wait until connected. A non-blocking one answers 10035 and reports the outcome
// with FD_CONNECT.
int WINAPI connect(SOCKET s, const sockaddr* name, int namelen)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    host::Address address;
    if (!entry || !ReadAddress(name, namelen, &address))
        return SOCKET_ERROR;
    if (!host::Connect(entry->fd, address)) {
        if (entry->nonBlocking && errno == EINPROGRESS)
            entry->connecting = true;
        return FailFromHost(SOCKET_ERROR);
    }
    entry->bound = true;
    entry->connected = true;
    entry->writeArmed = true;
    return 0;
}

int WINAPI listen(SOCKET s, int backlog)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (entry->connected || entry->connecting)
        return Fail(WSAEINVAL, SOCKET_ERROR);
    if (!host::Listen(entry->fd, backlog))
        return FailFromHost(SOCKET_ERROR);
    entry->bound = true;
    entry->listening = true;
    return 0;
}

// The new socket takes over the listener's registration, and with it the non-blocking mode.
SOCKET WINAPI accept(SOCKET s, sockaddr* addr, int* addrlen)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return INVALID_SOCKET;
    if (!entry->listening)
        return Fail(WSAEINVAL, INVALID_SOCKET);
    if (addr && (!addrlen || *addrlen < kAddressSize))
        return Fail(WSAEINVAL, INVALID_SOCKET);
    entry->acceptArmed = true;
    host::Address peer;
    int fd = host::Accept(entry->fd, &peer);
    if (fd < 0)
        return FailFromHost(INVALID_SOCKET);
    SocketEntry inherited;
    inherited.fd = fd;
    inherited.bound = inherited.connected = true;
    inherited.hwnd = entry->hwnd;
    inherited.message = entry->message;
    inherited.events = entry->events;
    inherited.nonBlocking = entry->nonBlocking;
    inherited.writeArmed = true;
    host::SetNonBlocking(fd, inherited.nonBlocking);
    SOCKET handle = SocketTable::Add(fd);
    *SocketTable::Lookup(handle) = inherited;
    WriteAddress(peer, addr, addrlen);
    return handle;
}

// With SO_LINGER on and a blocking socket, waits until the data has gone or the time is up.
// Notifications already queued for the socket stay queued.
int WINAPI closesocket(SOCKET s)
{
    if (!SocketTable::Lookup(s))
        return SOCKET_ERROR;
    if (!SocketTable::Remove(s))
        return FailFromHost(SOCKET_ERROR);
    return 0;
}

// A blocking socket sends everything or fails; a non-blocking one may take fewer bytes, and a
// 10035 earns a new FD_WRITE when room returns. A gone peer fails with 10054, never SIGPIPE.
int WINAPI send(SOCKET s, const char* buf, int len, int)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (len < 0 || (len > 0 && !buf))
        return Fail(WSAEINVAL, SOCKET_ERROR);
    if (!entry->connected)
        return Fail(WSAENOTCONN, SOCKET_ERROR);
    ptrdiff_t sent = host::Send(entry->fd, buf, static_cast<size_t>(len), !entry->nonBlocking);
    if (sent < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            entry->writeArmed = true;
        return FailFromHost(SOCKET_ERROR);
    }
    return static_cast<int>(sent);
}

// Bytes received, 0 once the peer closed; every call lets FD_READ come again. A blocking socket
// whose receive time-out runs out fails with 10060.
int WINAPI recv(SOCKET s, char* buf, int len, int)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (len < 0 || (len > 0 && !buf))
        return Fail(WSAEINVAL, SOCKET_ERROR);
    if (!entry->connected)
        return Fail(WSAENOTCONN, SOCKET_ERROR);
    entry->readArmed = true;
    ptrdiff_t received = host::Receive(entry->fd, buf, static_cast<size_t>(len));
    // A blocking socket only comes back empty-handed when its receive time-out ran out.
    if (received < 0 && !entry->nonBlocking && (errno == EAGAIN || errno == EWOULDBLOCK))
        return Fail(WSAETIMEDOUT, SOCKET_ERROR);
    if (received < 0)
        return FailFromHost(SOCKET_ERROR);
    return static_cast<int>(received);
}

int WINAPI getpeername(SOCKET s, sockaddr* name, int* namelen)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (!name || !namelen)
        return Fail(WSAEINVAL, SOCKET_ERROR);
    host::Address address;
    if (!entry->connected || !host::PeerAddress(entry->fd, &address))
        return Fail(WSAENOTCONN, SOCKET_ERROR);
    return WriteAddress(address, name, namelen) ? 0 : SOCKET_ERROR;
}

// A socket bound to INADDR_ANY reports 0.0.0.0 until it is connected.
int WINAPI getsockname(SOCKET s, sockaddr* name, int* namelen)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (!name || !namelen || !entry->bound)
        return Fail(WSAEINVAL, SOCKET_ERROR);
    host::Address address;
    if (!host::LocalAddress(entry->fd, &address))
        return FailFromHost(SOCKET_ERROR);
    return WriteAddress(address, name, namelen) ? 0 : SOCKET_ERROR;
}

// Only SO_LINGER is provided, in the 4-byte form of two 16-bit fields.
int WINAPI getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (level != SOL_SOCKET || optname != SO_LINGER || !optval || !optlen
        || *optlen < static_cast<int>(sizeof(linger)))
        return Fail(WSAEINVAL, SOCKET_ERROR);
    bool on = false;
    int seconds = 0;
    if (!host::GetLinger(entry->fd, &on, &seconds))
        return FailFromHost(SOCKET_ERROR);
    linger value { static_cast<u_short>(on ? 1 : 0), static_cast<u_short>(seconds) };
    std::memcpy(optval, &value, sizeof value);
    *optlen = sizeof value;
    return 0;
}

// SO_LINGER, and SO_RCVTIMEO: a DWORD of milliseconds that bounds each blocking recv (0: none).
int WINAPI setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (level == SOL_SOCKET && optname == SO_RCVTIMEO && optval && optlen >= static_cast<int>(sizeof(DWORD))) {
        DWORD ms;
        std::memcpy(&ms, optval, sizeof ms);
        if (!host::SetReceiveTimeout(entry->fd, ms))
            return FailFromHost(SOCKET_ERROR);
        return 0;
    }
    if (level != SOL_SOCKET || optname != SO_LINGER || !optval || optlen < static_cast<int>(sizeof(linger)))
        return Fail(WSAEINVAL, SOCKET_ERROR);
    linger value;
    std::memcpy(&value, optval, sizeof value);
    if (!host::SetLinger(entry->fd, value.l_onoff != 0, value.l_linger))
        return FailFromHost(SOCKET_ERROR);
    return 0;
}

// FIONBIO only; refused while a WSAAsyncSelect registration is active (cancel it first).
int WINAPI ioctlsocket(SOCKET s, LONG cmd, u_long* argp)
{
    SocketEntry* entry = SocketTable::Lookup(s);
    if (!entry)
        return SOCKET_ERROR;
    if (cmd != FIONBIO || !argp || entry->Registered())
        return Fail(WSAEINVAL, SOCKET_ERROR);
    bool nonBlocking = *argp != 0;
    if (!host::SetNonBlocking(entry->fd, nonBlocking))
        return FailFromHost(SOCKET_ERROR);
    entry->nonBlocking = nonBlocking;
    return 0;
}
