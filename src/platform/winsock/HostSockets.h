// The host's TCP sockets behind the Winsock calls, in plain types. Kept apart from <winsock.h>,
// whose names and structures are the POSIX ones with other layouts: the files that implement the
// Winsock calls include this header and never the host's socket headers, and HostSockets.cpp the
// reverse. Failures answer -1 (or false) and leave the host's errno set; addresses and ports are
// in network byte order, as both APIs keep them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform::host {

struct Address {
    uint32_t ip { 0 };
    uint16_t port { 0 };
};

int OpenStreamSocket();
bool SetNonBlocking(int fd, bool nonBlocking);
bool Bind(int fd, Address address);
// Connects in the socket's mode: a non-blocking socket answers false with EINPROGRESS.
bool Connect(int fd, Address address);
bool Listen(int fd, int backlog);
int Accept(int fd, Address* peer);
bool Close(int fd);

// Never raises SIGPIPE. A blocking send continues partial sends until all went or one failed.
ptrdiff_t Send(int fd, const void* bytes, size_t count, bool blocking);
ptrdiff_t Receive(int fd, void* buffer, size_t count);

bool PeerAddress(int fd, Address* address);
bool LocalAddress(int fd, Address* address);
bool GetLinger(int fd, bool* on, int* seconds);
bool SetLinger(int fd, bool on, int seconds);
// A blocking receive that waits longer than `ms` fails with EAGAIN; 0 waits for ever.
bool SetReceiveTimeout(int fd, uint32_t ms);
// The socket's pending error (SO_ERROR), cleared by the reading; 0 when none.
int TakePendingError(int fd);

// What a connected socket's input holds now, without waiting or taking any of it.
enum class InputState { Nothing, Data, Ended, Failed };
InputState PeekInput(int fd, int* error);

// One poll() over the sockets: `wantRead`/`wantWrite` in, the readiness out.
struct Readiness {
    int fd { -1 };
    bool wantRead { false }; // data, end of input or an error
    bool wantHangUp { false }; // only the peer's shutdown or an error
    bool wantWrite { false };
    bool readable { false };
    bool writable { false };
    bool hungUp { false };
};
// Waits at most `waitMs` for one of them to be ready; false when none is.
bool Poll(std::vector<Readiness>& sockets, int waitMs);

// The IPv4 addresses of a host name, first first; empty when nothing resolves.
std::vector<uint32_t> ResolveIPv4(const std::string& name);
// Dotted-decimal text ("a.b.c.d", each part a decimal byte) as an address; nothing otherwise.
std::optional<uint32_t> ParseDotted(const std::string& text);

} // namespace pw::platform::host
