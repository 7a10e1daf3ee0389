// A loopback TCP peer for tests of socket users: it listens on 127.0.0.1 and, on a thread of its
// own, plays a script of steps (accept, send, read a line, close, ...) while the code under test
// runs its message loop. It holds two connections, the control one and a data one, as an FTP
// server does; the steps act on the one chosen last. It uses the host's sockets directly, never the Winsock calls under test.
// Every wait of the script is bounded, so a test whose program falls silent fails instead of
// hanging; the failures are reported by Finish.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pw::platform::testing {

class ScriptedPeer {
public:
    // Listens on an ephemeral port of 127.0.0.1.
    ScriptedPeer();
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    // The listening port, in host byte order.
    uint16_t Port() const { return port; }

    // Script steps, played in order by Start. Each step acts on the current connection.
    ScriptedPeer& Accept();
    ScriptedPeer& Connect(uint16_t hostOrderPort);
    // Opens the data connection to the address of the last "PORT h1,h2,h3,h4,p1,p2" line read,
    // from `fromAddress` when one is given (dotted text), and makes it the current one.
    ScriptedPeer& ConnectToPort(const std::string& fromAddress = std::string());
    // Choose the connection the following steps act on.
    ScriptedPeer& Control();
    ScriptedPeer& Data();
    ScriptedPeer& Send(std::string bytes);
    // Reads up to and including LF; the line is kept without its CR LF.
    ScriptedPeer& ReadLine();
    ScriptedPeer& ReadBytes(size_t count);
    // Reads until the program closes; the bytes are kept as one of Bodies().
    ScriptedPeer& ReadUntilClosed();
    ScriptedPeer& Pause(int ms);
    // Misbehaviours of a server that holds its client. Drip sends the bytes one at a time,
    // `everyMs` apart; Flood sends `pattern` over and over, as fast as the program reads, up to
    // `upTo` bytes. Both end early, and the script goes on, once the program writes or closes.
    ScriptedPeer& Drip(std::string bytes, int everyMs);
    ScriptedPeer& Flood(std::string pattern, size_t upTo);
    // Fails when the program has already closed the connection.
    ScriptedPeer& ExpectOpen();
    // A graceful close, or an abortive one (the program sees a reset).
    ScriptedPeer& Close();
    ScriptedPeer& Abort();

    void Start();
    // Waits for the script's end and answers every byte read. Idempotent.
    std::string Finish();
    bool Done() const { return done.load(); }

    // After Finish: the lines read by ReadLine, and what went wrong (a time-out, a closed peer).
    const std::vector<std::string>& Lines() const { return lines; }
    const std::vector<std::string>& Failures() const { return failures; }
    const std::vector<std::string>& Bodies() const { return bodies; }

    // How long any one step may wait; default 5 s.
    void SetStepTimeout(int ms) { stepTimeoutMs = ms; }

private:
    void Play();
    bool WaitReadable(int fd);
    // True when the program has written or closed since the peer last read.
    bool ProgramActed();
    bool ReadSome(std::string& into);
    void Failed(const std::string& what);
    void CloseConnection();
    int& Current() { return connections[current]; }

    int listener { -1 };
    int connections[2] { -1, -1 };
    size_t current { 0 };
    uint16_t port { 0 };
    int stepTimeoutMs { 5000 };
    std::vector<std::function<bool()>> steps;
    std::string received;
    std::string pending; // read but not yet returned as a line
    std::vector<std::string> lines;
    std::vector<std::string> failures;
    std::vector<std::string> bodies;
    std::thread thread;
    std::atomic<bool> done { false };
};

} // namespace pw::platform::testing
