#include "LoopbackFTPServer.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

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


} // namespace

LoopbackFTPServer::LoopbackFTPServer()
{
    char folder[] = "/tmp/pw-ftp-XXXXXX";
    if (!mkdtemp(folder)) {
        problem = "no temporary folder";
        return;
    }
    root = folder;
    process = std::make_unique<PythonServerProcess>(kServerScript, std::vector<std::string> { root.string() },
        "the FTP server (is python3-pyftpdlib installed?)");
}

LoopbackFTPServer::~LoopbackFTPServer()
{
    process.reset();
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
