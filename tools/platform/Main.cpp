// QMPlatform.exe: a stand-in for the client platform program, for the tests
// and the demo. Started from its folder, it creates a (hidden) window,
// publishes the window's handle in decimal in "PlatformParam.ini" beside
// itself (section "HWNDApp", key "HWND") and answers each WM_COPYDATA
// command with 100, recording the command as one line on standard output
// and, with --out, in a file:
//
//   dwData=<n> wParam=<sender's wParam> cbData=<n> text=<the bytes>
//
// where the bytes are written as they are except backslash ("\\") and bytes
// outside 0x20..0x7E ("\xNN"). Only one runs at a time: a second start while
// one runs leaves it alone and exits at once.
//
//   QMPlatform.exe [--out FILE] [--reply N] [--reply-delay MS]
//                  [--handle-delay MS] [--no-handle] [--exit-after N]
//   QMPlatform.exe --stop     stop the running stand-in
#include "app/client/LogText.h"
#include "app/launcher/PlatformProtocol.h"
#include "tools/common/StandIn.h"
#include "tools/common/StandInNames.h"
#include "veneer/core/ScopedHandle.h"
#include "veneer/core/ScopedHolders.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace
{

const wchar_t kToolName[] = L"QMPlatform";
const wchar_t kRunningMutexName[] = L"QMPlatformStandInRunning";
constexpr UINT_PTR kPublishTimerId = 1;

// The window could not be made.
constexpr int kExitNoWindow = 3;

struct COptions
{
    std::wstring outPath;
    LRESULT reply = Qlm::kPlatformCommandAccepted;
    DWORD replyDelayMs = 0;
    DWORD handleDelayMs = 0;
    bool publishHandle = true;
    unsigned exitAfter = 0;
};

bool ParseNumber(const wchar_t* text, unsigned long& value)
{
    wchar_t* end = nullptr;
    value = wcstoul(text, &end, 10);
    return end != text && *end == L'\0';
}

// False (after a usage line) when the command line is not understood.
bool ParseOptions(int argc, wchar_t** argv, COptions& options)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::wstring name = argv[i];
        unsigned long number = 0;
        if (name == L"--no-handle")
        {
            options.publishHandle = false;
            continue;
        }
        const bool hasValue = i + 1 < argc;
        if (name == L"--out" && hasValue)
            options.outPath = argv[++i];
        else if (name == L"--reply" && hasValue && ParseNumber(argv[++i], number))
            options.reply = static_cast<LRESULT>(number);
        else if (name == L"--reply-delay" && hasValue && ParseNumber(argv[++i], number))
            options.replyDelayMs = number;
        else if (name == L"--handle-delay" && hasValue && ParseNumber(argv[++i], number))
            options.handleDelayMs = number;
        else if (name == L"--exit-after" && hasValue && ParseNumber(argv[++i], number))
            options.exitAfter = number;
        else
        {
            fwprintf(stderr, L"usage: QMPlatform.exe [--out FILE] [--reply N] [--reply-delay MS] "
                             L"[--handle-delay MS] [--no-handle] [--exit-after N] | --stop\n");
            return false;
        }
    }
    return true;
}

std::wstring ParamFilePath()
{
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + Qlm::kPlatformParamFile;
}

// One command as a line: the record's type, the sender's wParam, the size
// and the exact bytes, escaped so that any text stays on the line.
std::string DescribeCommand(WPARAM sender, const COPYDATASTRUCT& record)
{
    char head[128] = {};
    snprintf(head, sizeof(head),
             "dwData=%llu wParam=%llu cbData=%lu text=", static_cast<unsigned long long>(record.dwData),
             static_cast<unsigned long long>(sender), static_cast<unsigned long>(record.cbData));
    const char* bytes = static_cast<const char*>(record.lpData);
    return head + Qlm::EscapeToAscii(bytes == nullptr ? std::string() : std::string(bytes, record.cbData));
}

class CPlatformStandIn
{
  public:
    CPlatformStandIn(const COptions& chosen, FILE* record) : options(chosen), out(record) {}

    bool Create()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kPlatformStandInWindowClass;
        RegisterClassW(&windowClass);
        window =
            CreateWindowExW(0, kPlatformStandInWindowClass, L"QMPlatform", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 300, 200, nullptr, nullptr, windowClass.hInstance, this);
        if (window == nullptr)
            return false;
        if (!options.publishHandle)
            fwprintf(stderr, L"QMPlatform: window %ld, handle not published\n", WindowNumber());
        else if (options.handleDelayMs == 0)
            PublishHandle();
        else
            SetTimer(window, kPublishTimerId, options.handleDelayMs, nullptr);
        return true;
    }

    // Runs until stopped, or until the window goes after --exit-after.
    void Run(HANDLE stopEvent)
    {
        for (;;)
        {
            const DWORD woke = MsgWaitForMultipleObjects(1, &stopEvent, FALSE, INFINITE, QS_ALLINPUT);
            if (woke == WAIT_OBJECT_0)
                return;
            MSG message{};
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            {
                if (message.message == WM_QUIT)
                    return;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

  private:
    long WindowNumber() const { return static_cast<long>(reinterpret_cast<LONG_PTR>(window)); }

    void PublishHandle()
    {
        const std::wstring path = ParamFilePath();
        const std::wstring number = std::to_wstring(WindowNumber());
        WritePrivateProfileStringW(Qlm::kPlatformHandleSection, Qlm::kPlatformHandleKey, number.c_str(),
                                   path.c_str());
        fwprintf(stderr, L"QMPlatform: window %ls published in %ls\n", number.c_str(), path.c_str());
        fflush(stderr);
    }

    LRESULT OnCommand(WPARAM sender, const COPYDATASTRUCT& record)
    {
        const std::string line = DescribeCommand(sender, record);
        printf("%s\n", line.c_str());
        fflush(stdout);
        if (out != nullptr)
        {
            fprintf(out, "%s\n", line.c_str());
            fflush(out);
        }
        if (options.replyDelayMs != 0)
            Sleep(options.replyDelayMs);
        ++commands;
        if (options.exitAfter != 0 && commands >= options.exitAfter)
            PostQuitMessage(0);
        return options.reply;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
        {
            const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        CPlatformStandIn* self =
            reinterpret_cast<CPlatformStandIn*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_COPYDATA && lParam != 0)
            return self->OnCommand(wParam, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        if (self != nullptr && message == WM_TIMER && wParam == kPublishTimerId)
        {
            KillTimer(window, kPublishTimerId);
            self->PublishHandle();
            return 0;
        }
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    COptions options;
    FILE* out;
    HWND window = nullptr;
    unsigned commands = 0;
};

int Serve(int argc, wchar_t** argv)
{
    COptions options;
    if (!ParseOptions(argc, argv, options))
        return kExitUsage;
    // The client starts the platform again for every download; the running
    // one keeps its window and its published handle.
    Veneer::CScopedHandle running(CreateMutexW(nullptr, FALSE, kRunningMutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS)
    {
        fwprintf(stderr, L"QMPlatform: another QMPlatform.exe runs; leaving it alone\n");
        return kExitOk;
    }
    const bool recording = !options.outPath.empty();
    Veneer::CScopedFile out(recording ? OpenForAppending(options.outPath.c_str(), kToolName) : nullptr);
    if (recording && !out.IsOpen())
        return kExitOutputFile;
    // An event still signalled by a stop request of this run's predecessor
    // ends this one too: a stop means every stand-in.
    Veneer::CScopedHandle stopEvent(CreateEventW(nullptr, TRUE, FALSE, kPlatformStandInStopEvent));
    CPlatformStandIn standIn(options, out.Get());
    if (!standIn.Create())
    {
        fwprintf(stderr, L"QMPlatform: cannot create its window (error %lu)\n", GetLastError());
        return kExitNoWindow;
    }
    standIn.Run(stopEvent.Get());
    return kExitOk;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    return StandInMain(argc, argv, kToolName, kPlatformStandInStopEvent, Serve);
}
