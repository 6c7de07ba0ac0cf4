// Test build only: lets a test in another process act on the launcher's thread (see UiAgent.h).
#include "tests/app/UiAgent.h"

namespace {

// Static initialisation runs on the thread that later runs the launcher's windows.
struct AgentInstaller {
    AgentInstaller() { qxrv::test::InstallUiAgent(); }
} g_installer;

} // namespace
