#pragma once

#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// Shows the system wait cursor for the lifetime of the object.
class VENEER_API CWaitCursor
{
  public:
    CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor();

  private:
    HCURSOR m_hOrigCursor;
};

} // namespace Veneer
