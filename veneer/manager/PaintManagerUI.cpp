#include "veneer/manager/PaintManagerUI.h"

namespace Veneer
{

HDC CPaintManagerUI::GetPaintDC() const
{
    return m_hDcPaint;
}

bool CPaintManagerUI::IsBackgroundTransparent() const
{
    return m_bLayered;
}

void CPaintManagerUI::SetBackgroundTransparent(bool bTrans)
{
    m_bLayered = bTrans;
}

} // namespace Veneer
