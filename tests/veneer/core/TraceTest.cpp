#include "veneer/core/Trace.h"

#include <gtest/gtest.h>

#include <string>

using namespace Veneer;

namespace
{

// Without a debugger attached, OutputDebugString raises a continuable
// exception carrying the text (the wide one first, then the narrow one);
// a vectored handler sees it before the system's own handler.
const DWORD kPrintWide = 0x4001000A;
const DWORD kPrintNarrow = 0x40010006;

std::wstring g_output;

LONG CALLBACK CatchDebugOutput(EXCEPTION_POINTERS* pInfo)
{
    const EXCEPTION_RECORD* pRecord = pInfo->ExceptionRecord;
    if (pRecord->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const ULONG_PTR length = pRecord->ExceptionInformation[0];
    if (pRecord->ExceptionCode == kPrintWide)
    {
        g_output.append(reinterpret_cast<const wchar_t*>(pRecord->ExceptionInformation[1]), length - 1);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (pRecord->ExceptionCode == kPrintNarrow)
    {
        // Reached only when the wide text was not taken above.
        const char* pText = reinterpret_cast<const char*>(pRecord->ExceptionInformation[1]);
        g_output.append(pText, pText + length - 1);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Collects what UI__Trace writes while it lives.
class CDebugOutputCatcher
{
  public:
    CDebugOutputCatcher() : m_hHandler(AddVectoredExceptionHandler(1, CatchDebugOutput)) { g_output.clear(); }
    ~CDebugOutputCatcher() { RemoveVectoredExceptionHandler(m_hHandler); }
    CDebugOutputCatcher(const CDebugOutputCatcher&) = delete;
    CDebugOutputCatcher& operator=(const CDebugOutputCatcher&) = delete;

    bool Installed() const { return m_hHandler != nullptr; }

  private:
    PVOID m_hHandler;
};

} // namespace

TEST(Trace, CheckedBuildsWriteOneFormattedLineReleaseBuildsNothing)
{
    CDebugOutputCatcher catcher;
    ASSERT_TRUE(catcher.Installed());
    UI__Trace(L"Include %s: %s (%d)", L"a.xml", L"not found", 7);
#ifndef NDEBUG
    EXPECT_EQ(g_output, L"Include a.xml: not found (7)\n");
#else
    EXPECT_EQ(g_output, L"");
#endif
}

TEST(Trace, LongMessagesAreCutNotOverrun)
{
    CDebugOutputCatcher catcher;
    ASSERT_TRUE(catcher.Installed());
    const std::wstring text(5000, L'x');
    UI__Trace(L"%s", text.c_str());
    UI__Trace(nullptr);
#ifndef NDEBUG
    ASSERT_FALSE(g_output.empty());
    EXPECT_LT(g_output.size(), 1024u);
    EXPECT_EQ(g_output.back(), L'\n');
    EXPECT_EQ(g_output.find_first_not_of(L'x'), g_output.size() - 1);
#else
    EXPECT_EQ(g_output, L"");
#endif
}
