#include "LoopbackFTPServer.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace pw::net::tests {

namespace {

// Serves argv[1]/root until its standard input closes, so the server never outlives the test
// process. Every command line is appended to argv[1]/commands.txt; a line beginning with argv[2]
// (when not empty) is answered with argv[3] instead, and after it nothing more is answered when
// argv[4] is "silent".
constexpr const char* kPythonServerScript = R"(
import logging, os, sys, threading
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
folder, refused, reply, after = sys.argv[1:5]
root, log = os.path.join(folder, "root"), os.path.join(folder, "commands.txt")
class Handler(FTPHandler):
    silent = False
    def pre_process_command(self, line, cmd, arg):
        with open(log, "a") as commands:
            commands.write(line + "\n")
        if self.silent:
            return
        if refused and line.startswith(refused):
            self.respond(reply)
            self.silent = after == "silent"
            return
        FTPHandler.pre_process_command(self, line, cmd, arg)
logging.basicConfig(level=logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_user("kid", "secret", root, perm="elradfmwMT")
Handler.authorizer = authorizer
Handler.auth_failed_timeout = 0
server = FTPServer(("127.0.0.1", 0), Handler)
print(server.address[1], flush=True)
threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
server.serve_forever(timeout=0.2)
)";

// Runs vsftpd as its own instance on a free port, serving argv[1]/root to anonymous users, with
// the configuration lines argv[2:] over the defaults; vsftpd ends when the script does, which is
// when its standard input closes or it is ended. The root must not be writable for vsftpd's FTP
// user, so the uploads go to its "site".
constexpr const char* kVsftpdScript = R"(
import ctypes, os, pwd, signal, socket, subprocess, sys, time
folder, settings = sys.argv[1], sys.argv[2:]
root, empty = os.path.join(folder, "root"), os.path.join(folder, "empty")
os.makedirs(empty, exist_ok=True)
os.makedirs(os.path.join(root, "site"), exist_ok=True)
os.chmod(root, 0o755)
user = pwd.getpwnam("ftp")
os.chown(os.path.join(root, "site"), user.pw_uid, user.pw_gid)
probe = socket.socket()
probe.bind(("127.0.0.1", 0))
port = probe.getsockname()[1]
probe.close()
config = dict(listen="YES", listen_ipv6="NO", listen_address="127.0.0.1", listen_port=str(port),
    background="NO", anonymous_enable="YES", local_enable="NO", anon_root=root, no_anon_password="YES",
    write_enable="YES", anon_upload_enable="YES", anon_mkdir_write_enable="YES", port_enable="YES",
    connect_from_port_20="NO", secure_chroot_dir=empty, seccomp_sandbox="NO", isolate="NO",
    isolate_network="NO", xferlog_enable="NO")
config.update(setting.split("=", 1) for setting in settings)
path = os.path.join(folder, "vsftpd.conf")
with open(path, "w") as file:
    file.writelines("%s=%s\n" % item for item in config.items())
parent_death_signal = 1
libc = ctypes.CDLL(None)
server = subprocess.Popen(["/usr/sbin/vsftpd", path], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
    stderr=subprocess.DEVNULL, preexec_fn=lambda: libc.prctl(parent_death_signal, signal.SIGTERM))
deadline = time.time() + 10
while server.poll() is None and time.time() < deadline:
    try:
        socket.create_connection(("127.0.0.1", port), 1).close()
        print(port, flush=True)
        sys.stdin.read()
        break
    except OSError:
        time.sleep(0.05)
if server.poll() is None:
    server.terminate()
    server.wait()
)";

} // namespace

LoopbackFTPServer::LoopbackFTPServer()
    : LoopbackFTPServer(Refusal {})
{
}

LoopbackFTPServer::LoopbackFTPServer(const Refusal& refusal)
    : LoopbackFTPServer(kPythonServerScript,
        { refusal.command, refusal.reply, refusal.thenSilent ? "silent" : "" },
        "the FTP server (is python3-pyftpdlib installed?)")
{
}

std::unique_ptr<LoopbackFTPServer> LoopbackFTPServer::Vsftpd(const std::vector<std::string>& settings)
{
    return std::unique_ptr<LoopbackFTPServer>(new LoopbackFTPServer(kVsftpdScript, settings,
        "vsftpd (is it installed, and does the test run as root?)"));
}

// Each script is given the folder first: it serves the folder's "root".
LoopbackFTPServer::LoopbackFTPServer(const char* script, std::vector<std::string> arguments, const std::string& what)
{
    char name[] = "/tmp/pw-ftp-XXXXXX";
    if (!mkdtemp(name)) {
        problem = "no temporary folder";
        return;
    }
    folder = name;
    root = folder / "root";
    std::error_code ignored;
    std::filesystem::create_directory(root, ignored);
    arguments.insert(arguments.begin(), folder.string());
    process = std::make_unique<PythonServerProcess>(script, arguments, what);
}

LoopbackFTPServer::~LoopbackFTPServer()
{
    process.reset();
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

std::string LoopbackFTPServer::Contents(const std::filesystem::path& relative) const
{
    std::ifstream file(root / relative, std::ios::binary);
    if (!file)
        return "(missing)";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> LoopbackFTPServer::Commands() const
{
    std::vector<std::string> lines;
    std::ifstream file(folder / "commands.txt");
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

} // namespace pw::net::tests
