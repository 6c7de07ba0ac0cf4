// GDI+'s headers expect min and max as names in scope; NOMINMAX removes the macros.
#pragma once

#include "framework/Prelude.h"

#include <algorithm>
#include <objidl.h>
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>
