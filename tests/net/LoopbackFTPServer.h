// A real FTP server for the upload tests, on a free port of 127.0.0.1, serving a fresh temporary
// folder (Root()). By default it is the system's Python FTP server library run by /usr/bin/python3,
// letting in the user "kid" with the password "secret"; it can be told to refuse a command, and
// then to fall silent. Vsftpd() runs the system's vsftpd instead, as its own instance with a
// configuration of the test's own (it needs root, as CI runs). The server ends with the object
// (and by itself when the test process goes).
#pragma once

#include "PythonServerProcess.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pw::net::tests {

class LoopbackFTPServer {
public:
    // Every command line that begins with `command` ("STOR", "CWD Kim") is answered with `reply`
    // and not carried out; with `thenSilent` nothing after it is answered, not even QUIT.
    struct Refusal {
        std::string command;
        std::string reply;
        bool thenSilent { false };
    };

    LoopbackFTPServer();
    explicit LoopbackFTPServer(const Refusal& refusal);
    // vsftpd letting in "anonymous" without a password, with the configuration lines given
    // ("port_enable=NO") over its own; the root's folder "site" is writable for the uploads.
    static std::unique_ptr<LoopbackFTPServer> Vsftpd(const std::vector<std::string>& settings);
    ~LoopbackFTPServer();
    LoopbackFTPServer(const LoopbackFTPServer&) = delete;
    LoopbackFTPServer& operator=(const LoopbackFTPServer&) = delete;

    // Empty when the server runs; otherwise why it does not.
    const std::string& Problem() const { return process ? process->Problem() : problem; }
    uint16_t Port() const { return process ? process->Port() : 0; }
    const std::filesystem::path& Root() const { return root; }

    // The bytes of a file under the root, or "(missing)".
    std::string Contents(const std::filesystem::path& relative) const;
    // The command lines the Python server received so far, in order.
    std::vector<std::string> Commands() const;

private:
    LoopbackFTPServer(const char* script, std::vector<std::string> arguments, const std::string& what);

    // Holds the root, the command log and whatever else the server needs.
    std::filesystem::path folder;
    std::filesystem::path root;
    std::string problem;
    std::unique_ptr<PythonServerProcess> process;
};

} // namespace pw::net::tests
