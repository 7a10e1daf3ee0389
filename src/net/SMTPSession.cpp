#include "net/SMTPSession.h"

#include "foundation/Stream.h"
#include "net/InternetSession.h"
#include "ui/ProgressRange.h"

PW_DEFINE_CLASS(SMTPSession, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(SMTPSession)

namespace {

// Keeps the progress dialog and the message loop alive, so the worker's ticks run, until the step
// has finished; its failure is raised here.
void Wait(SMTPSession& session, ProgressRange& range)
{
    while (!session.IsDone())
        range.Advance(0);
}

} // namespace

SMTPSession::SMTPSession(const SmartPtr<InternetSession>& server, const String& mailServer, uint16_t port)
    : server(server)
{
    ProgressRange range(2, String("Opening smtp session"));
    range.Advance(1);
    // The waits turn the loop through the progress range, which does nothing while hidden.
    ProgressRange::SetVisible(true);
    worker = SmartPtr<SMTPThread>(new SMTPThread(mailServer, port));
    worker->NewRequest(SMTPThread::kConnect, SmartPtr<Smart>(new String(server->HostName())));
}

SMTPSession::~SMTPSession()
{
    worker = SmartPtr<SMTPThread>();
}

bool SMTPSession::IsDone()
{
    return worker->PollDone();
}

void SMTPSession::SendMessage(const SmartPtr<Stream>& message, const String& from, const String& to)
{
    if (!IsDone())
        return;
    SMTPThread::RefuseUnsafeAddress(from);
    SMTPThread::RefuseUnsafeAddress(to);
    if (message.Valid())
        SMTPThread::RefuseLongLines(*message.Get());
    ProgressRange range(2, String("Sending mail message"));
    range.Advance(1);
    worker->NewRequest(SMTPThread::kMailFrom, SmartPtr<Smart>(new String(from)));
    Wait(*this, range);
    worker->NewRequest(SMTPThread::kRcptTo, SmartPtr<Smart>(new String(to)));
    Wait(*this, range);
    range.Advance(1);
    worker->NewRequest(SMTPThread::kData, SmartPtr<Smart>(message.Get()));
    Wait(*this, range);
    worker->NewRequest(SMTPThread::kEndMessage, SmartPtr<Smart>());
}
