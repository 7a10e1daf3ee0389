// A real FTP server for the upload tests: the system's Python FTP server library run by
// /usr/bin/python3 on a free port of 127.0.0.1, serving a fresh temporary folder to the user "kid"
// with the password "secret". It ends with the object (and by itself when the test process goes).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace pw::net::tests {

class LoopbackFTPServer {
public:
    LoopbackFTPServer();
    ~LoopbackFTPServer();
    LoopbackFTPServer(const LoopbackFTPServer&) = delete;
    LoopbackFTPServer& operator=(const LoopbackFTPServer&) = delete;

    // Empty when the server runs; otherwise why it does not.
    const std::string& Problem() const { return problem; }
    uint16_t Port() const { return port; }
    const std::filesystem::path& Root() const { return root; }

    // The bytes of a file under the root, or "(missing)".
    std::string Contents(const std::filesystem::path& relative) const;

private:
    std::filesystem::path root;
    std::string problem;
    uint16_t port { 0 };
    pid_t pid { -1 };
    int toServer { -1 };
};

} // namespace pw::net::tests
