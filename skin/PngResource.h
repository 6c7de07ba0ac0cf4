// Pictures compiled into the program as resources of the custom type "PNG".
#pragma once

#include "framework/GdiplusPrelude.h"

// Makes a new GDI+ image from the "PNG" resource nID of the framework's resource module. Every call gives an
// independent image over its own copy of the bytes; the caller deletes it. A missing or undecodable resource
// still gives an image, whose status is a failure and whose size is 0 x 0. Null means no image object could
// be made at all (no memory for the object, the copy or its stream). GDI+ must be running.
Gdiplus::Image* ImageFromPngResource(UINT nID);
