// A real SMTP server for the mail tests: the system's asynchronous SMTP server library, or the
// standard library's older one, run by /usr/bin/python3 on a free port of 127.0.0.1. It accepts
// every mail and keeps each one as it arrived, with the HELO name, the sender, the recipients and
// what Python's email package reads in its headers.
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
    enum class Library {
        kAsync, // aiosmtpd: keeps the data's CR LF, refuses lines over 998 bytes and a sender whose
                // domain is neither a host name nor a bracketed address
        kStandard, // smtpd: ends the data's lines with LF alone
    };

    struct Mail {
        std::string hello;
        std::string from;
        std::vector<std::string> to;
        // The message as the server received it: the data without the ending dot line, the
        // doubled dots made single again.
        std::string content;
        // The Date header as a universal ISO time ("1996-12-05T12:00:00+00:00"), or "invalid".
        std::string date;
        // The Message-ID header, "None" when missing.
        std::string messageID;
        // How many defects the email package found in the message and its headers.
        std::string headerDefects;
        // The Subject header as a reader unfolds it.
        std::string subject;
    };

    explicit LoopbackSMTPServer(Library library = Library::kAsync);
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
