// A plug-in module as skin authors write one: control classes compiled
// against the toolkit's headers and its static library, and the exported
// factory "CreateControl". Built twice, as plug-in A and plug-in B, which
// answer some names alike so that tests see the order in which plug-ins are
// asked.
#include "veneer/control/ContainerUI.h"
#include "veneer/control/ControlUI.h"

#include <cwchar>

#ifndef PLUGIN_TAG
#error PLUGIN_TAG names the build of the plug-in
#endif

#define PLUGIN_WIDE2(x) L##x
#define PLUGIN_WIDE(x) PLUGIN_WIDE2(x)

namespace
{

// A container only plug-ins know; it reports which plug-in made it.
class CPluginBoxUI : public Veneer::CContainerUI
{
  public:
    LPCWSTR GetClass() const override { return L"PluginBox" PLUGIN_WIDE(PLUGIN_TAG) L"UI"; }
};

class CSharedUI : public Veneer::CControlUI
{
  public:
    LPCWSTR GetClass() const override { return L"Shared" PLUGIN_WIDE(PLUGIN_TAG) L"UI"; }
};

} // namespace

extern "C" __declspec(dllexport) Veneer::CControlUI* __cdecl CreateControl(LPCWSTR pstrType)
{
    if (wcscmp(pstrType, L"Shared") == 0)
        return new CSharedUI;
    if (wcscmp(pstrType, L"PluginBox" PLUGIN_WIDE(PLUGIN_TAG)) == 0)
        return new CPluginBoxUI;
    return nullptr;
}
