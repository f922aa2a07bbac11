// skinview: shows a skin as the toolkit builds it, for people who write
// skins.
//
//   skinview SKIN.xml | skinview ARCHIVE.zip MEMBER.xml
//       opens the skin in a skinned window, prints every notification of
//       its tree, and builds it again whenever the file changes;
//   skinview --dump SKIN.xml [--size WxH]
//       prints the laid-out control tree and exits;
//   skinview --shot OUT.png SKIN.xml [--size WxH]
//       writes a PNG of the painted window, alpha included.
//
// --dump and --shot take an archive and member as well. The window has the
// skin's size unless --size gives another. Output is UTF-8. Exit codes: 0
// done, 1 the skin did not load (the message and location are printed) or
// the picture could not be written, 2 bad arguments.
#include "SkinOutput.h"
#include "SkinViewWindow.h"

#include "tools/common/SkinText.h"
#include "veneer/Veneer.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

using Veneer::CPaintManagerUI;

namespace
{

const int kExitDone = 0;
const int kExitFailed = 1;
const int kExitUsage = 2;

enum class Mode
{
    Live,
    Dump,
    Shot
};

struct TOptions
{
    Mode mode = Mode::Live;
    std::wstring sPng;
    std::vector<std::wstring> files; // the skin, or the archive and member
    SIZE szWindow{};                 // zero: the skin's own size
};

bool ParseSize(const wchar_t* pstr, SIZE& sz)
{
    wchar_t* pEnd = nullptr;
    sz.cx = static_cast<LONG>(wcstol(pstr, &pEnd, 10));
    if (*pEnd != L'x' && *pEnd != L'X')
        return false;
    sz.cy = static_cast<LONG>(wcstol(pEnd + 1, &pEnd, 10));
    return *pEnd == L'\0' && sz.cx > 0 && sz.cy > 0 && sz.cx <= 16384 && sz.cy <= 16384;
}

bool ParseOptions(int argc, wchar_t* argv[], TOptions& options)
{
    for (int i = 1; i < argc; i++)
    {
        const std::wstring sArg = argv[i];
        if (sArg == L"--dump")
            options.mode = Mode::Dump;
        else if (sArg == L"--shot" && i + 1 < argc)
        {
            options.mode = Mode::Shot;
            options.sPng = argv[++i];
        }
        else if (sArg == L"--size" && i + 1 < argc)
        {
            if (!ParseSize(argv[++i], options.szWindow))
                return false;
        }
        else if (sArg.rfind(L"--", 0) == 0 || sArg.empty())
            return false;
        else
            options.files.push_back(sArg);
    }
    return options.files.size() == 1 || options.files.size() == 2;
}

bool MakeSource(const TOptions& options, TSkinSource& source)
{
    std::wstring sName;
    if (!SplitSkinPath(options.files[0].c_str(), source.sFolder, sName))
        return false;
    if (options.files.size() == 2)
    {
        source.sArchive = sName;
        source.sXml = options.files[1];
    }
    else
        source.sXml = sName;
    return true;
}

void PrintError(const CSkinViewWindow& window)
{
    WriteUtf8(L"error: " + window.GetErrorMessage() + L"\n");
    WriteUtf8(L"at: " + Quoted(window.GetErrorLocation().c_str()) + L"\n");
}

// Builds the skin in a hidden window and lays it out, then prints the tree
// or paints it.
int RunOffscreen(const TOptions& options, const TSkinSource& source)
{
    CSkinViewWindow window(source, false);
    if (window.Create(nullptr, L"skinview", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0) == nullptr)
    {
        WriteUtf8(L"error: the window could not be made\n");
        return kExitFailed;
    }
    if (!window.IsBuilt())
    {
        PrintError(window);
        ::DestroyWindow(window);
        return kExitFailed;
    }
    if (options.szWindow.cx > 0)
        ::SetWindowPos(window, nullptr, 0, 0, options.szWindow.cx, options.szWindow.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    window.LayOut();
    Veneer::CControlUI* pRoot = window.GetManager().GetRoot();
    int nExit = kExitDone;
    if (options.mode == Mode::Dump)
    {
        for (const std::wstring& line : DumpTree(pRoot))
            WriteUtf8(line + L"\n");
    }
    else
    {
        RECT rc{};
        ::GetClientRect(window, &rc);
        if (rc.right <= 0 || rc.bottom <= 0 || !WriteTreePng(pRoot, rc.right, rc.bottom, options.sPng))
        {
            WriteUtf8(L"error: the picture could not be written: " + Quoted(options.sPng.c_str()) + L"\n");
            nExit = kExitFailed;
        }
    }
    ::DestroyWindow(window);
    return nExit;
}

int RunLive(const TOptions& options, const TSkinSource& source)
{
    CSkinViewWindow window(source, true);
    if (window.Create(nullptr, L"skinview", WS_POPUP | WS_MINIMIZEBOX, 0, 0, 0, 0, 0) == nullptr)
    {
        WriteUtf8(L"error: the window could not be made\n");
        return kExitFailed;
    }
    if (!window.IsBuilt())
        PrintError(window);
    if (options.szWindow.cx > 0)
        ::SetWindowPos(window, nullptr, 0, 0, options.szWindow.cx, options.szWindow.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    window.CenterWindow();
    window.ShowWindow(true, false);
    // The window's handle, for programs that drive or watch it.
    WriteUtf8(L"window " + std::to_wstring(reinterpret_cast<ULONG_PTR>(window.GetHWND())) + L"\n");
    CPaintManagerUI::MessageLoop();
    return kExitDone;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    _setmode(_fileno(stdout), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));

    TOptions options;
    TSkinSource source;
    if (!ParseOptions(argc, argv, options) || !MakeSource(options, source))
    {
        fputs("usage: skinview [--dump | --shot OUT.png] SKIN.xml [--size WxH]\n"
              "       skinview [--dump | --shot OUT.png] ARCHIVE.zip MEMBER.xml [--size WxH]\n",
              stderr);
        return kExitUsage;
    }
    if (options.mode == Mode::Live)
        return RunLive(options, source);
    return RunOffscreen(options, source);
}
