#include "ui/Interactor.h"

PW_DEFINE_CLASS(Interactor, nullptr, nullptr, SmartImplementation)
