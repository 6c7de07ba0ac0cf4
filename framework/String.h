// CString: the program's wide (UTF-16) string, shared between copies until one of them is changed.
//
// Every character count is a count of UTF-16 units. A string may hold NUL units inside its length; the
// operations here work on the whole length, while the LPCWSTR view naturally ends at the first NUL.
// Positions and counts out of range are clamped, never trusted. Allocation failure raises the framework's
// out-of-memory exception.
#pragma once

#include "framework/Prelude.h"

#include <oleauto.h>

class CString {
public:
    CString();
    CString(const CString& other);
    CString(CString&& other) noexcept;
    // A NULL pointer gives the empty string.
    CString(LPCWSTR psz);
    // nLength units from pch, NULs included; a negative length counts as 0.
    CString(LPCWSTR pch, int nLength);
    explicit CString(wchar_t ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCWSTR psz);
    CString& operator=(wchar_t ch);

    int GetLength() const;
    BOOL IsEmpty() const;
    void Empty();

    // The text, always NUL-terminated; valid until this string is next changed or destroyed.
    operator LPCWSTR() const { return m_pszData; }
    LPCWSTR GetString() const { return m_pszData; }

    // Out-of-range positions read as NUL and write nothing.
    wchar_t GetAt(int nIndex) const;
    wchar_t operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, wchar_t ch);

    void Append(LPCWSTR pch, int nLength);
    void Append(LPCWSTR psz);
    void Append(const CString& str);
    void AppendChar(wchar_t ch);
    CString& operator+=(const CString& str);
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(wchar_t ch);

    // Ordinal comparison by UTF-16 unit: <0, 0 or >0.
    int Compare(LPCWSTR psz) const;
    int Compare(const CString& str) const;
    // The same, with both sides folded to lower case first.
    int CompareNoCase(LPCWSTR psz) const;
    int CompareNoCase(const CString& str) const;

    // Position of the first match at or after nStart, or -1 (also for a start outside the string).
    int Find(wchar_t ch, int nStart = 0) const;
    int Find(LPCWSTR pszSub, int nStart = 0) const;
    int ReverseFind(wchar_t ch) const;

    // Substrings; counts and positions are clamped to the string.
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;

    // Replaces every occurrence in one pass from left to right; text that a replacement joins into a new
    // occurrence stays as it is. Returns how many were replaced. An empty or NULL pszOld replaces nothing.
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
    int Replace(wchar_t chOld, wchar_t chNew);

    CString& MakeLower();
    CString& MakeUpper();

    // printf-style formatting of wide text (%s takes a wide string).
    void Format(LPCWSTR pszFormat, ...);
    void FormatV(LPCWSTR pszFormat, va_list args);

    // Direct writing: GetBuffer gives room for at least nMinLength units plus a NUL, owned by this string
    // alone; ReleaseBuffer sets the length (-1: up to the first NUL within the buffer). Do not copy the
    // string between the two calls; a copy taken then gets its own text.
    LPWSTR GetBuffer(int nMinLength);
    LPWSTR GetBuffer() { return GetBuffer(0); }
    void ReleaseBuffer(int nNewLength = -1);

    // A new BSTR with the whole text (NULs included); the caller frees it with SysFreeString.
    BSTR AllocSysString() const;

private:
    struct Data;
    Data* GetData() const;
    static Data* Nil();
    static Data* Allocate(int nCapacity);
    static void Release(Data* pData);
    void Assign(LPCWSTR pch, int nLength);
    // Makes the text this string's own with room for nCapacity units, keeping the first nKeep units.
    void PrepareWrite(int nCapacity, int nKeep);
    void SetLength(int nLength);

    LPWSTR m_pszData;
};

// Concatenation; a plain string on either side converts to CString.
CString operator+(CString a, const CString& b);
CString operator+(CString a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

inline bool operator==(const CString& a, const CString& b) {
    return a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCWSTR b) {
    return a.Compare(b) == 0;
}
inline bool operator==(LPCWSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(const CString& a, LPCWSTR b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(LPCWSTR a, const CString& b) {
    return b.Compare(a) != 0;
}
inline bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
