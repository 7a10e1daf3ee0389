// Declarations are added as the platform floor grows.
#pragma once

#include "windef.h"
