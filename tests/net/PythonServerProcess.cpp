#include "PythonServerProcess.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace pw::net::tests {

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartTimeoutMs = 10000;

} // namespace

PythonServerProcess::PythonServerProcess(const char* script, const std::vector<std::string>& arguments,
    const std::string& what)
{
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
    std::vector<std::string> texts = arguments;
    std::vector<char*> argv { const_cast<char*>(kPython), const_cast<char*>("-c"), const_cast<char*>(script) };
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    int spawned = posix_spawn(&pid, kPython, &actions, nullptr, argv.data(), environ);
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
        problem = what + " did not start";
}

PythonServerProcess::~PythonServerProcess()
{
    if (toServer >= 0)
        close(toServer);
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

} // namespace pw::net::tests
