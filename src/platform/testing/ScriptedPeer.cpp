#include "platform/testing/ScriptedPeer.h"

#include "platform/winsock/HostSockets.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace pw::platform::testing {

namespace {

// 127.0.0.1 in network byte order.
uint32_t Loopback()
{
    return *host::ParseDotted("127.0.0.1");
}

uint16_t Swap(uint16_t value)
{
    return static_cast<uint16_t>((value >> 8) | (value << 8));
}

uint16_t ToNetwork(uint16_t hostOrder)
{
    uint16_t probe = 1;
    return *reinterpret_cast<const uint8_t*>(&probe) == 1 ? Swap(hostOrder) : hostOrder;
}

} // namespace

ScriptedPeer::ScriptedPeer()
{
    listener = host::OpenStreamSocket();
    host::Address local { Loopback(), 0 };
    if (listener < 0 || !host::Bind(listener, local) || !host::Listen(listener, 4)
        || !host::LocalAddress(listener, &local)) {
        failures.push_back("the peer could not listen");
        return;
    }
    port = ToNetwork(local.port);
}

ScriptedPeer::~ScriptedPeer()
{
    Finish();
    if (listener >= 0)
        host::Close(listener);
}

ScriptedPeer& ScriptedPeer::Accept()
{
    steps.push_back([this] {
        if (!WaitReadable(listener))
            return false;
        CloseConnection();
        Current() = host::Accept(listener, nullptr);
        return Current() >= 0 || (Failed("accept failed"), false);
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Connect(uint16_t hostOrderPort)
{
    steps.push_back([this, hostOrderPort] {
        CloseConnection();
        Current() = host::OpenStreamSocket();
        if (Current() >= 0 && host::Connect(Current(), host::Address { Loopback(), ToNetwork(hostOrderPort) }))
            return true;
        Failed("connect to port " + std::to_string(hostOrderPort) + " failed");
        return false;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::ConnectToPort(const std::string& fromAddress)
{
    steps.push_back([this, fromAddress] {
        current = 1;
        CloseConnection();
        std::string port;
        for (auto line = lines.rbegin(); line != lines.rend() && port.empty(); ++line) {
            if (line->rfind("PORT ", 0) == 0)
                port = line->substr(5);
        }
        unsigned part[6];
        if (std::sscanf(port.c_str(), "%u,%u,%u,%u,%u,%u", &part[0], &part[1], &part[2], &part[3], &part[4],
                &part[5]) != 6) {
            Failed("no PORT line to connect to");
            return false;
        }
        std::string dotted = std::to_string(part[0]) + "." + std::to_string(part[1]) + "."
            + std::to_string(part[2]) + "." + std::to_string(part[3]);
        host::Address to { *host::ParseDotted(dotted), ToNetwork(static_cast<uint16_t>(part[4] << 8 | part[5])) };
        Current() = host::OpenStreamSocket();
        if (Current() >= 0 && !fromAddress.empty())
            host::Bind(Current(), host::Address { *host::ParseDotted(fromAddress), 0 });
        if (Current() >= 0 && host::Connect(Current(), to))
            return true;
        Failed("connect to " + port + " failed");
        return false;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Control()
{
    steps.push_back([this] {
        current = 0;
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Data()
{
    steps.push_back([this] {
        current = 1;
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Send(std::string bytes)
{
    steps.push_back([this, bytes = std::move(bytes)] {
        if (host::Send(Current(), bytes.data(), bytes.size(), true) == static_cast<ptrdiff_t>(bytes.size()))
            return true;
        Failed("send failed");
        return false;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::ReadLine()
{
    steps.push_back([this] {
        size_t end;
        while ((end = pending.find('\n')) == std::string::npos) {
            if (!ReadSome(pending))
                return false;
        }
        std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::ReadBytes(size_t count)
{
    steps.push_back([this, count] {
        while (pending.size() < count) {
            if (!ReadSome(pending))
                return false;
        }
        pending.erase(0, count);
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::ReadUntilClosed()
{
    steps.push_back([this] {
        std::string body;
        while (WaitReadable(Current())) {
            char buffer[16384];
            ptrdiff_t n = host::Receive(Current(), buffer, sizeof buffer);
            if (n <= 0) {
                bodies.push_back(std::move(body));
                return true;
            }
            received.append(buffer, static_cast<size_t>(n));
            body.append(buffer, static_cast<size_t>(n));
        }
        bodies.push_back(std::move(body));
        return false;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Pause(int ms)
{
    steps.push_back([ms] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Drip(std::string bytes, int everyMs)
{
    steps.push_back([this, bytes = std::move(bytes), everyMs] {
        for (char byte : bytes) {
            if (ProgramActed())
                return true;
            if (host::Send(Current(), &byte, 1, true) != 1)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(everyMs));
        }
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Flood(std::string pattern, size_t upTo)
{
    steps.push_back([this, pattern = std::move(pattern), upTo] {
        if (pattern.empty())
            return true;
        std::string chunk;
        while (chunk.size() < 16384)
            chunk += pattern;
        host::SetNonBlocking(Current(), true);
        size_t sent = 0;
        bool going = true;
        while (going && sent < upTo) {
            std::vector<host::Readiness> one { host::Readiness { Current(), true, false, true } };
            if (!host::Poll(one, stepTimeoutMs) || one[0].readable) {
                going = false;
                break;
            }
            size_t offset = sent % pattern.size();
            size_t count = std::min(chunk.size() - offset, upTo - sent);
            ptrdiff_t n = host::Send(Current(), chunk.data() + offset, count, false);
            if (n > 0)
                sent += static_cast<size_t>(n);
            else if (errno != EAGAIN && errno != EWOULDBLOCK)
                going = false;
        }
        host::SetNonBlocking(Current(), false);
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::ExpectOpen()
{
    steps.push_back([this] {
        int error = 0;
        host::InputState state = host::PeekInput(Current(), &error);
        if (state == host::InputState::Ended || state == host::InputState::Failed) {
            Failed("the program had closed the connection");
            return false;
        }
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Close()
{
    steps.push_back([this] {
        CloseConnection();
        return true;
    });
    return *this;
}

ScriptedPeer& ScriptedPeer::Abort()
{
    steps.push_back([this] {
        host::SetLinger(Current(), true, 0);
        CloseConnection();
        return true;
    });
    return *this;
}

void ScriptedPeer::Start()
{
    if (!thread.joinable() && !done)
        thread = std::thread([this] { Play(); });
}

std::string ScriptedPeer::Finish()
{
    if (thread.joinable())
        thread.join();
    for (int& connection : connections) {
        if (connection >= 0)
            host::Close(connection);
        connection = -1;
    }
    return received;
}

void ScriptedPeer::Play()
{
    for (auto& step : steps) {
        if (!step())
            break;
    }
    done = true;
}

bool ScriptedPeer::WaitReadable(int fd)
{
    std::vector<host::Readiness> one { host::Readiness { fd, true, false, false } };
    if (fd >= 0 && host::Poll(one, stepTimeoutMs))
        return true;
    Failed("timed out waiting for the program");
    return false;
}

bool ScriptedPeer::ProgramActed()
{
    int error = 0;
    return host::PeekInput(Current(), &error) != host::InputState::Nothing;
}

// Reads what has come into `into` (and the record of everything read); false at the end of input.
bool ScriptedPeer::ReadSome(std::string& into)
{
    if (!WaitReadable(Current()))
        return false;
    char buffer[16384];
    ptrdiff_t n = host::Receive(Current(), buffer, sizeof buffer);
    if (n <= 0) {
        Failed("the program closed the connection");
        return false;
    }
    into.append(buffer, static_cast<size_t>(n));
    received.append(buffer, static_cast<size_t>(n));
    return true;
}

void ScriptedPeer::Failed(const std::string& what)
{
    failures.push_back(what);
}

void ScriptedPeer::CloseConnection()
{
    if (Current() >= 0)
        host::Close(Current());
    Current() = -1;
}

} // namespace pw::platform::testing
