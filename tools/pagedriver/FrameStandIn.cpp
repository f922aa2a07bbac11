#include "tools/pagedriver/FrameStandIn.h"

namespace
{

const wchar_t kWindowClass[] = L"QLMFrameStandIn";

} // namespace

CFrameStandIn::CFrameStandIn()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    // Registering again (a second stand-in) fails harmlessly.
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, kWindowClass, L"Quillmarsh", WS_POPUP, 0, 0, 380, 265, nullptr, nullptr,
                             windowClass.hInstance, this);
}

CFrameStandIn::~CFrameStandIn()
{
    if (window != nullptr)
        DestroyWindow(window);
}

unsigned CFrameStandIn::CloseCount()
{
    MSG message{};
    while (window != nullptr && PeekMessageW(&message, window, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    return closes;
}

LRESULT CALLBACK CFrameStandIn::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    CFrameStandIn* self = reinterpret_cast<CFrameStandIn*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_CLOSE && self != nullptr)
    {
        // The real frame ends the program here; the stand-in only counts.
        ++self->closes;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
