// A real SMTP server for the mail tests: the system's asynchronous SMTP server library run by
// /usr/bin/python3 on a free port of 127.0.0.1. It accepts every mail and keeps each one as it
// arrived, with the HELO name, the sender and the recipients.
#pragma once

#include "PythonServerProcess.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pw::net::tests {

class LoopbackSMTPServer {
public:
    struct Mail {
        std::string hello;
        std::string from;
        std::vector<std::string> to;
        // The message as the server received it: the data without the ending dot line, the
        // doubled dots made single again.
        std::string content;
    };

    LoopbackSMTPServer();
    ~LoopbackSMTPServer();
    LoopbackSMTPServer(const LoopbackSMTPServer&) = delete;
    LoopbackSMTPServer& operator=(const LoopbackSMTPServer&) = delete;

    const std::string& Problem() const { return process ? process->Problem() : problem; }
    uint16_t Port() const { return process ? process->Port() : 0; }

    // The mails received so far, first first.
    std::vector<Mail> Mails() const;

private:
    std::filesystem::path folder;
    std::string problem;
    std::unique_ptr<PythonServerProcess> process;
};

} // namespace pw::net::tests
