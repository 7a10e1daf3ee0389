#include "platform/winsock/HostSockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pw::platform::host {

namespace {

sockaddr_in ToHost(Address address)
{
    sockaddr_in result {};
    result.sin_family = AF_INET;
    result.sin_port = address.port;
    result.sin_addr.s_addr = address.ip;
    return result;
}

Address FromHost(const sockaddr_in& address)
{
    return Address { address.sin_addr.s_addr, address.sin_port };
}

bool NameOf(int fd, Address* address, bool peer)
{
    sockaddr_in name {};
    socklen_t length = sizeof name;
    auto* raw = reinterpret_cast<sockaddr*>(&name);
    if ((peer ? getpeername(fd, raw, &length) : getsockname(fd, raw, &length)) != 0)
        return false;
    *address = FromHost(name);
    return true;
}

} // namespace

int OpenStreamSocket()
{
    return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

bool SetNonBlocking(int fd, bool nonBlocking)
{
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return false;
    flags = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return fcntl(fd, F_SETFL, flags) == 0;
}

bool Bind(int fd, Address address)
{
    sockaddr_in name = ToHost(address);
    return bind(fd, reinterpret_cast<sockaddr*>(&name), sizeof name) == 0;
}

bool Connect(int fd, Address address)
{
    sockaddr_in name = ToHost(address);
    int result;
    do
        result = connect(fd, reinterpret_cast<sockaddr*>(&name), sizeof name);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

bool Listen(int fd, int backlog)
{
    return listen(fd, backlog) == 0;
}

int Accept(int fd, Address* peer)
{
    sockaddr_in name {};
    socklen_t length = sizeof name;
    int result;
    do
        result = accept4(fd, reinterpret_cast<sockaddr*>(&name), &length, SOCK_CLOEXEC);
    while (result < 0 && errno == EINTR);
    if (result >= 0 && peer)
        *peer = FromHost(name);
    return result;
}

bool Close(int fd)
{
    return close(fd) == 0;
}

ptrdiff_t Send(int fd, const void* bytes, size_t count, bool blocking)
{
    const char* next = static_cast<const char*>(bytes);
    size_t sent = 0;
    do {
        ssize_t n = send(fd, next + sent, count - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        sent += static_cast<size_t>(n);
    } while (blocking && sent < count);
    return static_cast<ptrdiff_t>(sent);
}

ptrdiff_t Receive(int fd, void* buffer, size_t count)
{
    ssize_t n;
    do
        n = recv(fd, buffer, count, 0);
    while (n < 0 && errno == EINTR);
    return n;
}

bool PeerAddress(int fd, Address* address)
{
    return NameOf(fd, address, true);
}

bool LocalAddress(int fd, Address* address)
{
    return NameOf(fd, address, false);
}

bool GetLinger(int fd, bool* on, int* seconds)
{
    ::linger value {};
    socklen_t length = sizeof value;
    if (getsockopt(fd, SOL_SOCKET, SO_LINGER, &value, &length) != 0)
        return false;
    *on = value.l_onoff != 0;
    *seconds = value.l_linger;
    return true;
}

bool SetLinger(int fd, bool on, int seconds)
{
    ::linger value { on ? 1 : 0, seconds };
    return setsockopt(fd, SOL_SOCKET, SO_LINGER, &value, sizeof value) == 0;
}

bool SetReceiveTimeout(int fd, uint32_t ms)
{
    timeval value { static_cast<time_t>(ms / 1000), static_cast<suseconds_t>(ms % 1000) * 1000 };
    return setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value) == 0;
}

int TakePendingError(int fd)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

InputState PeekInput(int fd, int* error)
{
    char byte;
    ssize_t n;
    do
        n = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    while (n < 0 && errno == EINTR);
    if (n > 0)
        return InputState::Data;
    if (n == 0)
        return InputState::Ended;
    if (errno == EAGAIN || errno == EWOULDBLOCK)
        return InputState::Nothing;
    *error = errno;
    return InputState::Failed;
}

bool Poll(std::vector<Readiness>& sockets, int waitMs)
{
    std::vector<pollfd> fds;
    fds.reserve(sockets.size());
    for (const Readiness& s : sockets) {
        short events = static_cast<short>((s.wantRead ? POLLIN | POLLRDHUP : 0) | (s.wantHangUp ? POLLRDHUP : 0)
            | (s.wantWrite ? POLLOUT : 0));
        fds.push_back(pollfd { s.fd, events, 0 });
    }
    int ready;
    do
        ready = poll(fds.data(), fds.size(), waitMs);
    while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return false;
    for (size_t i = 0; i < sockets.size(); ++i) {
        short got = fds[i].revents;
        sockets[i].readable = (got & (POLLIN | POLLRDHUP | POLLERR | POLLHUP)) != 0;
        sockets[i].writable = (got & (POLLOUT | POLLERR | POLLHUP)) != 0;
        sockets[i].hungUp = (got & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
    }
    return true;
}

std::vector<uint32_t> ResolveIPv4(const std::string& name)
{
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    std::vector<uint32_t> result;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0)
        return result;
    for (addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET)
            result.push_back(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
    }
    freeaddrinfo(found);
    return result;
}

std::optional<uint32_t> ParseDotted(const std::string& text)
{
    in_addr address {};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1)
        return std::nullopt;
    return address.s_addr;
}

} // namespace pw::platform::host
