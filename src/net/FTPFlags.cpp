#include "net/FTPFlags.h"

bool ftpActive = false;
bool ftpConnecting = false;
bool transferAborted = false;
bool sendFailedReported = false;
bool dataAccepted = false;
