// CComPtr: one owned reference to a COM interface.
//
// The holder releases its reference when it goes or is reset, so a member or a local never needs a
// Release by hand. Copies take a reference of their own; moves hand the one reference over.
#pragma once

#include "framework/Prelude.h"

#include <unknwn.h>

#include <utility>

template <class T> class CComPtr {
public:
    CComPtr() = default;
    // Takes a reference of its own on p.
    explicit CComPtr(T* p) : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.m_p) {}
    CComPtr(CComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~CComPtr() { Release(); }

    CComPtr& operator=(CComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Gives the reference up (if any) and holds nothing. The holder is empty before the interface's own
    // Release runs, so a Release that calls back into the owner finds it empty.
    void Release() {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    // Where a call returns a new reference: the old one is given up first.
    T** out() {
        Release();
        return &m_p;
    }
    void** outVoid() { return reinterpret_cast<void**>(out()); }

    // Asks the held object for another interface; an empty holder when it has none.
    template <class U> CComPtr<U> As(REFIID riid) const {
        CComPtr<U> result;
        // A failed call's out value is not a reference, whatever it holds.
        if (m_p && FAILED(m_p->QueryInterface(riid, result.outVoid())))
            result.Detach();
        return result;
    }

    // Holds p without taking a reference: p's reference passes to the holder.
    void Attach(T* p) {
        Release();
        m_p = p;
    }
    // Hands the reference to the caller and holds nothing.
    T* Detach() { return std::exchange(m_p, nullptr); }

private:
    T* m_p = nullptr;
};
