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
    // How many strings wait for each receiver. Only a few windows ever receive, so checking each of them on
    // every post is cheap, where checking every string would make a page's burst of links cost the square
    // of its length.
    std::map<HWND, size_t> receivers;

    void Add(WPARAM key, Outstanding entry) {
        ++receivers[entry.target];
        outstanding[key] = std::move(entry);
    }

    void Remove(std::map<WPARAM, Outstanding>::iterator it) {
        auto receiver = receivers.find(it->second.target);
        if (receiver != receivers.end() && --receiver->second == 0)
            receivers.erase(receiver);
        outstanding.erase(it);
    }

    // A window that is gone takes its queued messages with it: their strings can never be claimed.
    void DropOrphans() {
        bool bAnyGone = false;
        for (const auto& receiver : receivers)
            bAnyGone = bAnyGone || !::IsWindow(receiver.first);
        if (!bAnyGone)
            return;
        for (auto it = outstanding.begin(); it != outstanding.end();) {
            if (::IsWindow(it->second.target))
                ++it;
            else
                Remove(it++);
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
        registry.Add(key, Outstanding{message, hWnd, std::move(pString)});
    }
    if (::PostMessageW(hWnd, message, key, lParam))
        return TRUE;
    // Nobody will ever claim it.
    std::lock_guard<std::mutex> guard(registry.lock);
    auto it = registry.outstanding.find(key);
    if (it != registry.outstanding.end())
        registry.Remove(it);
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
    registry.Remove(it);
    return pString;
}

size_t OutstandingPostedStrings() {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.DropOrphans();
    return registry.outstanding.size();
}
