// A program whose skinned window names a skin that does not exist: creating
// the window shows the load failure and ends the process.
#include "veneer/window/WindowImplBase.h"

namespace
{

class CMissingSkinWindow : public Veneer::WindowImplBase
{
  public:
    LPCWSTR GetWindowClass() const override { return L"VeneerMissingSkin"; }
    Veneer::CUiString GetSkinDir() override { return L""; }
    Veneer::CUiString GetSkinXml() override { return L"no-such-skin.xml"; }
};

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    Veneer::CPaintManagerUI::SetInstance(hInstance);
    CMissingSkinWindow window;
    window.Create(nullptr, L"missing skin", WS_POPUP, 0, 0, 0, 100, 100);
    // Reached only when the failure did not end the process.
    return 3;
}
