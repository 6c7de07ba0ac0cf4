// The address of the game platform's start page for this game.
#pragma once

#include "framework/Prelude.h"

// "http://" + host + "/weiduan/lyc". The host is fixed when the program is built; the start page is loaded
// from this address and shown only once a document at exactly this address has finished loading.
LPCWSTR StartUrl();
