#include "net/SocketBuffer.h"

#include "foundation/Exception.h"

#include <cstring>

namespace {

// How long sync keeps offering pending bytes to a non-blocking socket whose buffer is full.
constexpr DWORD kSyncPatienceMs = 5000;

} // namespace

SocketBuffer::SocketBuffer(const SOCKET* socket)
    : block(new char[2 * kAreaSize])
    , socket(socket)
{
    setp(PutStart(), PutStart() + kAreaSize);
    setg(GetStart(), GetEnd(), GetEnd());
}

SocketBuffer::~SocketBuffer() = default;

void SocketBuffer::Discard()
{
    setp(PutStart(), PutStart() + kAreaSize);
    setg(GetStart(), GetEnd(), GetEnd());
}

bool SocketBuffer::SendOnce()
{
    int pending = static_cast<int>(pptr() - pbase());
    int sent = send(*socket, pbase(), pending, 0);
    if (sent == SOCKET_ERROR || sent == 0)
        return false;
    std::memmove(PutStart(), pbase() + sent, static_cast<size_t>(pending - sent));
    setp(PutStart(), PutStart() + kAreaSize);
    pbump(pending - sent);
    return true;
}

SocketBuffer::int_type SocketBuffer::overflow(int_type c)
{
    if (!IsOpen())
        return traits_type::eof();
    if (pptr() > pbase() && !SendOnce())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

// A non-blocking socket may take part of the bytes or none (10035); short command lines are all
// that go that way, so the rare full buffer is waited out here rather than losing the rest.
int SocketBuffer::sync()
{
    DWORD start = GetTickCount();
    while (pptr() > pbase()) {
        if (!IsOpen())
            return -1;
        if (SendOnce())
            continue;
        if (WSAGetLastError() != WSAEWOULDBLOCK || GetTickCount() - start > kSyncPatienceMs)
            return -1;
    }
    setp(PutStart(), PutStart() + kAreaSize);
    return 0;
}

SocketBuffer::int_type SocketBuffer::underflow()
{
    if (!IsOpen())
        return traits_type::eof();
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    int received = recv(*socket, GetStart(), static_cast<int>(kAreaSize), 0);
    if (received == SOCKET_ERROR || received == 0)
        return traits_type::eof();
    // The bytes go to the end of the area, leaving room in front for putting back.
    char* first = GetEnd() - received;
    std::memmove(first, GetStart(), static_cast<size_t>(received));
    ASSERT(first >= eback() && first + received <= GetEnd());
    setg(GetStart(), first, GetEnd());
    return traits_type::to_int_type(*gptr());
}
