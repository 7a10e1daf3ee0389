#include "engine/NumberCommandHandler.h"

PW_DEFINE_CLASS(NumberCommandHandler, nullptr, nullptr, Smart)
