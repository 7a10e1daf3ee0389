#include "foundation/GenericSignal.h"

PW_DEFINE_CLASS(GenericSignal, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(GenericSignal)
