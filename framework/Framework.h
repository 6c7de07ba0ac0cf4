// The whole framework layer in one include.
#pragma once

#include "framework/Prelude.h"

#include "framework/Exceptions.h"
#include "framework/String.h"
#include "framework/Types.h"
#include "framework/Gdi.h"
#include "framework/RuntimeClass.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"
#include "framework/WindowDC.h"
#include "framework/Dialog.h"
#include "framework/Controls.h"
#include "framework/WinApp.h"
