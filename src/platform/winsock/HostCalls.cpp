// Name lookup, address text and byte order of Winsock 1.1.
#include <windows.h>
#include <winsock.h>

#include "platform/kernel/LastError.h"
#include "platform/testing/Reset.h"
#include "platform/winsock/HostSockets.h"
#include "platform/winsock/SocketTable.h"
#include "platform/winsock/WinsockTesting.h"

#include <bit>
#include <cstdio>
#include <string>
#include <vector>

namespace {

pw::platform::testing::Resolver& TheResolver()
{
    static pw::platform::testing::Resolver resolver;
    return resolver;
}

const bool registered = pw::platform::testing::RegisterReset([] { TheResolver() = nullptr; });

// The thread's one answer of gethostbyname, valid until its next call.
struct HostAnswer {
    std::string name;
    std::vector<uint32_t> addresses;
    std::vector<char*> addressList;
    char* aliases[1] { nullptr };
    hostent entry {};
};

template <typename T>
T ToBigEndian(T value)
{
    if constexpr (std::endian::native == std::endian::big)
        return value;
    else if constexpr (sizeof(T) == 2)
        return static_cast<T>(__builtin_bswap16(value));
    else
        return static_cast<T>(__builtin_bswap32(value));
}

} // namespace

namespace pw::platform::testing {

void SetResolver(Resolver resolver)
{
    TheResolver() = std::move(resolver);
}

size_t LiveSocketCount()
{
    size_t count = 0;
    SocketTable::ForEach([&](SOCKET, SocketEntry&) { ++count; });
    return count;
}

} // namespace pw::platform::testing

// The first IPv4 address is h_addr_list[0]; dotted-decimal text resolves to itself; NULL with
// 11001 when nothing resolves.
hostent* WINAPI gethostbyname(const char* name)
{
    if (!pw::platform::SocketTable::Started())
        return nullptr;
    if (!name)
        return pw::platform::Fail(WSAHOST_NOT_FOUND, nullptr);
    std::vector<uint32_t> found;
    if (std::optional<uint32_t> dotted = pw::platform::host::ParseDotted(name))
        found.push_back(*dotted);
    else if (TheResolver())
        found = TheResolver()(name);
    else
        found = pw::platform::host::ResolveIPv4(name);
    if (found.empty())
        return pw::platform::Fail(WSAHOST_NOT_FOUND, nullptr);

    thread_local HostAnswer answer;
    answer.name = name;
    answer.addresses.assign(found.begin(), found.end());
    answer.addressList.clear();
    for (uint32_t& address : answer.addresses)
        answer.addressList.push_back(reinterpret_cast<char*>(&address));
    answer.addressList.push_back(nullptr);
    answer.entry.h_name = answer.name.data();
    answer.entry.h_aliases = answer.aliases;
    answer.entry.h_addrtype = AF_INET;
    answer.entry.h_length = 4;
    answer.entry.h_addr_list = answer.addressList.data();
    return &answer.entry;
}

// "a.b.c.d" in a per-thread buffer that the next call overwrites.
char* WINAPI inet_ntoa(in_addr in)
{
    thread_local char text[16];
    const auto& b = in.S_un.S_un_b;
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b.s_b1, b.s_b2, b.s_b3, b.s_b4);
    return text;
}

u_short WINAPI htons(u_short hostshort)
{
    return ToBigEndian(hostshort);
}

u_short WINAPI ntohs(u_short netshort)
{
    return ToBigEndian(netshort);
}

// The low 32 bits, as the 32-bit u_long holds them.
u_long WINAPI htonl(u_long hostlong)
{
    return ToBigEndian(static_cast<uint32_t>(hostlong));
}

u_long WINAPI ntohl(u_long netlong)
{
    return ToBigEndian(static_cast<uint32_t>(netlong));
}
