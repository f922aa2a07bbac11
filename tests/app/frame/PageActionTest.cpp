// The page's actions called as the browser calls them, with the service and
// platform stand-ins at the other ends: what each receives, what the client
// log says and whether the frame is asked to close.
#include "app/frame/DocDispatch.h"
#include "tests/app/frame/PageActionSupport.h"
#include "tests/support/TestSupport.h"
#include "tools/pagedriver/BrowserCall.h"
#include "tools/pagedriver/FrameStandIn.h"
#include "tools/pagedriver/LaunchObjects.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace PageActionSupport;
using namespace TestSupport;

namespace
{

std::vector<DWORD> retrySleeps;

// Counts the waits between attempts without waiting.
void WINAPI RecordSleep(DWORD milliseconds)
{
    retrySleeps.push_back(milliseconds);
}

// Counts them and waits as asked.
void WINAPI RecordAndSleep(DWORD milliseconds)
{
    retrySleeps.push_back(milliseconds);
    Sleep(milliseconds);
}

// The window that PublishOnSecondSleep names.
HWND windowToPublish = nullptr;

// Counts them without waiting; during the second the platform publishes its
// window, as a platform that comes up late does.
void WINAPI PublishOnSecondSleep(DWORD milliseconds)
{
    retrySleeps.push_back(milliseconds);
    if (retrySleeps.size() == 2)
        WritePrivateProfileStringA("HWNDApp", "HWND",
                                   std::to_string(reinterpret_cast<LONG_PTR>(windowToPublish)).c_str(),
                                   CPlatformStandIn::ParamFile().c_str());
}

class PageAction : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(service.Start());
        ASSERT_NE(nullptr, frame.Handle());
        timing.retrySleep = RecordSleep;
        Relaunch();
        retrySleeps.clear();
        logOffset = ClientLogSize();
    }

    // The launcher's objects made anew, with the key, channel and timing
    // the test gives.
    void Relaunch(const std::wstring& adKeyId = L"key-9", const std::wstring& channel = L"chan-5")
    {
        launch.reset();
        launch = std::make_unique<CLaunchObjects>(adKeyId, channel, frame.Handle(), timing);
    }

    // A fresh `window.external` for each call, as the browser gets them.
    CBrowserCall Call(const wchar_t* name, const CArgs& args = CArgs())
    {
        IDispatch* external = new Qlm::CDocDispatch(launch->actions);
        CBrowserCall call = CallAsBrowser(external, name, args.Get());
        EXPECT_EQ(0u, external->Release());
        EXPECT_EQ(S_OK, call.lookup) << name;
        EXPECT_EQ(S_OK, call.invoke) << name;
        // Nothing is ever returned to the page.
        EXPECT_EQ(VT_EMPTY, call.result.vt) << name;
        return call;
    }

    HRESULT InvokeId(DISPID id, DISPPARAMS* params)
    {
        IDispatch* external = new Qlm::CDocDispatch(launch->actions);
        VARIANT result;
        VariantInit(&result);
        const HRESULT outcome = external->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params,
                                                 &result, nullptr, nullptr);
        EXPECT_EQ(VT_EMPTY, result.vt);
        external->Release();
        return outcome;
    }

    // The reports received so far, once `count` have arrived.
    std::vector<Json::Value> Reports(size_t count)
    {
        EXPECT_TRUE(service.WaitForMessages(count)) << service.Messages().size();
        return ReceivedReports(service);
    }

    // Reports travel in order over one pipe connection: when a closing call
    // made now is the first report the service sees, the calls before it
    // reported nothing. They must not have closed the frame either.
    void ExpectNoEffectSoFar()
    {
        EXPECT_EQ(0u, frame.CloseCount());
        Call(L"CloseADFrame");
        const std::vector<Json::Value> reports = Reports(1);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(3, reports[0]["actionType"].asInt());
        EXPECT_EQ(1u, reports.size());
    }

    // One report with the action, and the frame asked to close once.
    void ExpectReportedAndClosed(int action)
    {
        const std::vector<Json::Value> reports = Reports(1);
        ASSERT_EQ(1u, reports.size());
        EXPECT_EQ(action, reports[0]["actionType"].asInt());
        EXPECT_EQ(2, reports[0]["ADType"].asInt());
        EXPECT_EQ(0, reports[0]["userid"].asInt());
        EXPECT_EQ(1u, frame.CloseCount());
    }

    std::vector<std::string> LogMessages() const { return ClientLogMessagesFrom(logOffset); }

    CServiceStandIn service;
    CFrameStandIn frame;
    Qlm::CPlatformTiming timing;
    std::unique_ptr<CLaunchObjects> launch;
    size_t logOffset = 0;
};

const std::string kSentPrefix = Gbk("发送成功");
const std::string kSendErrorPrefix = Gbk("发送错误");
const std::string kNoWindowText = Gbk("发送窗体尚未存在");
const std::string kNoAnswerText = "platform did not answer, code=A";

} // namespace

TEST_F(PageAction, CloseADFrameReportsEveryMemberAndClosesTheFrame)
{
    Call(L"CloseADFrame");
    ExpectReportedAndClosed(3);
    const Json::Value report = ReceivedReports(service).at(0);
    EXPECT_EQ("key-9", report["ADKeyID"].asString());
    EXPECT_EQ("chan-5", report["channel"].asString());
    EXPECT_EQ("QM-HARNESS-USER", report["uuid"].asString());
    EXPECT_EQ(14u, report["time"].asString().size());
}

TEST_F(PageAction, ReportCarriesTheWholeKeyWhereTheCodePageLacksACharacter)
{
    // Runic letters exist in no ANSI code page: each becomes the code
    // page's default character, and the rest of the text stays.
    Relaunch(L"k1\u16A0x", L"\u16A0c");
    Call(L"CloseADFrame");
    const std::vector<Json::Value> reports = Reports(1);
    ASSERT_EQ(1u, reports.size());
    const std::string missing = DefaultCharacterOf(CP_ACP);
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ("k1" + missing + "x", reports[0]["ADKeyID"].asString());
    EXPECT_EQ(missing + "c", reports[0]["channel"].asString());
}

TEST_F(PageAction, EveryCallBeforeTheCloseRunsInFull)
{
    // No parameter block at all is a call without arguments.
    EXPECT_EQ(S_OK, InvokeId(2006, nullptr));
    Call(L"CloseADFrame");
    const std::vector<Json::Value> reports = Reports(2);
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ(3, reports[1]["actionType"].asInt());
    EXPECT_EQ(2u, frame.CloseCount());
}

TEST_F(PageAction, InertMethodsAndUnknownIdentifiersDoNothing)
{
    for (const wchar_t* name : {L"GetGameStatus", L"RunGame", L"GetSearchCount", L"JumpUrl"})
        Call(name, CArgs().Str(L"http://ads.example/").Int(3));
    DISPPARAMS none{};
    for (DISPID id : {2001, 2008, 1998, 0, -1, 0x7FFFFFFF})
        EXPECT_EQ(S_OK, InvokeId(id, &none));
    ExpectNoEffectSoFar();
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(PageAction, ShowUrlWithoutAStringDoesNothing)
{
    Call(L"ShowUrl");
    Call(L"ShowUrl", CArgs().Int(42));
    Call(L"ShowUrl", CArgs().NullStr());
    // The address is the last argument.
    Call(L"ShowUrl", CArgs().Str(L"http://ads.example/").Int(1));
    EXPECT_EQ(S_OK, InvokeId(2004, nullptr));
    DISPPARAMS noArray{};
    noArray.cArgs = 1;
    EXPECT_EQ(S_OK, InvokeId(2004, &noArray));
    ExpectNoEffectSoFar();
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(PageAction, ShowUrlRefusesWhatIsNotAWebAddress)
{
    const wchar_t* const refused[] = {
        L"file:///C:/windows/system32/notepad.exe",
        L"C:\\windows\\system32\\notepad.exe",
        L"notepad",
        L"javascript:alert(1)",
        L"ftp://files.example/x",
        L"http:/ads.example/",
        L"http://",
        L"https:///path",
        L"http://ads.example/a\nb",
        L"http://ads.example/a b",
        L"http://ads.example/\" --flag",
        L" http://ads.example/",
        L"",
    };
    for (const wchar_t* address : refused)
        Call(L"ShowUrl", CArgs().Str(address));
    ExpectNoEffectSoFar();

    const std::vector<std::string> messages = LogMessages();
    ASSERT_EQ(std::size(refused), messages.size());
    const std::string refusal = "ShowUrl refused, not an http or https address: ";
    EXPECT_EQ(refusal + "file:///C:/windows/system32/notepad.exe", messages[0]);
    // A control character stays on the log line, written out.
    EXPECT_EQ(refusal + "http://ads.example/a\\x0Ab", messages[8]);
    EXPECT_EQ(refusal, messages[12]);
}

TEST_F(PageAction, RefusedAddressIsLoggedShortened)
{
    Call(L"ShowUrl", CArgs().Str(L"mailto:" + std::wstring(5000, L'x')));
    const std::vector<std::string> messages = LogMessages();
    ASSERT_EQ(1u, messages.size());
    EXPECT_LT(messages[0].size(), 400u);
    EXPECT_EQ("...", messages[0].substr(messages[0].size() - 3));
}

// The shell opens http and https addresses with the program the registry
// names; the browser is replaced with a recorder for these tests.
class ShowUrlAction : public PageAction
{
  protected:
    void SetUp() override
    {
        PageAction::SetUp();
        DeleteFileA(RecordFile().c_str());
        const std::wstring recorder = L"\"" + Wide(BinFolder()) + L"\\StartRecorder.exe\" \"%1\"";
        for (int i = 0; i < 2; ++i)
        {
            DWORD size = sizeof(savedCommands[i]) - sizeof(wchar_t);
            RegGetValueW(HKEY_LOCAL_MACHINE, kCommandKeys[i], nullptr, RRF_RT_REG_SZ, nullptr,
                         savedCommands[i], &size);
            ASSERT_EQ(ERROR_SUCCESS, SetCommand(kCommandKeys[i], recorder));
        }
    }

    void TearDown() override
    {
        for (int i = 0; i < 2; ++i)
            SetCommand(kCommandKeys[i], savedCommands[i]);
        DeleteFileA(RecordFile().c_str());
        PageAction::TearDown();
    }

    static std::string RecordFile() { return BinFolder() + "\\starts.txt"; }

    static std::vector<std::string> Opened(size_t count)
    {
        std::string text;
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while ((!ReadFileBytes(RecordFile(), text) || SplitLines(text).size() < count) &&
               GetTickCount64() < deadline)
            Sleep(20);
        return SplitLines(text);
    }

  private:
    static std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

    static LSTATUS SetCommand(const wchar_t* key, const std::wstring& command)
    {
        return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, command.c_str(),
                               static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }

    static constexpr const wchar_t* kCommandKeys[2] = {L"Software\\Classes\\http\\shell\\open\\command",
                                                       L"Software\\Classes\\https\\shell\\open\\command"};
    wchar_t savedCommands[2][1024] = {};
};

TEST_F(ShowUrlAction, OpensAWebAddressWithTheShellThenReportsAndCloses)
{
    Call(L"ShowUrl", CArgs().Str(L"http://ads.example/game?id=7&from=pop"));
    ExpectReportedAndClosed(1);
    EXPECT_EQ(std::vector<std::string>{"http://ads.example/game?id=7&from=pop"}, Opened(1));
}

TEST_F(ShowUrlAction, SchemeIsComparedWithoutCase)
{
    Call(L"ShowUrl", CArgs().Str(L"ignored").Str(L"HTTPS://Ads.Example/X"));
    ExpectReportedAndClosed(1);
    const std::vector<std::string> opened = Opened(1);
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ("HTTPS://Ads.Example/X", opened[0]);
}

// Downloads: the platform stand-in runs from the registered folder.
class DownloadAction : public PageAction
{
  protected:
    // How long one download call holds the page, in milliseconds.
    ULONGLONG TimedDownload()
    {
        const ULONGLONG start = GetTickCount64();
        Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
        return GetTickCount64() - start;
    }

    CPlatformStandIn platform;
};

TEST_F(DownloadAction, SendsTheQuotedCodeAndParameterFromTheFrame)
{
    ASSERT_TRUE(platform.Start());
    // Without a parameter the text is the quoted code alone: 3 bytes.
    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Str(L""));
    ExpectReportedAndClosed(2);
    Call(L"RestartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
    const std::vector<Json::Value> reports = Reports(2);
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ(2, reports[1]["actionType"].asInt());

    const std::vector<CPlatformCommand> commands = platform.Commands();
    ASSERT_EQ(2u, commands.size());
    EXPECT_EQ("\"A\"", commands[0].bytes);
    EXPECT_EQ("\"A\" \"p\"", commands[1].bytes);
    for (const CPlatformCommand& command : commands)
    {
        EXPECT_EQ(1u, command.dwData);
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(frame.Handle()), command.wParam);
    }
    EXPECT_EQ(std::vector<std::string>(2, kSentPrefix + ",code=A, return=100"), LogMessages());
    EXPECT_TRUE(retrySleeps.empty());
}

TEST_F(DownloadAction, WrongArgumentsDoNothing)
{
    ASSERT_TRUE(platform.Start());
    Call(L"StartDownLoad");
    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"p"));
    Call(L"StartDownLoad", CArgs().Int(1).Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Int(2));
    Call(L"StartDownLoad", CArgs().NullStr().Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").NullStr());
    Call(L"RestartDownLoad", CArgs().Str(L"").Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
    EXPECT_EQ(S_OK, InvokeId(2000, nullptr));
    ExpectNoEffectSoFar();
    EXPECT_TRUE(platform.Commands().empty());
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(DownloadAction, WithoutAPlatformTheDownloadIsStillReportedAndClosed)
{
    CPlatformRegistration registration;
    ASSERT_TRUE(registration.Remove());
    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
    ExpectReportedAndClosed(2);
    // Not started, so not sent: no attempt, no wait.
    EXPECT_TRUE(LogMessages().empty());
    EXPECT_TRUE(retrySleeps.empty());
}

TEST_F(DownloadAction, MissingWindowIsTriedTwentyTimesOneSecondApart)
{
    ASSERT_TRUE(platform.Start("--no-handle"));
    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
    ExpectReportedAndClosed(2);
    EXPECT_EQ(std::vector<std::string>(20, kNoWindowText), LogMessages());
    EXPECT_EQ(std::vector<DWORD>(19, 1000), retrySleeps);
    EXPECT_TRUE(platform.Commands().empty());
}

TEST_F(DownloadAction, ReplyOtherThanHundredIsTriedTwentyTimes)
{
    ASSERT_TRUE(platform.Start("--reply 7"));
    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
    ExpectReportedAndClosed(2);
    EXPECT_EQ(std::vector<std::string>(20, kSendErrorPrefix + ",code=A, return=7"), LogMessages());
    EXPECT_EQ(20u, platform.Commands().size());
    EXPECT_EQ(19u, retrySleeps.size());
}

TEST_F(DownloadAction, PlatformPublishingItsWindowLateIsReachedOnALaterAttempt)
{
    timing.retrySleep = PublishOnSecondSleep;
    Relaunch();
    ASSERT_TRUE(platform.Start("--no-handle"));
    windowToPublish = platform.Window();
    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Str(L"p"));
    ExpectReportedAndClosed(2);
    EXPECT_EQ(1u, platform.Commands().size());
    EXPECT_EQ((std::vector<std::string>{kNoWindowText, kNoWindowText, kSentPrefix + ",code=A, return=100"}),
              LogMessages());
    EXPECT_EQ(2u, retrySleeps.size());
}

TEST_F(DownloadAction, LateReplyIsWaitedFor)
{
    ASSERT_TRUE(platform.Start("--reply-delay 700"));
    EXPECT_GE(TimedDownload(), 690u);
    ExpectReportedAndClosed(2);
    EXPECT_EQ(1u, platform.Commands().size());
    EXPECT_TRUE(retrySleeps.empty());
}

TEST_F(DownloadAction, PlatformThatNeverAnswersHoldsTheFrameNoLongerThanTheLimit)
{
    timing.commandTimeoutMs = 1500;
    Relaunch();
    // Far longer than the limit: to this command the platform never answers.
    ASSERT_TRUE(platform.Start("--reply-delay 30000"));
    const ULONGLONG took = TimedDownload();
    // The reply is waited for up to the limit and not beyond; the command is
    // not sent again while the platform still holds the first one.
    EXPECT_GE(took, 1400u);
    EXPECT_LT(took, 8000u);
    ExpectReportedAndClosed(2);
    EXPECT_EQ(1u, platform.Commands().size());
    EXPECT_EQ(std::vector<std::string>(1, kNoAnswerText), LogMessages());
    platform.Process().Kill();
}

TEST_F(DownloadAction, HungPlatformIsGivenUpOnAtEachAttemptWithoutWaiting)
{
    timing.commandTimeoutMs = 8000;
    Relaunch();
    ASSERT_TRUE(platform.Start("--reply-delay 30000"));
    // A first command keeps the platform's window from its messages; once
    // that has lasted long enough, the system counts the window as hung.
    const std::string first = "\"first\"";
    COPYDATASTRUCT record{1, static_cast<DWORD>(first.size()), const_cast<char*>(first.data())};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(platform.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_NORMAL,
                        100, &ignored);
    const HWND window = platform.Window();
    ASSERT_TRUE(PollUntil([window] { return IsHungAppWindow(window) != FALSE; }, 15000));

    EXPECT_LT(TimedDownload(), 4000u);
    ExpectReportedAndClosed(2);
    EXPECT_EQ(std::vector<std::string>(20, kNoAnswerText), LogMessages());
    EXPECT_EQ(std::vector<DWORD>(19, 1000), retrySleeps);
    platform.Process().Kill();
}

TEST_F(DownloadAction, AttemptsAndPausesTogetherStayWithinTheLimit)
{
    // Real pauses against a limit of two and a half of them: attempts at 0,
    // 1 and 2 seconds, and no pause after that, for no attempt would fit.
    timing.retrySleep = RecordAndSleep;
    timing.commandTimeoutMs = 2500;
    Relaunch();
    ASSERT_TRUE(platform.Start("--reply 7"));
    const ULONGLONG took = TimedDownload();
    EXPECT_GE(took, 2000u);
    EXPECT_LT(took, 3500u);
    ExpectReportedAndClosed(2);
    EXPECT_EQ(3u, platform.Commands().size());
    EXPECT_EQ(std::vector<std::string>(3, kSendErrorPrefix + ",code=A, return=7"), LogMessages());
    EXPECT_EQ(std::vector<DWORD>(2, 1000), retrySleeps);
}

TEST_F(DownloadAction, CommandFillingTheBufferIsSentAndOneByteMoreIsNot)
{
    ASSERT_TRUE(platform.Start());
    // Two quotes around 1,021 bytes: 1,023, the most the buffer holds.
    const std::wstring fits(1021, L'x');
    Call(L"StartDownLoad", CArgs().Str(fits).Str(L"b").Str(L"c").Str(L"d").Str(L""));
    ASSERT_TRUE(platform.WaitForCommands(1));
    EXPECT_EQ(1023u, platform.Commands()[0].bytes.size());

    Call(L"StartDownLoad", CArgs().Str(L"A").Str(L"b").Str(L"c").Str(L"d").Str(std::wstring(1018, L'p')));
    const std::vector<Json::Value> reports = Reports(2);
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ(2, reports[1]["actionType"].asInt());
    EXPECT_EQ(2u, frame.CloseCount());
    EXPECT_EQ(1u, platform.Commands().size());
    const std::vector<std::string> messages = LogMessages();
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("platform command not sent: 1024 bytes exceed the limit of 1023 bytes", messages[1]);
    EXPECT_TRUE(retrySleeps.empty());
}

// The platform link on its own, without a frame.
class PlatformOperations : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        retrySleeps.clear();
        logOffset = ClientLogSize();
    }

    static Qlm::CPlatformTiming RecordedTiming()
    {
        Qlm::CPlatformTiming timing;
        timing.retrySleep = RecordSleep;
        return timing;
    }

    Qlm::CLaunchContext context{L"key-9", L"chan-5"};
    Qlm::CPlatformLink link{context, RecordedTiming()};
    size_t logOffset = 0;
};

TEST_F(PlatformOperations, StartPlatformStartsTheInstalledProgram)
{
    CPlatformStandIn platform;
    ASSERT_TRUE(platform.Installed());
    ASSERT_TRUE(link.StartPlatform());
    // The started program publishes its window.
    const HWND published = CPlatformStandIn::WaitForPublishedWindow();
    ASSERT_TRUE(IsWindow(published));
    DWORD owner = 0;
    GetWindowThreadProcessId(published, &owner);
    EXPECT_NE(GetCurrentProcessId(), owner);
    EXPECT_TRUE(CPlatformStandIn::StopAll());
}

TEST_F(PlatformOperations, StartPlatformFailsWithoutAProgramToStart)
{
    CPlatformRegistration registration;
    // Registered, but nothing installed there.
    EXPECT_FALSE(link.StartPlatform());
    ASSERT_TRUE(registration.Set(L""));
    EXPECT_FALSE(link.StartPlatform());
    ASSERT_TRUE(registration.Remove());
    EXPECT_FALSE(link.StartPlatform());
}

TEST_F(PlatformOperations, StartPlatformRefusesAPathLongerThanItsBuffer)
{
    // "C:\qlmlong\" + folder + "\QMPlatform.exe": 259 characters fit, 260 do
    // not. Both copies exist (the long one through a \\?\ path), so only the
    // length decides.
    const std::wstring root = L"C:\\qlmlong";
    const std::wstring fitting = root + L"\\" + std::wstring(233, L'a');
    const std::wstring tooLong = root + L"\\" + std::wstring(234, L'a');
    const std::string bin = BinFolder();
    const std::wstring source = std::wstring(bin.begin(), bin.end()) + L"\\QMPlatform.exe";
    for (const std::wstring& folder : {root, fitting, tooLong})
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
    for (const std::wstring& folder : {fitting, tooLong})
        ASSERT_TRUE(CopyFileW(source.c_str(), (L"\\\\?\\" + folder + L"\\QMPlatform.exe").c_str(), FALSE));
    ASSERT_EQ(259u, (fitting + L"\\QMPlatform.exe").size());

    CPlatformRegistration registration;
    ASSERT_TRUE(registration.Set(tooLong));
    EXPECT_FALSE(link.StartPlatform());
    ASSERT_TRUE(registration.Set(fitting));
    EXPECT_TRUE(link.StartPlatform());
    EXPECT_TRUE(CPlatformStandIn::StopAll());
    for (const std::wstring& folder : {fitting, tooLong})
    {
        DeleteFileW((L"\\\\?\\" + folder + L"\\QMPlatform.exe").c_str());
        DeleteFileW((L"\\\\?\\" + folder + L"\\PlatformParam.ini").c_str());
        RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
    }
    RemoveDirectoryW(root.c_str());
}

TEST_F(PlatformOperations, EachAttemptWithoutAnInstalledPlatformIsLogged)
{
    CPlatformRegistration registration;
    ASSERT_TRUE(registration.Remove());
    EXPECT_FALSE(link.SendPlatformCommand("A", "p"));
    ASSERT_TRUE(registration.Set(L""));
    EXPECT_FALSE(link.SendPlatformCommand("A", "p"));

    std::vector<std::string> expected(20, Gbk("尚未安装Quillmarsh2"));
    expected.insert(expected.end(), 20, Gbk("尚未安装Quillmarsh1"));
    EXPECT_EQ(expected, ClientLogMessagesFrom(logOffset));
    EXPECT_EQ(std::vector<DWORD>(38, 1000), retrySleeps);
}

TEST_F(PlatformOperations, StaleOrGarbledHandleCountsAsAMissingWindow)
{
    CPlatformStandIn platform;
    const HWND gone =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, gone);
    DestroyWindow(gone);
    const std::string stale = std::to_string(reinterpret_cast<LONG_PTR>(gone));
    for (const std::string& value : {std::string("0"), std::string("abc"), std::string(""), stale})
    {
        WritePrivateProfileStringA("HWNDApp", "HWND", value.c_str(), CPlatformStandIn::ParamFile().c_str());
        EXPECT_FALSE(link.SendPlatformCommand("A", "")) << value;
    }
    EXPECT_EQ(std::vector<std::string>(80, kNoWindowText), ClientLogMessagesFrom(logOffset));
}
