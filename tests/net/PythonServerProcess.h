// A loopback test server written in Python, run by /usr/bin/python3 (where the system's Python
// libraries load): the script gets the extra arguments, must print its port as its first line, and
// must end when its standard input closes, so it never outlives the test process.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pw::net::tests {

class PythonServerProcess {
public:
    // Starts the script and waits for its port; `what` names the server in Problem().
    PythonServerProcess(const char* script, const std::vector<std::string>& arguments, const std::string& what);
    ~PythonServerProcess();
    PythonServerProcess(const PythonServerProcess&) = delete;
    PythonServerProcess& operator=(const PythonServerProcess&) = delete;

    // Empty when the server runs; otherwise why it does not.
    const std::string& Problem() const { return problem; }
    uint16_t Port() const { return port; }

private:
    std::string problem;
    uint16_t port { 0 };
    pid_t pid { -1 };
    int toServer { -1 };
};

} // namespace pw::net::tests
