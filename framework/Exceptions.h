// The framework's exceptions. They are thrown by value and caught by reference (const CException&).
//
// Message handlers leave them to the framework: the window procedure catches them, so they never unwind
// through the system's own frames, and the message then gets a failure result (-1 for WM_CREATE, 0
// otherwise).
#pragma once

#include "framework/Prelude.h"

class CException {
public:
    virtual ~CException() = default;
    // A short description for diagnostics.
    virtual const wchar_t* What() const = 0;
};

// An allocation failed.
class CMemoryException : public CException {
public:
    const wchar_t* What() const override { return L"out of memory"; }
};

// A system resource (a device context, a window) could not be had.
class CResourceException : public CException {
public:
    const wchar_t* What() const override { return L"resource failure"; }
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
