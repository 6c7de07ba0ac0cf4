#include "webview/PostedString.h"

#include <map>
#include <mutex>

namespace {

struct Outstanding {
    UINT message;
    HWND target;
    std::unique_ptr<CString> pString;
};

// Strings posted and not yet claimed, by address. The registry owns them until they are claimed.
struct Registry {
    std::mutex lock;
    std::map<WPARAM, Outstanding> outstanding;

    // A window that is gone takes its queued messages with it: their strings can never be claimed.
    void DropOrphans() {
        for (auto it = outstanding.begin(); it != outstanding.end();) {
            if (::IsWindow(it->second.target))
                ++it;
            else
                it = outstanding.erase(it);
        }
    }
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

BOOL PostOwnedString(HWND hWnd, UINT message, std::unique_ptr<CString> pString, LPARAM lParam) {
    if (!pString || !::IsWindow(hWnd))
        return FALSE;
    const WPARAM key = reinterpret_cast<WPARAM>(pString.get());
    Registry& registry = TheRegistry();
    {
        std::lock_guard<std::mutex> guard(registry.lock);
        registry.DropOrphans();
        registry.outstanding[key] = Outstanding{message, hWnd, std::move(pString)};
    }
    if (::PostMessageW(hWnd, message, key, lParam))
        return TRUE;
    // Nobody will ever claim it.
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.outstanding.erase(key);
    return FALSE;
}

std::unique_ptr<CString> ClaimPostedString(UINT message, WPARAM wParam) {
    if (wParam == 0)
        return nullptr;
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto it = registry.outstanding.find(wParam);
    if (it == registry.outstanding.end() || it->second.message != message)
        return nullptr;
    std::unique_ptr<CString> pString = std::move(it->second.pString);
    registry.outstanding.erase(it);
    return pString;
}

size_t OutstandingPostedStrings() {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.DropOrphans();
    return registry.outstanding.size();
}
