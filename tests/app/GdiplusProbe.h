// Test builds only: what GdiplusProbe.cpp counts, for tests in the same process.
#pragma once

namespace qxrv::test {

// Counted GDI+ calls (objects made or released) while GDI+ was not running: before its start-up or between a
// shut-down and the next start-up.
long GdiplusCallsWhileStopped();

} // namespace qxrv::test
