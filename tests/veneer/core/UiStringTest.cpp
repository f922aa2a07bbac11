#include "veneer/core/UiString.h"
#include "tests/veneer/resource/HostileInput.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <new>
#include <string>

using Veneer::CUiString;

namespace
{

bool IsInline(const CUiString& s)
{
    const auto* self = reinterpret_cast<const unsigned char*>(&s);
    const auto* data = reinterpret_cast<const unsigned char*>(s.GetData());
    return data >= self && data < self + sizeof(CUiString);
}

// A string whose object ends right before a page that faults on any access,
// every unused character of its inline buffer set: a read past its text
// runs through them into that page instead of stopping at a stale zero.
class CGuardedString
{
  public:
    explicit CGuardedString(const wchar_t* pstrText) : m_block(sizeof(CUiString))
    {
        memset(m_block.Data(), 'x', m_block.Size());
        m_pString = new (m_block.Data()) CUiString(pstrText);
    }
    CGuardedString(const CGuardedString&) = delete;
    CGuardedString& operator=(const CGuardedString&) = delete;
    ~CGuardedString() { m_pString->~CUiString(); }

    const CUiString& Get() const { return *m_pString; }

  private:
    GuardedBlock m_block;
    CUiString* m_pString;
};

} // namespace

TEST(UiStringStorage, SixtyTwoCharactersStayInlineAndSixtyThreeMoveToTheHeap)
{
    CUiString s;
    s.Assign(std::wstring(62, L'a').c_str());
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(62, s.GetLength());

    s.Assign(std::wstring(63, L'b').c_str());
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(std::wstring(63, L'b'), s.GetData());

    s.Assign(L"short");
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(L"short", s);
}

TEST(UiStringStorage, AppendGrowsAcrossTheInlineLimitKeepingTheText)
{
    CUiString s(std::wstring(60, L'x').c_str());
    s.Append(L"yy");
    EXPECT_TRUE(IsInline(s));
    s.Append(L"z");
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(std::wstring(60, L'x') + L"yyz", s.GetData());
    for (int i = 0; i < 100; i++)
        s += L'q';
    EXPECT_EQ(163, s.GetLength());
}

TEST(UiStringStorage, AssignAndAppendOfTheStringsOwnTextAreSafe)
{
    CUiString s(std::wstring(70, L'k').c_str());
    s.Append(s.GetData());
    EXPECT_EQ(std::wstring(140, L'k'), s.GetData());
    s.Assign(s.GetData() + 100);
    EXPECT_EQ(std::wstring(40, L'k'), s.GetData());
    s = s;
    EXPECT_EQ(40, s.GetLength());
}

TEST(UiStringConstruction, LengthLimitsTheCopyAndNullIsEmpty)
{
    EXPECT_STREQ(L"abc", CUiString(L"abcdef", 3));
    EXPECT_STREQ(L"abcdef", CUiString(L"abcdef", -1));
    EXPECT_STREQ(L"ab", CUiString(L"ab", 10));
    EXPECT_TRUE(CUiString(nullptr).IsEmpty());
    EXPECT_STREQ(L"Q", CUiString(L'Q'));
    // A length bounds the read: the source need not be terminated.
    const wchar_t unterminated[3] = {L'x', L'y', L'z'};
    EXPECT_STREQ(L"xyz", CUiString(unterminated, 3));
}

TEST(UiStringOperators, AssignmentConcatenationAndNarrowText)
{
    CUiString s;
    s = L"wide";
    s += "-narrow";
    s += L'!';
    EXPECT_STREQ(L"wide-narrow!", s);
    s = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s = "abc";
    s += static_cast<const char*>(nullptr);
    s += static_cast<const wchar_t*>(nullptr);
    EXPECT_STREQ(L"abc", s);
    EXPECT_STREQ(L"abcdef", s + L"def");
    EXPECT_STREQ(L"abc", s + static_cast<const wchar_t*>(nullptr));
    EXPECT_STREQ(L"abcabc", s + s);
}

TEST(UiStringComparison, OrdinalAndCaseInsensitive)
{
    const CUiString s(L"Button");
    EXPECT_TRUE(s == L"Button");
    EXPECT_TRUE(s != L"button");
    EXPECT_EQ(0, s.CompareNoCase(L"BUTTON"));
    EXPECT_TRUE(s < L"a"); // 'B' sorts before 'a' by code unit
    EXPECT_TRUE(s >= L"Button");
    EXPECT_TRUE(s > L"Butto");
    CUiString u(L"MiXeD");
    u.MakeUpper();
    EXPECT_STREQ(L"MIXED", u);
    u.MakeLower();
    EXPECT_STREQ(L"mixed", u);
}

TEST(UiStringSearch, FindBoundaries)
{
    const CUiString s(L"hello");
    EXPECT_EQ(2, s.Find(L'l'));
    EXPECT_EQ(3, s.Find(L'l', 3));
    EXPECT_EQ(-1, s.Find(L'o', 5)); // start at the length finds nothing
    EXPECT_EQ(-1, s.Find(L'h', -1));
    EXPECT_EQ(-1, CUiString().Find(L'a'));
    EXPECT_EQ(3, s.Find(L"lo"));
    EXPECT_EQ(5, s.Find(L"", 5)); // the empty tail holds only the empty text
    EXPECT_EQ(-1, s.Find(L"o", 5));
    EXPECT_EQ(-1, s.Find(L"o", 6));
    EXPECT_EQ(3, s.ReverseFind(L'l'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
}

TEST(UiStringSearch, LeftMidRightClamp)
{
    const CUiString s(L"abcde");
    EXPECT_STREQ(L"cde", s.Mid(2, -1));
    EXPECT_STREQ(L"cde", s.Mid(2, 10));
    EXPECT_STREQ(L"", s.Mid(2, 0));
    EXPECT_STREQ(L"abcde", s.Right(10));
    EXPECT_STREQ(L"de", s.Right(2));
    EXPECT_STREQ(L"abcde", s.Left(10));
    EXPECT_STREQ(L"", s.Left(-3));
}

TEST(UiStringSearch, MidAndRightStayInsideTheText)
{
    const CGuardedString guarded(L"abcde");
    const CUiString& s = guarded.Get();
    const struct
    {
        int iPos;
        int nLength;
        const wchar_t* pstrExpected;
    } mids[] = {
        {0, -1, L"abcde"}, {5, -1, L""},       {5, 3, L""},  {4, INT_MAX, L"e"}, // the rest, at most
        {2, -2, L""},      {2, -100, L""},     {-4, 4, L""}, {-2, -1, L""},      // only -1 means the rest
        {6, 1, L""},       {INT_MAX, -1, L""},                                   // starts past the end
    };
    for (const auto& mid : mids)
        EXPECT_STREQ(mid.pstrExpected, s.Mid(mid.iPos, mid.nLength)) << mid.iPos << ", " << mid.nLength;
    EXPECT_STREQ(L"", s.Right(0));
    EXPECT_STREQ(L"", s.Right(-3));
    EXPECT_STREQ(L"", s.Right(INT_MIN));
    EXPECT_STREQ(L"abcde", s.Right(INT_MAX));
}

TEST(UiStringReplace, ReplacementTextIsNeverSearchedAgain)
{
    CUiString s(L"aaa");
    EXPECT_EQ(3, s.Replace(L"a", L"aa"));
    EXPECT_STREQ(L"aaaaaa", s);

    CUiString tip(L"one<n>two<n>three");
    EXPECT_EQ(2, tip.Replace(L"<n>", L"\r\n"));
    EXPECT_STREQ(L"one\r\ntwo\r\nthree", tip);

    CUiString none(L"abc");
    EXPECT_EQ(0, none.Replace(L"x", L"y"));
    EXPECT_EQ(0, none.Replace(L"", L"y")); // an empty pattern would never advance
    EXPECT_STREQ(L"abc", none);
}

TEST(UiStringFormat, FormatHasNoLimitAndSmallFormatCutsAtSixtyThree)
{
    CUiString s;
    EXPECT_EQ(3, s.Format(L"%d", 255));
    EXPECT_STREQ(L"255", s);
    s.Format(L"%s-%08X", L"wide", 0xFF00FF00u);
    EXPECT_STREQ(L"wide-FF00FF00", s);
    const std::wstring longText(500, L'w');
    EXPECT_EQ(500, s.Format(L"%s", longText.c_str()));
    EXPECT_EQ(longText, s.GetData());

    s.SmallFormat(L"#%08X", 0x80FF0000u);
    EXPECT_STREQ(L"#80FF0000", s);
    s.SmallFormat(L"%s", longText.c_str());
    EXPECT_EQ(std::wstring(63, L'w'), s.GetData());
}
