#include "foundation/SystemScrap.h"

PW_DEFINE_CLASS(SystemScrap, nullptr, nullptr, Smart)
PW_DEFINE_NO_COPY_SLOTS(SystemScrap)
