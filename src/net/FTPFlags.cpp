#include "net/FTPFlags.h"

#include "foundation/Exception.h"

bool ftpActive = false;
bool ftpConnecting = false;
bool transferAborted = false;
bool sendFailedReported = false;
bool dataAccepted = false;

namespace pw::net {

namespace {

SmartPtr<Exception> notifiedFailure;
DWORD lastActivity = 0;

} // namespace

void KeepNotifiedFailure(Exception* failure)
{
    if (!notifiedFailure.Valid())
        notifiedFailure = SmartPtr<Exception>(failure);
}

void RaiseNotifiedFailure()
{
    if (!notifiedFailure.Valid())
        return;
    SmartPtr<Exception> failure = notifiedFailure;
    notifiedFailure = SmartPtr<Exception>();
    ThrowPointer(failure);
}

void ForgetNotifiedFailure()
{
    notifiedFailure = SmartPtr<Exception>();
}

void NoteActivity()
{
    lastActivity = GetTickCount();
}

DWORD LastActivity()
{
    return lastActivity;
}

} // namespace pw::net
