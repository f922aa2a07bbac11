// The builder's rows for this layer's classes, so that skins can name
// "ActiveX" and "WebBrowser" elements. The builder sits below this layer
// and cannot name the classes itself; this file adds them at start-up. It
// is an object library that every user of the `veneer` target links
// directly, so its static object is never dropped from a link.
#include "veneer/activex/ActiveXUI.h"
#include "veneer/activex/WebBrowserUI.h"
#include "veneer/builder/ControlClassTable.h"

#include <cassert>
#include <new>

namespace Veneer
{

namespace
{

template <class TControl> CControlUI* NewControl()
{
    return new (std::nothrow) TControl;
}

struct CActiveXClassRows
{
    CActiveXClassRows()
    {
        const bool bAdded = AddControlClass(L"ActiveX", &NewControl<CActiveXUI>) &&
                            AddControlClass(L"WebBrowser", &NewControl<CWebBrowserUI>);
        assert(bAdded);
        (void)bAdded;
    }
};

const CActiveXClassRows g_activeXClassRows;

} // namespace

} // namespace Veneer
