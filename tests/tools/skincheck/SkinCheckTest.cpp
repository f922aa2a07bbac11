#include "TestImages.h"
#include "ZipBuilder.h"
#include "app/client/ProcessStart.h"
#include "veneer/core/ScopedHandle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace
{

// A folder name with a space, so that the tool's arguments must be quoted.
const wchar_t kFolder[] = L"skincheck files";

struct ToolRun
{
    DWORD dwExitCode = 0;
    std::string output; // stdout and stderr together
};

std::wstring ProgramFolder()
{
    wchar_t szModule[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    std::wstring sFolder = szModule;
    return sFolder.substr(0, sFolder.rfind(L'\\') + 1);
}

// Runs skincheck.exe (built beside this test) and collects what it prints.
ToolRun RunSkinCheck(const std::wstring& sArguments)
{
    ToolRun run;
    SECURITY_ATTRIBUTES sa{};
    sa.nLength = sizeof(sa);
    sa.bInheritHandle = TRUE;
    HANDLE hRead = nullptr;
    HANDLE hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, &sa, 0))
        return run;
    const Veneer::CScopedHandle read(hRead);
    Veneer::CScopedHandle write(hWrite);
    SetHandleInformation(read.Get(), HANDLE_FLAG_INHERIT, 0);

    Qlm::CStartOptions options;
    options.inheritHandles = true;
    options.useStdHandles = true;
    options.stdOutput = write.Get();
    options.stdError = write.Get();
    Veneer::CScopedHandle process;
    if (!Qlm::StartProgram(ProgramFolder() + L"skincheck.exe", sArguments, options, &process))
        return run;
    // Only the child holds the write end now, so the pipe ends with the child.
    write.Reset(nullptr);

    char buffer[4096];
    DWORD cbRead = 0;
    while (ReadFile(read.Get(), buffer, sizeof(buffer), &cbRead, nullptr) && cbRead > 0)
        run.output.append(buffer, cbRead);
    WaitForSingleObject(process.Get(), 10000);
    GetExitCodeProcess(process.Get(), &run.dwExitCode);
    return run;
}

class SkinCheck : public ::testing::Test
{
  protected:
    void SetUp() override { CreateDirectoryW(kFolder, nullptr); }

    static std::wstring PathOf(const std::wstring& sName) { return std::wstring(kFolder) + L"\\" + sName; }

    static void WriteText(const std::wstring& sName, const std::string& text)
    {
        WriteFileBytes(PathOf(sName).c_str(), text);
    }

    static std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }
};

const char kSkin[] = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                     "<!-- the pop-up frame -->\r\n"
                     "<Window size=\"380,265\" caption=\"0,0,0,30\">\r\n"
                     "  <Font name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\"/>\r\n"
                     "  <VerticalLayout>\r\n"
                     "    <Label text=\"a &amp; &quot;b&quot;\">Hello \xE4\xB8\x96\xE7\x95\x8C</Label>\r\n"
                     "    <Text>line\ttwo\\</Text>\r\n"
                     "  </VerticalLayout>\r\n"
                     "</Window>\r\n";

const char kSkinTree[] = "Window size=\"380,265\" caption=\"0,0,0,30\"\n"
                         "  Font name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\"\n"
                         "  VerticalLayout\n"
                         "    Label text=\"a & \\\"b\\\"\" : \"Hello \xE4\xB8\x96\xE7\x95\x8C\"\n"
                         "    Text : \"line\\ttwo\\\\\"\n";

} // namespace

TEST_F(SkinCheck, PrintsTheElementTreeOfASkinFile)
{
    WriteText(L"Frame.xml", kSkin);
    const ToolRun run = RunSkinCheck(Quoted(PathOf(L"Frame.xml")));
    EXPECT_EQ(0u, run.dwExitCode);
    EXPECT_EQ(kSkinTree, run.output);
}

TEST_F(SkinCheck, PrintsTheErrorMessageAndLocation)
{
    WriteText(L"Bad.xml", "<Window>\r\n  <Button text='x'/>\r\n</Window>");
    ToolRun run = RunSkinCheck(Quoted(PathOf(L"Bad.xml")));
    EXPECT_EQ(1u, run.dwExitCode);
    EXPECT_EQ("error: Expected attribute value\nat: \"'x'/>\\r\\n</Window>\"\n", run.output);

    run = RunSkinCheck(Quoted(PathOf(L"Missing.xml")));
    EXPECT_EQ(1u, run.dwExitCode);
    EXPECT_EQ("error: Error opening file\nat: \"\"\n", run.output);
}

TEST_F(SkinCheck, ReadsAMemberOfAnArchive)
{
    const ZipLayout zip =
        ZipBuilder().Add("Skin/Frame.xml", kSkin).Add("Bad.xml", "<a><b></a>", false).Build();
    WriteText(L"skin.zip", std::string(zip.bytes.begin(), zip.bytes.end()));

    ToolRun run = RunSkinCheck(Quoted(PathOf(L"skin.zip")) + L" skin\\frame.XML");
    EXPECT_EQ(0u, run.dwExitCode);
    EXPECT_EQ(kSkinTree, run.output);

    run = RunSkinCheck(Quoted(PathOf(L"skin.zip")) + L" Bad.xml");
    EXPECT_EQ(1u, run.dwExitCode);
    EXPECT_EQ("error: Unmatched closing tag\nat: \"a>\"\n", run.output);

    run = RunSkinCheck(Quoted(PathOf(L"skin.zip")) + L" Other.xml");
    EXPECT_EQ(1u, run.dwExitCode);
    EXPECT_EQ("error: Could not find ziped file\nat: \"\"\n", run.output);

    run = RunSkinCheck(Quoted(PathOf(L"missing.zip")) + L" Frame.xml");
    EXPECT_EQ(1u, run.dwExitCode);
    EXPECT_EQ("error: Error opening zip file\nat: \"\"\n", run.output);
}

TEST_F(SkinCheck, BadArgumentsPrintUsage)
{
    for (const wchar_t* pstrArguments : {L"", L"a.zip b.xml c", L"\"\"", L"a.zip \"\""})
    {
        const ToolRun run = RunSkinCheck(pstrArguments);
        EXPECT_EQ(2u, run.dwExitCode) << pstrArguments;
        EXPECT_EQ(0u, run.output.rfind("usage: skincheck", 0)) << run.output;
    }
}
