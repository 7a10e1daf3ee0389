#include "foundation/Persistent.h"

PW_DEFINE_CLASS(Persistent, nullptr, nullptr, Smart)
PW_DEFINE_NO_COPY_SLOTS(Persistent)
