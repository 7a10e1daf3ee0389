// The stream buffer under a SocketStream: one 32 KB block, its first half the put area and its
// second half the get area. It reads the socket through a pointer to its stream's socket field,
// so a socket exchanged later (an accepted connection) is used at once.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <cstddef>
#include <memory>
#include <streambuf>

class SocketBuffer : public std::streambuf {
public:
    explicit SocketBuffer(const SOCKET* socket);
    ~SocketBuffer() override;
    SocketBuffer(const SocketBuffer&) = delete;
    SocketBuffer& operator=(const SocketBuffer&) = delete;

    static constexpr size_t kAreaSize = 16384;

    // Forgets pending output and unread input, for a socket that was closed.
    void Discard();

    // True while received bytes wait unread in the get area.
    bool HasUnread() const { return gptr() < egptr(); }

protected:
    // Sends everything pending (continuing partial sends); keeps unread input. -1 on failure.
    int sync() override;
    // One send of everything pending; the bytes it did not take stay pending, `c` after them.
    int_type overflow(int_type c) override;
    // One recv of up to 16 KB when the get area is empty; EOF when the socket is closed, the peer
    // closed, or nothing waits on a non-blocking socket.
    int_type underflow() override;

private:
    bool IsOpen() const { return *socket != INVALID_SOCKET; }
    // One send of the pending bytes; keeps what it did not take. False when nothing was sent.
    bool SendOnce();
    char* PutStart() { return block.get(); }
    char* GetStart() { return block.get() + kAreaSize; }
    char* GetEnd() { return block.get() + 2 * kAreaSize; }

    std::unique_ptr<char[]> block;
    const SOCKET* socket;
};
