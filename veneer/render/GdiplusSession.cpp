#include "veneer/render/GdiplusSession.h"

namespace Veneer
{

namespace
{

// The process-wide state behind the sessions.
struct TGdiplusState
{
    bool bLoaded = false;
    bool bHaveApi = false;
    TGdiplusApi api{};
    int nSessions = 0;
    ULONG_PTR uToken = 0;
    bool bRunning = false;
    int nStarts = 0;
};

TGdiplusState& State()
{
    static TGdiplusState state;
    return state;
}

template <typename TFunction> bool Lookup(HMODULE hModule, const char* pszName, TFunction& pfn)
{
    pfn = reinterpret_cast<TFunction>(reinterpret_cast<void*>(::GetProcAddress(hModule, pszName)));
    return pfn != nullptr;
}

// Loads the DLL once; it stays loaded for the process.
bool LoadApi(TGdiplusApi& api)
{
    HMODULE hModule = ::LoadLibraryW(L"gdiplus.dll");
    return hModule != nullptr && Lookup(hModule, "GdiplusStartup", api.pfnStartup) &&
           Lookup(hModule, "GdiplusShutdown", api.pfnShutdown) &&
           Lookup(hModule, "GdipCreateFromHDC", api.pfnCreateFromHDC) &&
           Lookup(hModule, "GdipDeleteGraphics", api.pfnDeleteGraphics) &&
           Lookup(hModule, "GdipSetTextRenderingHint", api.pfnSetTextRenderingHint) &&
           Lookup(hModule, "GdipCreateFontFromLogfontW", api.pfnCreateFontFromLogfont) &&
           Lookup(hModule, "GdipCreateFontFromDC", api.pfnCreateFontFromDC) &&
           Lookup(hModule, "GdipDeleteFont", api.pfnDeleteFont) &&
           Lookup(hModule, "GdipCreateStringFormat", api.pfnCreateStringFormat) &&
           Lookup(hModule, "GdipSetStringFormatAlign", api.pfnSetStringFormatAlign) &&
           Lookup(hModule, "GdipSetStringFormatLineAlign", api.pfnSetStringFormatLineAlign) &&
           Lookup(hModule, "GdipDeleteStringFormat", api.pfnDeleteStringFormat) &&
           Lookup(hModule, "GdipCreateLineBrush", api.pfnCreateLineBrush) &&
           Lookup(hModule, "GdipDeleteBrush", api.pfnDeleteBrush) &&
           Lookup(hModule, "GdipDrawString", api.pfnDrawString);
}

} // namespace

CGdiplusSession::CGdiplusSession()
{
    TGdiplusState& state = State();
    if (state.nSessions++ > 0)
        return;
    if (!state.bLoaded)
    {
        state.bLoaded = true;
        state.bHaveApi = LoadApi(state.api);
    }
    if (!state.bHaveApi)
        return;
    const Gdiplus::GdiplusStartupInput input; // version 1, no callback
    state.bRunning = state.api.pfnStartup(&state.uToken, &input, nullptr) == Gdiplus::Ok;
    if (state.bRunning)
        state.nStarts++;
}

CGdiplusSession::~CGdiplusSession()
{
    TGdiplusState& state = State();
    if (--state.nSessions > 0 || !state.bRunning)
        return;
    state.api.pfnShutdown(state.uToken);
    state.bRunning = false;
    state.uToken = 0;
}

const TGdiplusApi* CGdiplusSession::GetApi() const
{
    return State().bRunning ? &State().api : nullptr;
}

bool CGdiplusSession::IsRunning()
{
    return State().bRunning;
}

int CGdiplusSession::GetStartCount()
{
    return State().nStarts;
}

} // namespace Veneer
