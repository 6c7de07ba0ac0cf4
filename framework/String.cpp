#include "framework/String.h"

#include "framework/Exceptions.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <utility>

// The text follows this header in one block. nRefs counts the strings sharing the block; two values are
// special: the shared empty string is never freed or written, and a block whose buffer is out (GetBuffer) is
// never shared, because its owner may be writing into it.
struct CString::Data {
    LONG nRefs;
    int nLength;
    int nCapacity; // units of text the block can hold, not counting the closing NUL
    wchar_t* Text() { return reinterpret_cast<wchar_t*>(this + 1); }
};

namespace {

constexpr LONG kNilRefs = -2;
constexpr LONG kLockedRefs = -1;
// Far beyond any text this program handles; keeps every size computation inside int.
constexpr int kMaxLength = (0x7FFFFFFF - 64) / 2 / 2;

int SafeLength(LPCWSTR psz) {
    return psz ? static_cast<int>(wcsnlen(psz, kMaxLength + 1u)) : 0;
}

wchar_t FoldCase(wchar_t ch) {
    // CharLowerW converts one character passed in the low word of the pointer.
    return static_cast<wchar_t>(
        reinterpret_cast<UINT_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(UINT_PTR(ch)))));
}

int CompareUnits(LPCWSTR a, int na, LPCWSTR b, int nb, bool bFoldCase) {
    const int n = na < nb ? na : nb;
    for (int i = 0; i < n; ++i) {
        const wchar_t ca = bFoldCase ? FoldCase(a[i]) : a[i];
        const wchar_t cb = bFoldCase ? FoldCase(b[i]) : b[i];
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

// Position of pSub (nSub > 0 units) in pText at or after nStart, or -1.
int FindUnits(LPCWSTR pText, int nText, LPCWSTR pSub, int nSub, int nStart) {
    for (int i = nStart; i + nSub <= nText; ++i) {
        if (pText[i] == pSub[0] && wmemcmp(pText + i, pSub, nSub) == 0)
            return i;
    }
    return -1;
}

int ClampCount(int n, int nMax) {
    return n < 0 ? 0 : (n > nMax ? nMax : n);
}

} // namespace

CString::Data* CString::Nil() {
    static struct {
        Data data;
        wchar_t text[1];
    } s_nil = {{kNilRefs, 0, 0}, {0}};
    static_assert(offsetof(decltype(s_nil), text) == sizeof(Data), "the text must follow its header");
    return &s_nil.data;
}

CString::Data* CString::GetData() const {
    return reinterpret_cast<Data*>(m_pszData) - 1;
}

CString::Data* CString::Allocate(int nCapacity) {
    if (nCapacity < 0 || nCapacity > kMaxLength)
        AfxThrowMemoryException();
    Data* pData = static_cast<Data*>(std::malloc(sizeof(Data) + (nCapacity + 1) * sizeof(wchar_t)));
    if (!pData)
        AfxThrowMemoryException();
    pData->nRefs = 1;
    pData->nLength = 0;
    pData->nCapacity = nCapacity;
    pData->Text()[0] = L'\0';
    return pData;
}

void CString::Release(Data* pData) {
    if (pData->nRefs == kNilRefs)
        return;
    if (pData->nRefs == kLockedRefs || InterlockedDecrement(&pData->nRefs) == 0)
        std::free(pData);
}

void CString::Assign(LPCWSTR pch, int nLength) {
    Data* pOld = GetData();
    if (nLength <= 0 || !pch) {
        m_pszData = Nil()->Text();
    } else {
        // Copy before letting go of the old text: pch may point into it.
        Data* pNew = Allocate(nLength);
        wmemcpy(pNew->Text(), pch, nLength);
        pNew->Text()[nLength] = L'\0';
        pNew->nLength = nLength;
        m_pszData = pNew->Text();
    }
    Release(pOld);
}

void CString::PrepareWrite(int nCapacity, int nKeep) {
    Data* pOld = GetData();
    const bool bUnique = pOld->nRefs == 1 || pOld->nRefs == kLockedRefs;
    if (bUnique && pOld->nCapacity >= nCapacity)
        return;
    // Growing a string of our own: leave room for more, so that repeated appends stay cheap.
    int nNewCapacity = nCapacity;
    if (bUnique && pOld->nCapacity < kMaxLength / 2 && nNewCapacity < pOld->nCapacity * 2)
        nNewCapacity = pOld->nCapacity * 2;
    Data* pNew = Allocate(nNewCapacity);
    const int nCopy = ClampCount(nKeep < pOld->nLength ? nKeep : pOld->nLength, nNewCapacity);
    wmemcpy(pNew->Text(), pOld->Text(), nCopy);
    pNew->Text()[nCopy] = L'\0';
    pNew->nLength = nCopy;
    m_pszData = pNew->Text();
    Release(pOld);
}

void CString::SetLength(int nLength) {
    Data* pData = GetData();
    pData->nLength = nLength;
    pData->Text()[nLength] = L'\0';
}

CString::CString() : m_pszData(Nil()->Text()) {}

CString::CString(const CString& other) : m_pszData(Nil()->Text()) {
    Data* pData = other.GetData();
    if (pData->nRefs == kLockedRefs) {
        Assign(other.m_pszData, pData->nLength);
        return;
    }
    if (pData->nRefs > 0)
        InterlockedIncrement(&pData->nRefs);
    m_pszData = other.m_pszData;
}

CString::CString(CString&& other) noexcept : m_pszData(other.m_pszData) {
    other.m_pszData = Nil()->Text();
}

CString::CString(LPCWSTR psz) : m_pszData(Nil()->Text()) {
    Assign(psz, SafeLength(psz));
}

CString::CString(LPCWSTR pch, int nLength) : m_pszData(Nil()->Text()) {
    Assign(pch, nLength);
}

CString::CString(wchar_t ch, int nRepeat) : m_pszData(Nil()->Text()) {
    if (nRepeat <= 0)
        return;
    PrepareWrite(nRepeat, 0);
    wmemset(m_pszData, ch, nRepeat);
    SetLength(nRepeat);
}

CString::~CString() {
    Release(GetData());
}

CString& CString::operator=(const CString& other) {
    CString copy(other);
    std::swap(m_pszData, copy.m_pszData);
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    std::swap(m_pszData, other.m_pszData);
    return *this;
}

CString& CString::operator=(LPCWSTR psz) {
    Assign(psz, SafeLength(psz));
    return *this;
}

CString& CString::operator=(wchar_t ch) {
    Assign(&ch, 1);
    return *this;
}

int CString::GetLength() const {
    return GetData()->nLength;
}

BOOL CString::IsEmpty() const {
    return GetLength() == 0;
}

void CString::Empty() {
    Assign(nullptr, 0);
}

wchar_t CString::GetAt(int nIndex) const {
    return nIndex >= 0 && nIndex < GetLength() ? m_pszData[nIndex] : L'\0';
}

void CString::SetAt(int nIndex, wchar_t ch) {
    const int nLength = GetLength();
    if (nIndex < 0 || nIndex >= nLength)
        return;
    PrepareWrite(nLength, nLength);
    m_pszData[nIndex] = ch;
}

void CString::Append(LPCWSTR pch, int nLength) {
    if (!pch || nLength <= 0)
        return;
    const int nOld = GetLength();
    if (pch >= m_pszData && pch <= m_pszData + nOld) {
        // Appending part of ourselves: the buffer may move, so take a copy first.
        const CString copy(pch, nLength);
        Append(copy.m_pszData, copy.GetLength());
        return;
    }
    if (nLength > kMaxLength - nOld)
        AfxThrowMemoryException();
    PrepareWrite(nOld + nLength, nOld);
    wmemcpy(m_pszData + nOld, pch, nLength);
    SetLength(nOld + nLength);
}

void CString::Append(LPCWSTR psz) {
    Append(psz, SafeLength(psz));
}

void CString::Append(const CString& str) {
    if (IsEmpty() && GetData()->nRefs != kLockedRefs) {
        *this = str; // shares the text instead of copying it
        return;
    }
    Append(str.m_pszData, str.GetLength());
}

void CString::AppendChar(wchar_t ch) {
    Append(&ch, 1);
}

CString& CString::operator+=(const CString& str) {
    Append(str);
    return *this;
}

CString& CString::operator+=(LPCWSTR psz) {
    Append(psz);
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    AppendChar(ch);
    return *this;
}

int CString::Compare(LPCWSTR psz) const {
    return CompareUnits(m_pszData, GetLength(), psz ? psz : L"", SafeLength(psz), false);
}

int CString::Compare(const CString& str) const {
    return CompareUnits(m_pszData, GetLength(), str.m_pszData, str.GetLength(), false);
}

int CString::CompareNoCase(LPCWSTR psz) const {
    return CompareUnits(m_pszData, GetLength(), psz ? psz : L"", SafeLength(psz), true);
}

int CString::CompareNoCase(const CString& str) const {
    return CompareUnits(m_pszData, GetLength(), str.m_pszData, str.GetLength(), true);
}

int CString::Find(wchar_t ch, int nStart) const {
    const int nLength = GetLength();
    for (int i = nStart < 0 ? nLength : nStart; i < nLength; ++i) {
        if (m_pszData[i] == ch)
            return i;
    }
    return -1;
}

int CString::Find(LPCWSTR pszSub, int nStart) const {
    const int nLength = GetLength();
    if (!pszSub || nStart < 0 || nStart > nLength)
        return -1;
    const int nSub = SafeLength(pszSub);
    if (nSub == 0)
        return nStart;
    return FindUnits(m_pszData, nLength, pszSub, nSub, nStart);
}

int CString::ReverseFind(wchar_t ch) const {
    for (int i = GetLength() - 1; i >= 0; --i) {
        if (m_pszData[i] == ch)
            return i;
    }
    return -1;
}

CString CString::Left(int nCount) const {
    return Mid(0, nCount);
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    const int nLength = GetLength();
    nFirst = ClampCount(nFirst, nLength);
    nCount = ClampCount(nCount, nLength - nFirst);
    if (nFirst == 0 && nCount == nLength)
        return *this;
    return CString(m_pszData + nFirst, nCount);
}

CString CString::Right(int nCount) const {
    const int nLength = GetLength();
    nCount = ClampCount(nCount, nLength);
    return Mid(nLength - nCount, nCount);
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew) {
    const int nOld = SafeLength(pszOld);
    if (nOld == 0)
        return 0;
    const int nNew = SafeLength(pszNew);
    const int nLength = GetLength();

    int nFound = 0;
    for (int i = FindUnits(m_pszData, nLength, pszOld, nOld, 0); i >= 0;
         i = FindUnits(m_pszData, nLength, pszOld, nOld, i + nOld))
        ++nFound;
    if (nFound == 0)
        return 0;

    const long long nResult = nLength + static_cast<long long>(nFound) * (nNew - nOld);
    if (nResult > kMaxLength)
        AfxThrowMemoryException();
    // Build the result beside the old text: pszOld and pszNew may point into it.
    CString result;
    result.PrepareWrite(static_cast<int>(nResult), 0);
    LPWSTR pOut = result.m_pszData;
    int nDone = 0;
    for (int i = FindUnits(m_pszData, nLength, pszOld, nOld, 0); i >= 0;
         i = FindUnits(m_pszData, nLength, pszOld, nOld, i + nOld)) {
        wmemcpy(pOut, m_pszData + nDone, i - nDone);
        pOut += i - nDone;
        wmemcpy(pOut, pszNew, nNew);
        pOut += nNew;
        nDone = i + nOld;
    }
    wmemcpy(pOut, m_pszData + nDone, nLength - nDone);
    result.SetLength(static_cast<int>(nResult));
    *this = std::move(result);
    return nFound;
}

int CString::Replace(wchar_t chOld, wchar_t chNew) {
    const int nLength = GetLength();
    int nFound = 0;
    for (int i = 0; i < nLength; ++i) {
        if (m_pszData[i] != chOld)
            continue;
        ++nFound;
        if (chOld != chNew) {
            PrepareWrite(nLength, nLength); // a no-op once the text is our own
            m_pszData[i] = chNew;
        }
    }
    return nFound;
}

CString& CString::MakeLower() {
    const int nLength = GetLength();
    if (nLength > 0) {
        PrepareWrite(nLength, nLength);
        CharLowerBuffW(m_pszData, nLength);
    }
    return *this;
}

CString& CString::MakeUpper() {
    const int nLength = GetLength();
    if (nLength > 0) {
        PrepareWrite(nLength, nLength);
        CharUpperBuffW(m_pszData, nLength);
    }
    return *this;
}

void CString::Format(LPCWSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCWSTR pszFormat, va_list args) {
    if (!pszFormat) {
        Empty();
        return;
    }
    // The runtime's own wide printf, where %s takes a wide string as this program expects.
    va_list count;
    va_copy(count, args);
    const int nLength = _vscwprintf(pszFormat, count);
    va_end(count);
    if (nLength <= 0) {
        Empty();
        return;
    }
    // Into a new block: the arguments may point into our old text.
    CString result;
    result.PrepareWrite(nLength, 0);
    _vsnwprintf(result.m_pszData, nLength + 1, pszFormat, args);
    result.SetLength(nLength);
    *this = std::move(result);
}

LPWSTR CString::GetBuffer(int nMinLength) {
    const int nLength = GetLength();
    PrepareWrite(nMinLength > nLength ? nMinLength : nLength, nLength);
    GetData()->nRefs = kLockedRefs;
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength) {
    Data* pData = GetData();
    if (pData->nRefs == kNilRefs)
        return; // no buffer was ever handed out
    if (pData->nRefs != kLockedRefs)
        PrepareWrite(pData->nLength, pData->nLength);
    pData = GetData();
    if (nNewLength < 0)
        nNewLength = static_cast<int>(wcsnlen(m_pszData, pData->nCapacity));
    SetLength(ClampCount(nNewLength, pData->nCapacity));
    pData->nRefs = 1;
}

BSTR CString::AllocSysString() const {
    BSTR bstr = SysAllocStringLen(m_pszData, GetLength());
    if (!bstr)
        AfxThrowMemoryException();
    return bstr;
}

CString operator+(CString a, const CString& b) {
    a += b;
    return a;
}

CString operator+(CString a, wchar_t b) {
    a += b;
    return a;
}

CString operator+(wchar_t a, const CString& b) {
    return CString(a) + b;
}
