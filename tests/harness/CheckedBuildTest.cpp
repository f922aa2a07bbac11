// The tests run in the checked build: assertions, the standard library's own
// checks and the undefined-behaviour traps are live. Were the build ever
// to turn into a release one, these fail instead of every check going quiet.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace TestSupport;

namespace
{

// How a program that breaks a rule ends: abort() (a failed assertion or
// library check) exits with 3 after its message; an undefined-behaviour trap
// is an illegal instruction.
constexpr DWORD kAbortExitCode = 3;
constexpr DWORD kTrapExitCode = 0xC000001D; // STATUS_ILLEGAL_INSTRUCTION

struct CProbeCase
{
    const char* rule;
    DWORD exitCode;
    const char* message; // part of what it prints on standard error
};

const CProbeCase kProbeCases[] = {
    {"none", 0, ""},
    {"assert", kAbortExitCode, "g_operand == 1"},
    {"index", kAbortExitCode, "__n < this->size()"},
    {"overflow", kTrapExitCode, ""},
    {"shift", kTrapExitCode, ""},
};

} // namespace

TEST(CheckedBuild, IsCompiledWithAssertionsAndLibraryChecks)
{
#ifdef NDEBUG
    ADD_FAILURE() << "NDEBUG is defined: assert() is compiled out of the tests";
#endif
#ifndef _GLIBCXX_ASSERTIONS
    ADD_FAILURE() << "_GLIBCXX_ASSERTIONS is not defined: the standard library does not check indices";
#endif
#ifndef __OPTIMIZE__
    ADD_FAILURE() << "built without optimisation: _FORTIFY_SOURCE checks nothing";
#endif
}

TEST(CheckedBuild, EachBrokenRuleStopsTheProgram)
{
    CScratchFolder scratch;
    for (const CProbeCase& probe : kProbeCases)
    {
        CChildProcess child;
        const std::string errors = scratch.File(std::string(probe.rule) + ".txt");
        ASSERT_TRUE(child.Start(BinFolder() + "\\checked_build_probe.exe", probe.rule, "", errors));
        ASSERT_TRUE(child.Wait(20000)) << probe.rule;
        EXPECT_EQ(probe.exitCode, child.ExitCode()) << probe.rule;
        std::string printed;
        ReadFileBytes(errors, printed);
        EXPECT_NE(std::string::npos, printed.find(probe.message)) << probe.rule << ": " << printed;
    }
}
