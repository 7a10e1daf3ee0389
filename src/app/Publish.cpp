#include "app/Publish.h"

#include "app/RegistrationMail.h"
#include "app/ServerDialog.h"
#include "app/TallowApp.h"
#include "app/TallowResources.h"
#include "export/TallowScribe.h"
#include "export/htmlElement.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/SmartList.h"
#include "foundation/UserCancelException.h"
#include "net/FTPSession.h"
#include "net/InternetSession.h"
#include "ui/DocWindow.h"
#include "ui/ProgressRange.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

using pw::foundation::TextOf;

// Application strings.
constexpr int32_t kRegisterQuestion = 24;
constexpr int32_t kCongratulation = 25;
constexpr int32_t kIntroduction = 26;
constexpr int32_t kNotConnected = 28;
constexpr int32_t kRegistrationFailed = 62;

// The "Publishing" range: the upload's share, and the registration's.
constexpr uint32_t kUploadSteps = 8;
constexpr uint32_t kRegisterSteps = 2;
// The "FTP Session" range: four steps before the files' 100.
constexpr uint32_t kSessionSteps = 104;
constexpr uint32_t kTransferShare = 100;

uint16_t ftpPort = pw::app::testing::PortFromEnvironment("PLUMEWRIGHT_TEST_FTP_PORT", FTPSession::kFTPPort);

// Shows application string `number` (its %1 filled in) and answers the button that closed it.
int16_t ShowString(int kind, int buttons, int32_t number, const char* argument = nullptr)
{
    char text[kMessageSize];
    TallowResources::GetString(text, sizeof text, number, argument);
    return Alert(kind, buttons, text);
}

// A host given by its IPv4 address ("127.0.0.1"): four numbers of 0 to 255 joined by dots. Its
// labels are no domain, so it stands whole in the sender, bracketed as mail servers take it.
bool IsAddressLiteral(const String& host)
{
    std::string text = TextOf(host);
    int parts = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t dot = std::min(text.find('.', start), text.size());
        std::string part = text.substr(start, dot - start);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos
            || std::stoi(part) > 255)
            return false;
        ++parts;
        start = dot + 1;
    }
    return parts == 4;
}

// Waits for the session's reply or transfer, keeping the progress dialog and the socket
// notifications going (and the Stop button live).
void Wait(FTPSession& session, ProgressRange& range)
{
    while (!session.DoTransfer())
        range.Advance(0);
}

} // namespace

void pw::app::testing::SetFTPPort(uint16_t port)
{
    ftpPort = port;
}

uint16_t pw::app::testing::PortFromEnvironment(const char* variable, uint16_t standard)
{
    const char* text = std::getenv(variable);
    if (!text || !*text)
        return standard;
    char* end = nullptr;
    unsigned long port = std::strtoul(text, &end, 10);
    return *end == '\0' && port > 0 && port <= 65535 ? static_cast<uint16_t>(port) : standard;
}

SmartPtr<String> MakeSenderAddress(const String& account, const String& host)
{
    String domain(host);
    if (IsAddressLiteral(host)) {
        domain.InsertChars("[", 0, 1);
        domain.AppendChars("]");
    } else if (domain.Length() > 0) {
        domain.ExtractWord(String("."));
    }
    SmartPtr<String> sender(new String(account));
    sender->AppendChars("@");
    sender->Append(domain);
    return sender;
}

String pw::app::SiteURL(const String& serverURL, const String& projectName)
{
    String site(serverURL);
    uint32_t length = site.Length();
    if (length > 0 && site.Find(String("/"), length, String::kBackward) != length)
        site.AppendChars("/");
    site.Append(projectName);
    return site;
}

SmartPtr<String> TallowApp::UploadSite(FileReference& exportFolder, const String& serverURL,
    const String& account, const String& password)
{
    ProgressRange range(kSessionSteps, String("FTP Session"));
    range.AdvanceWithText(String("Getting files"), 1);
    SmartList<FileReference> items = exportFolder.Contents(SmartList<FileType>(), false);
    range.AdvanceWithText(String("Connecting"), 1);
    SmartPtr<InternetSession> server(new InternetSession(InternetSession::HostFromURL(serverURL)));
    SmartPtr<FTPSession> session;
    try {
        session = new FTPSession(server, account, password, InternetSession::PortFromURL(serverURL, ftpPort));
        Wait(*session.Get(), range);
    } catch (Exception* failure) {
        // Not connected: the pages stay in the export folder, as the message says, and publishing
        // ends without another word. A server that answered and would not let the child in is no
        // lost connection: the FTP layer has shown its refusal and raised the silent cancel, and
        // that is all. The child's Stop ends it silently too, as it does later in the upload,
        // whatever the connection it cut short raised.
        if (!dynamic_cast<UserCancelException*>(failure) && !ProgressRange::WasStopped())
            ShowString(Alert::kInformation, Alert::kOkCancel, kNotConnected);
        ThrowPointer(SmartPtr<Exception>(new UserCancelException));
    }
    range.AdvanceWithText(String("Setting directory"), 1);
    session->SetDirectory(InternetSession::PathFromURL(serverURL), false);
    Wait(*session.Get(), range);
    range.Advance(1);
    const SmartPtr<String>& project = GetProject().GetName();
    if (project.Valid() && project->Length() > 0) {
        session->SetDirectory(*project.Get(), true);
        Wait(*session.Get(), range);
    }
    range.Advance(kTransferShare);
    ProgressRange transfer(items.NumItems(), String("Transferring files"));
    for (uint32_t index = items.NumItems(); index >= 1; --index) {
        FileReference* item = items.Item(index);
        if (!item || item->IsFolder())
            continue;
        String name = item->Name();
        transfer.AdvanceWithText(name, 1);
        session->SendFile(*item, name, true, 2);
        Wait(*session.Get(), transfer);
    }
    return new String(pw::app::SiteURL(serverURL, project.Valid() ? *project.Get() : String()));
}

void TallowApp::Publish()
{
    try {
        SmartPtr<DocWindow> page(SmartCast<DocWindow>(FindWindowForView().Get()));
        if (!page.Valid() || !page->CanClose(0))
            return;
        // A page without a file it may be stored in (new, or opened read-only) is saved first.
        auto storable = [&page] { return page->GetScribe().Valid() && page->GetScribe()->CanWrite(); };
        if (!storable()) {
            page->Save(DocWindow::kSave);
            // A page that is still not in a file (its name question was cancelled) has nothing
            // exported to publish.
            if (!storable())
                return;
        }
        SmartPtr<String> serverURL(new String);
        SmartPtr<String> account(new String);
        SmartPtr<String> password(new String);
        if (ShowString(Alert::kInformation, Alert::kOkCancel, kIntroduction) == Alert::kAnswerCancel)
            return;
        if (!AskServerInfo(serverURL, account, password))
            return;
        int16_t answer = ShowString(Alert::kInformation, Alert::kYesNoCancel, kRegisterQuestion);
        if (answer == Alert::kAnswerCancel)
            return;
        bool registering = answer == Alert::kAnswerOk;
        ProgressRange range(kUploadSteps + (registering ? kRegisterSteps : 0), String("Publishing"));
        auto* scribe = SmartCast<TallowScribe>(page->GetScribe().Get());
        if (!scribe)
            return;
        if (!GetProject().GetName().Valid())
            GetProject().SetName(String());
        // The project is named after the folder its pages are stored in.
        SmartPtr<FileReference> projectFolder = scribe->GetDocumentFile()->Parent();
        if (projectFolder.Valid())
            GetProject().SetName(FileBaseName(*projectFolder.Get()));
        range.Advance(kUploadSteps);
        SmartPtr<String> site = UploadSite(*scribe->GetExportFolder().Get(), *serverURL.Get(), *account.Get(),
            *password.Get());
        if (registering) {
            try {
                range.Advance(kRegisterSteps);
                String host = InternetSession::HostFromURL(*serverURL.Get());
                SmartPtr<String> sender = MakeSenderAddress(*account.Get(), host);
                RegisterSite(*site.Get(), *sender.Get());
            } catch (Exception*) {
                // A registration that failed, or was stopped, never undoes the upload.
                ShowString(Alert::kExclamation, Alert::kOk, kRegistrationFailed);
            }
        }
        char name[256];
        GetProject().GetName()->GetCString(name, sizeof name);
        ShowString(Alert::kInformation, Alert::kOk, kCongratulation, name);
    } catch (Exception* exception) {
        // Held while it shows: the alert's loop may run work that throws and replaces the current
        // exception.
        SmartPtr<Exception> held(exception->Unreferenced() ? nullptr : exception);
        exception->Display(Alert::kStop);
    }
}

