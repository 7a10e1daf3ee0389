#include "ui/Task.h"

PW_DEFINE_CLASS(Task, nullptr, nullptr, Smart)
