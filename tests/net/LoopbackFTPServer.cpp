#include "LoopbackFTPServer.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace pw::net::tests {

namespace {

// Serves argv[1] until its standard input closes, so the server never outlives the test process.
constexpr const char* kServerScript = R"(
import logging, os, sys, threading
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_user("kid", "secret", sys.argv[1], perm="elradfmwMT")
FTPHandler.authorizer = authorizer
FTPHandler.auth_failed_timeout = 0
server = FTPServer(("127.0.0.1", 0), FTPHandler)
print(server.address[1], flush=True)
threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
server.serve_forever(timeout=0.2)
)";

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartTimeoutMs = 10000;

} // namespace

LoopbackFTPServer::LoopbackFTPServer()
{
    char folder[] = "/tmp/pw-ftp-XXXXXX";
    if (!mkdtemp(folder)) {
        problem = "no temporary folder";
        return;
    }
    root = folder;
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0) {
        problem = "no pipes";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string rootText = root.string();
    char* argv[] = { const_cast<char*>(kPython), const_cast<char*>("-c"), const_cast<char*>(kServerScript),
        rootText.data(), nullptr };
    int spawned = posix_spawn(&pid, kPython, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toServer = in[1];
    if (spawned != 0) {
        pid = -1;
        close(out[0]);
        problem = std::string("cannot run ") + kPython;
        return;
    }
    // The first line the server prints is its port.
    std::string line;
    pollfd ready { out[0], POLLIN, 0 };
    while (line.find('\n') == std::string::npos && poll(&ready, 1, kStartTimeoutMs) == 1) {
        char buffer[64];
        ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, static_cast<size_t>(n));
    }
    close(out[0]);
    port = static_cast<uint16_t>(std::atoi(line.c_str()));
    if (port == 0)
        problem = "the FTP server did not start (is python3-pyftpdlib installed?)";
}

LoopbackFTPServer::~LoopbackFTPServer()
{
    if (toServer >= 0)
        close(toServer);
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    if (!root.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
}

std::string LoopbackFTPServer::Contents(const std::filesystem::path& relative) const
{
    std::ifstream file(root / relative, std::ios::binary);
    if (!file)
        return "(missing)";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace pw::net::tests
