// An owned reference to a loaded library, for entry points the program looks up at run time instead of taking
// them from its import table.
#pragma once

#include "framework/Prelude.h"

#include <utility>

// Holds one reference from LoadLibrary and gives it back with FreeLibrary when it goes (or is reset). Moves,
// never copies, so each reference is given back exactly once.
class CLibraryHandle {
public:
    CLibraryHandle() = default;
    explicit CLibraryHandle(HMODULE hModule) : m_hModule(hModule) {}
    ~CLibraryHandle() { Reset(); }
    CLibraryHandle(CLibraryHandle&& other) noexcept : m_hModule(std::exchange(other.m_hModule, nullptr)) {}
    CLibraryHandle& operator=(CLibraryHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_hModule = std::exchange(other.m_hModule, nullptr);
        }
        return *this;
    }
    CLibraryHandle(const CLibraryHandle&) = delete;
    CLibraryHandle& operator=(const CLibraryHandle&) = delete;

    // Gives the reference back now.
    void Reset() {
        if (m_hModule != nullptr)
            ::FreeLibrary(std::exchange(m_hModule, nullptr));
    }

    bool IsLoaded() const { return m_hModule != nullptr; }
    HMODULE Get() const { return m_hModule; }

    // The entry point pszName as a function pointer of type Fn; null when no library is held or it lacks the
    // entry point. Valid only while this object holds the library.
    template <class Fn> Fn GetProc(LPCSTR pszName) const {
        if (m_hModule == nullptr)
            return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m_hModule, pszName)));
    }

private:
    HMODULE m_hModule = nullptr;
};
