// PageDriver.exe: one page action without the ad window. It sets up what the
// frame would (the launcher's objects with the key, channel and frame
// window; COM),
// takes a fresh `window.external` object and calls one of its methods the
// way the browser does, with string arguments, then tells what came back
// and whether the frame was asked to close. The reports go to the service
// and the commands to the platform exactly as from the pop-up.
//
//   PageDriver.exe [--key KEY] [--channel CHANNEL] METHOD [ARGUMENT...]
#include "app/frame/DocDispatch.h"
#include "tools/pagedriver/BrowserCall.h"
#include "tools/pagedriver/FrameStandIn.h"
#include "tools/pagedriver/LaunchObjects.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace
{

enum ExitCode
{
    kExitOk = 0,
    kExitUsage = 1,
    kExitUnknownName = 2,
    kExitNoWindow = 3,
};

struct COptions
{
    std::wstring key = L"AD-DEMO-1";
    std::wstring channel = L"channel-demo";
    std::wstring method;
    std::vector<std::wstring> args;
};

bool ParseOptions(int argc, wchar_t** argv, COptions& options)
{
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == L'-' && argv[i][1] == L'-'; i += 2)
    {
        if (wcscmp(argv[i], L"--key") == 0)
            options.key = argv[i + 1];
        else if (wcscmp(argv[i], L"--channel") == 0)
            options.channel = argv[i + 1];
        else
            return false;
    }
    if (i >= argc)
        return false;
    options.method = argv[i];
    options.args.assign(argv + i + 1, argv + argc);
    return true;
}

// What the page passes: every argument a script string.
std::vector<VARIANT> ToVariants(const std::vector<std::wstring>& texts)
{
    std::vector<VARIANT> variants;
    for (const std::wstring& text : texts)
    {
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        variants.push_back(value);
    }
    return variants;
}

void PrintCall(const COptions& options, const CBrowserCall& call)
{
    wprintf(L"GetIDsOfNames(\"%ls\") = 0x%08lX", options.method.c_str(),
            static_cast<unsigned long>(call.lookup));
    if (FAILED(call.lookup))
    {
        wprintf(L": the page may not call it\n");
        return;
    }
    wprintf(L", DISPID %ld\n", static_cast<long>(call.id));
    wprintf(L"Invoke(%ld, DISPATCH_METHOD, %u arguments", static_cast<long>(call.id),
            static_cast<unsigned>(options.args.size()));
    for (const std::wstring& arg : options.args)
        wprintf(L" \"%ls\"", arg.c_str());
    wprintf(L") = 0x%08lX, result type %u\n", static_cast<unsigned long>(call.invoke),
            static_cast<unsigned>(call.result.vt));
}

int Drive(const COptions& options)
{
    CFrameStandIn frame;
    if (frame.Handle() == nullptr)
    {
        fwprintf(stderr, L"PageDriver: cannot create the frame stand-in window\n");
        return kExitNoWindow;
    }
    CLaunchObjects launch(options.key, options.channel, frame.Handle());
    wprintf(L"frame stand-in window %ld, ad key \"%ls\", channel \"%ls\"\n",
            static_cast<long>(reinterpret_cast<LONG_PTR>(frame.Handle())), options.key.c_str(),
            options.channel.c_str());
    fflush(stdout);

    // As the browser gets it from the frame: a new object with one reference.
    IDispatch* external = new Qlm::CDocDispatch(launch.actions);
    std::vector<VARIANT> args = ToVariants(options.args);
    CBrowserCall call = CallAsBrowser(external, options.method.c_str(), args);
    PrintCall(options, call);
    for (VARIANT& arg : args)
        VariantClear(&arg);
    VariantClear(&call.result);
    wprintf(L"Release() = %lu\n", external->Release());

    const unsigned closes = frame.CloseCount();
    if (closes == 0)
        wprintf(L"frame: stays open\n");
    else
        wprintf(L"frame: received WM_CLOSE %u time(s); the pop-up would end here\n", closes);
    return FAILED(call.lookup) ? kExitUnknownName : kExitOk;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    COptions options;
    if (!ParseOptions(argc, argv, options))
    {
        fwprintf(stderr, L"usage: PageDriver.exe [--key KEY] [--channel CHANNEL] METHOD [ARGUMENT...]\n");
        return kExitUsage;
    }
    CoInitialize(nullptr);
    const int code = Drive(options);
    CoUninitialize();
    return code;
}
