// CString: the one-pass Replace that URL routing relies on, clamped positions, sharing between copies, and
// text with NULs inside its length.
#include "framework/String.h"

#include "framework/Exceptions.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace {

// The whole text, NULs included, for comparisons that must not stop at the first NUL.
std::wstring Units(const CString& s) {
    return std::wstring(s.GetString(), s.GetLength());
}

struct ReplaceCase {
    const wchar_t* text;
    const wchar_t* oldText;
    const wchar_t* newText;
    const wchar_t* expected;
    int count;
};

const ReplaceCase kReplaceCases[] = {
    // Game links: parameters around the marker stay as they were.
    {L"http://g.example/play?a=1&client=1&b=2", L"&client=1", L"", L"http://g.example/play?a=1&b=2", 1},
    {L"http://g.example/?x&client=1&y&client=1", L"&client=1", L"", L"http://g.example/?x&y", 2},
    {L"&client=1http://g.example/", L"&client=1", L"", L"http://g.example/", 1},
    {L"&client=1", L"&client=1", L"", L"", 1},
    // A removal joins "&client" and "=1" into a new occurrence, which one pass leaves in place.
    {L"u?&client&client=1=1", L"&client=1", L"", L"u?&client=1", 1},
    {L"&client=&client=11", L"&client=1", L"", L"&client=1", 1},
    {L"http://g.example/?&Client=1", L"&client=1", L"", L"http://g.example/?&Client=1", 0},
    {L"", L"&client=1", L"", L"", 0},
    {L"abc", L"", L"x", L"abc", 0},
    {L"abc", nullptr, L"x", L"abc", 0},
    // Non-overlapping, left to right.
    {L"aaaa", L"aa", L"b", L"bb", 2},
    {L"aaa", L"aa", L"b", L"ba", 1},
    // Growing, and a replacement that holds the searched text is not searched again.
    {L"aXbXc", L"X", L"YYY", L"aYYYbYYYc", 2},
    {L"ab", L"a", L"aa", L"aab", 1},
    {L"a-b", L"-", nullptr, L"ab", 1},
};

TEST(CStringReplace, OnePassOverNonOverlappingOccurrences) {
    for (const ReplaceCase& c : kReplaceCases) {
        SCOPED_TRACE(testing::Message()
                     << "text \"" << c.text << "\" old \"" << (c.oldText ? c.oldText : L"(null)") << "\"");
        CString s(c.text);
        const CString before(s);
        EXPECT_EQ(c.count, s.Replace(c.oldText, c.newText));
        EXPECT_EQ(std::wstring(c.expected), Units(s));
        EXPECT_EQ(std::wstring(c.text), Units(before)) << "a copy taken before must not change";
    }
}

TEST(CStringReplace, WorksOverTheWholeLengthAndOwnText) {
    // NULs inside the length are text like any other.
    CString s(L"a\0b\0b", 5);
    EXPECT_EQ(2, s.Replace(L"b", L"cd"));
    EXPECT_EQ(std::wstring(L"a\0cd\0cd", 7), Units(s));

    // Arguments that point into the string itself.
    CString t(L"abcabc");
    EXPECT_EQ(2, t.Replace(t.GetString() + 3, t.GetString() + 4)); // "abc" -> "bc"
    EXPECT_EQ(L"bcbc", t);

    CString u(L"x.y.z");
    EXPECT_EQ(2, u.Replace(L'.', L'/'));
    EXPECT_EQ(L"x/y/z", u);
}

struct SubCase {
    const char* what;
    std::function<CString(const CString&)> op;
    const wchar_t* expected;
};

TEST(CStringSubstrings, ClampOutOfRangePositions) {
    const SubCase cases[] = {
        {"Left(3)", [](const CString& s) { return s.Left(3); }, L"jav"},
        {"Left(-1)", [](const CString& s) { return s.Left(-1); }, L""},
        {"Left(100)", [](const CString& s) { return s.Left(100); }, L"javascript:x"},
        {"Mid(4)", [](const CString& s) { return s.Mid(4); }, L"script:x"},
        {"Mid(-5)", [](const CString& s) { return s.Mid(-5); }, L"javascript:x"},
        {"Mid(12)", [](const CString& s) { return s.Mid(12); }, L""},
        {"Mid(99)", [](const CString& s) { return s.Mid(99); }, L""},
        {"Mid(10, 99)", [](const CString& s) { return s.Mid(10, 99); }, L":x"},
        {"Mid(2, -1)", [](const CString& s) { return s.Mid(2, -1); }, L""},
        {"Mid(-2, 3)", [](const CString& s) { return s.Mid(-2, 3); }, L"jav"},
        {"Mid(5, INT_MAX)", [](const CString& s) { return s.Mid(5, INT_MAX); }, L"cript:x"},
        {"Right(2)", [](const CString& s) { return s.Right(2); }, L":x"},
        {"Right(-3)", [](const CString& s) { return s.Right(-3); }, L""},
        {"Right(50)", [](const CString& s) { return s.Right(50); }, L"javascript:x"},
    };
    const CString s(L"javascript:x");
    for (const SubCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(std::wstring(c.expected), Units(c.op(s)));
    }
}

TEST(CStringFind, StartsAreCheckedAndNulsAreFound) {
    const CString s(L"app:a\0app:", 10);
    struct {
        const wchar_t* sub;
        int start;
        int expected;
    } const subCases[] = {
        {L"app:", 0, 0},  {L"app:", 1, 6}, {L"app:", 7, -1},  {L"p", 2, 2},  {L"p", -1, -1},
        {L"p", 10, -1},   {L"p", 11, -1},  {L"", 3, 3},       {L"", 10, 10}, {L"", 11, -1},
        {nullptr, 0, -1}, {L"a:a", 0, -1}, {L"app:x", 6, -1},
    };
    for (const auto& c : subCases) {
        SCOPED_TRACE(testing::Message() << "sub \"" << (c.sub ? c.sub : L"(null)") << "\" from " << c.start);
        EXPECT_EQ(c.expected, s.Find(c.sub, c.start));
    }
    EXPECT_EQ(5, s.Find(L'\0'));
    EXPECT_EQ(-1, s.Find(L'a', INT_MIN));
    EXPECT_EQ(9, s.ReverseFind(L':'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    EXPECT_EQ(L'\0', s.GetAt(-1));
    EXPECT_EQ(L'\0', s.GetAt(10));
    EXPECT_EQ(L':', s[9]);
}

TEST(CStringCompare, OrdinalAndCaseFolded) {
    struct {
        const wchar_t* a;
        const wchar_t* b;
        int sign;
        int signNoCase;
    } const cases[] = {
        {L"app:", L"app:", 0, 0},
        {L"APP:", L"app:", -1, 0},
        {L"app", L"app:", -1, -1},
        {L"b", L"a", 1, 1},
        {L"", nullptr, 0, 0},
        {L"x", nullptr, 1, 1},
        {L"\u00C4rger", L"\u00E4rger", -1, 0},
    };
    auto sign = [](int n) { return n < 0 ? -1 : (n > 0 ? 1 : 0); };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.a << "\" vs \"" << (c.b ? c.b : L"(null)") << "\"");
        const CString a(c.a);
        EXPECT_EQ(c.sign, sign(a.Compare(c.b)));
        EXPECT_EQ(c.signNoCase, sign(a.CompareNoCase(c.b)));
        EXPECT_EQ(c.sign, sign(a.Compare(CString(c.b))));
        EXPECT_EQ(c.signNoCase, sign(a.CompareNoCase(CString(c.b))));
    }
    // A NUL inside the length makes a different string, not a shorter one.
    const CString withNul(L"ab\0c", 4);
    EXPECT_NE(withNul, CString(L"ab"));
    EXPECT_NE(withNul, L"ab");
    EXPECT_EQ(withNul, CString(L"ab\0c", 4));
}

// Each mutation of a copy must leave the string it was copied from as it was.
TEST(CStringSharing, CopiesShareUntilOneChanges) {
    const struct {
        const char* what;
        std::function<void(CString&)> change;
    } mutations[] = {
        {"SetAt", [](CString& s) { s.SetAt(0, L'X'); }},
        {"Append", [](CString& s) { s.Append(L"!"); }},
        {"+= char", [](CString& s) { s += L'!'; }},
        {"MakeUpper", [](CString& s) { s.MakeUpper(); }},
        {"MakeLower", [](CString& s) { s.MakeLower(); }},
        {"Replace", [](CString& s) { s.Replace(L"Ab", L"z"); }},
        {"Replace char", [](CString& s) { s.Replace(L'b', L'q'); }},
        {"GetBuffer",
         [](CString& s) {
             s.GetBuffer()[0] = L'Q';
             s.ReleaseBuffer();
         }},
        {"Empty", [](CString& s) { s.Empty(); }},
        {"Format", [](CString& s) { s.Format(L"%d", 7); }},
    };
    for (const auto& m : mutations) {
        SCOPED_TRACE(m.what);
        const CString original(L" AbcAbc");
        CString copy(original);
        EXPECT_EQ(original.GetString(), copy.GetString()) << "a copy shares the text";
        m.change(copy);
        EXPECT_EQ(CString(L" AbcAbc"), original);
        EXPECT_NE(original, copy);
    }
}

TEST(CStringSharing, BufferOutIsNeverShared) {
    CString s(L"abc");
    LPWSTR pBuffer = s.GetBuffer(10);
    const CString copy(s); // taken while the buffer is out: must get its own text
    EXPECT_NE(copy.GetString(), s.GetString());
    wcscpy(pBuffer, L"0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(L"0123456789", s);
    EXPECT_EQ(L"abc", copy);

    // An explicit length keeps NULs; a length beyond the buffer is clamped to it.
    LPWSTR p = s.GetBuffer(4);
    p[1] = L'\0';
    s.ReleaseBuffer(4);
    const wchar_t kKept[] = {L'0', L'\0', L'2', L'3'};
    EXPECT_EQ(std::wstring(kKept, 4), Units(s));
    s.GetBuffer(2);
    s.ReleaseBuffer(INT_MAX);
    EXPECT_LE(s.GetLength(), 10);
    EXPECT_EQ(L'\0', s.GetString()[s.GetLength()]);

    CString never;
    never.ReleaseBuffer(5); // no buffer was handed out: nothing happens
    EXPECT_TRUE(never.IsEmpty());
}

TEST(CStringBuild, AppendConcatenateAndSelfReference) {
    CString s(L"ab");
    s += s;
    EXPECT_EQ(L"abab", s);
    s.Append(s.GetString() + 1, 2); // part of itself, while the buffer has to grow
    EXPECT_EQ(L"ababba", s);
    s = s.GetString() + 2;
    EXPECT_EQ(L"abba", s);
    EXPECT_EQ(L"<abba>", L'<' + s + L">");
    EXPECT_EQ(L"xabba", CString(L"x") + s);

    CString grown;
    for (int i = 0; i < 5000; ++i)
        grown += static_cast<wchar_t>(L'a' + i % 26);
    EXPECT_EQ(5000, grown.GetLength());
    EXPECT_EQ(L'z', grown[25]);
    EXPECT_EQ(L"    ", CString(L' ', 4));
    EXPECT_EQ(L"", CString(L'x', -1));
    EXPECT_EQ(L"", CString(nullptr));
    EXPECT_EQ(L"", CString(L"abc", -3));
}

TEST(CStringFormat, WideArgumentsAndLongResults) {
    CString s;
    s.Format(L"%s=%d;%08X;%c", L"\x84dd\x67da", -42, 0xBEEFu, L'z');
    EXPECT_EQ(L"\x84dd\x67da=-42;0000BEEF;z", s);

    const std::wstring longText(3000, L'q');
    s.Format(L"[%s]", longText.c_str());
    EXPECT_EQ(3002, s.GetLength());
    EXPECT_EQ(L']', s[3001]);

    s.Format(L"%s%s", s.GetString(), L"!"); // an argument pointing into the string being formatted
    EXPECT_EQ(3003, s.GetLength());
    EXPECT_EQ(L'[', s[0]);
    s.Format(L"");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringSysString, KeepsTheWholeLength) {
    const CString s(L"a\0b", 3);
    BSTR bstr = s.AllocSysString();
    ASSERT_NE(nullptr, bstr);
    EXPECT_EQ(3u, SysStringLen(bstr));
    EXPECT_EQ(0, wmemcmp(bstr, L"a\0b", 3));
    SysFreeString(bstr);

    BSTR empty = CString().AllocSysString();
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, SysStringLen(empty));
    SysFreeString(empty);
}

TEST(CStringLimits, ImpossibleSizesRaiseOutOfMemory) {
    CString s(L"abc");
    EXPECT_THROW(s.GetBuffer(INT_MAX), CMemoryException);
    EXPECT_EQ(L"abc", s) << "a failed request leaves the text alone";
    EXPECT_THROW(CString(L'x', INT_MAX), CMemoryException);
    // Throws before reading: no length that large can be appended.
    EXPECT_THROW(s.Append(L"x", INT_MAX), CMemoryException);
    EXPECT_EQ(L"abc", s);
}

} // namespace
