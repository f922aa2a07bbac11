#pragma once

#include "veneer/core/StdPtrArray.h"
#include "veneer/core/VeneerDefs.h"

namespace Veneer
{

class CControlUI;

// Holds a pointer to a control across a call that may delete the control
// (an event or notification handler removing its own control, say). The
// control's destructor clears every watch on it, so Get() answers null
// instead of a dangling pointer. Watches live on the stack of the UI thread.
class VENEER_API CControlWatch
{
  public:
    explicit CControlWatch(CControlUI* pControl);
    CControlWatch(const CControlWatch&) = delete;
    CControlWatch& operator=(const CControlWatch&) = delete;
    ~CControlWatch();

    CControlUI* Get() const;

    // Called by the destructor of every control.
    static void Forget(CControlUI* pControl);

  private:
    CControlUI* m_pControl;

    static CStdPtrArray m_aWatches;
};

} // namespace Veneer
