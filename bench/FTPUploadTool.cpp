// The program's side of bench_ftp as a process of its own, so that it is timed as curl is: from
// the shell starting it to its exit. It starts the platform as the program does, takes the
// benchmark's drive root, makes the main window that hands socket notifications on, and uploads
// the files c:\plume\upload\file0.jpg ... as publishing does, inside one progress range.
//
//   pw_ftp_upload <drive root> <port> <server folder> <file count>
//
// Exits with 0 when every file was sent, 1 when the upload failed, 2 on bad arguments.
#include "foundation/FileReference.h"
#include "net/FTPSession.h"
#include "net/InternetSession.h"
#include "platform/backend/Backend.h"
#include "platform/kernel/KernelTesting.h"
#include "ui/AppMain.h"
#include "ui/ProgressRange.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Settle(FTPSession& session, ProgressRange& range)
{
    while (!session.DoTransfer())
        range.Advance(0);
}

void UploadFolder(uint16_t port, const char* folder, int files)
{
    ProgressRange range(static_cast<uint32_t>(files + 2), String("Publishing"));
    SmartPtr<FTPSession> session(new FTPSession(SmartPtr<InternetSession>(new InternetSession(String("127.0.0.1"))),
        String("kid"), String("secret"), port));
    Settle(*session.Get(), range);
    session->SetDirectory(String(folder), true);
    Settle(*session.Get(), range);
    for (int i = 0; i < files; ++i) {
        range.Advance(1);
        std::string name = "file" + std::to_string(i) + ".jpg";
        session->SendFile(FileReference(("c:\\plume\\upload\\" + name).c_str()), String(name.c_str()), true, 2);
        Settle(*session.Get(), range);
    }
}

} // namespace

int main(int argc, char** argv)
{
    int port = argc == 5 ? std::atoi(argv[2]) : 0;
    int files = argc == 5 ? std::atoi(argv[4]) : 0;
    if (port <= 0 || port > 65535 || files <= 0) {
        std::fprintf(stderr, "usage: pw_ftp_upload <drive root> <port> <server folder> <file count>\n");
        return 2;
    }
    if (!pw::platform::StartProgramPlatform())
        return 1;
    pw::platform::testing::SetDriveRoot(argv[1]);
    int code = 0;
    try {
        if (!pw::platform::testing::SetStartupFolder("c:\\plume") || !pw::ui::CreateMainWindow(nullptr))
            code = 1;
        else
            UploadFolder(static_cast<uint16_t>(port), argv[3], files);
    } catch (...) {
        std::fprintf(stderr, "pw_ftp_upload: the upload failed\n");
        code = 1;
    }
    pw::platform::StopProgramPlatform();
    return code;
}
