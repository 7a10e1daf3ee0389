// A real FTP server for the upload tests: the system's Python FTP server library run by
// /usr/bin/python3 on a free port of 127.0.0.1, serving a fresh temporary folder to the user "kid"
// with the password "secret". It ends with the object (and by itself when the test process goes).
#pragma once

#include "PythonServerProcess.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace pw::net::tests {

class LoopbackFTPServer {
public:
    LoopbackFTPServer();
    ~LoopbackFTPServer();
    LoopbackFTPServer(const LoopbackFTPServer&) = delete;
    LoopbackFTPServer& operator=(const LoopbackFTPServer&) = delete;

    // Empty when the server runs; otherwise why it does not.
    const std::string& Problem() const { return process ? process->Problem() : problem; }
    uint16_t Port() const { return process ? process->Port() : 0; }
    const std::filesystem::path& Root() const { return root; }

    // The bytes of a file under the root, or "(missing)".
    std::string Contents(const std::filesystem::path& relative) const;

private:
    std::filesystem::path root;
    std::string problem;
    std::unique_ptr<PythonServerProcess> process;
};

} // namespace pw::net::tests
