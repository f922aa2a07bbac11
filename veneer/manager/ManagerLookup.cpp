// Lookups of controls by name, point, class and shortcut, and the option
// groups.
#include "veneer/manager/PaintManagerUI.h"

#include "veneer/control/ControlUI.h"
#include "veneer/control/ControlWatch.h"

#include <cwchar>
#include <new>

namespace Veneer
{

namespace
{

const UINT kPointSearchFlags = FindVisible | FindHitTest | FindTopFirst;
const int kOptionGroupPrealloc = 6;

bool ClassMatches(CControlUI* pControl, LPCWSTR pstrClass)
{
    return wcscmp(pstrClass, L"*") == 0 || wcscmp(pControl->GetClass(), pstrClass) == 0;
}

wchar_t ToUpper(wchar_t ch)
{
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(ch))));
}

} // namespace

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    return m_pRoot != nullptr ? m_pRoot->FindControl(__FindControlFromPoint, &pt, kPointSearchFlags)
                              : nullptr;
}

CControlUI* CPaintManagerUI::FindControl(LPCWSTR pstrName) const
{
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const
{
    if (pParent == nullptr)
        pParent = m_pRoot;
    return pParent != nullptr ? pParent->FindControl(__FindControlFromPoint, &pt, kPointSearchFlags)
                              : nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const
{
    if (pParent == nullptr)
        pParent = m_pRoot;
    if (pParent == nullptr || pstrName == nullptr)
        return nullptr;
    return pParent->FindControl(__FindControlFromName, const_cast<LPWSTR>(pstrName), FindAll);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex)
{
    if (pParent == nullptr)
        pParent = m_pRoot;
    if (pParent == nullptr || pstrClass == nullptr || iIndex < 0)
        return nullptr;
    // The buffer holds one slot per match wanted; the search stops when the
    // last slot fills.
    m_aFoundControls.Resize(iIndex + 1);
    if (m_aFoundControls.GetSize() != iIndex + 1)
        return nullptr;
    return pParent->FindControl(__FindControlFromClass, const_cast<LPWSTR>(pstrClass), FindAll);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass)
{
    if (pParent == nullptr)
        pParent = m_pRoot;
    m_aFoundControls.Empty();
    if (pParent != nullptr && pstrClass != nullptr)
        pParent->FindControl(__FindControlsFromClass, const_cast<LPWSTR>(pstrClass), FindAll);
    return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass()
{
    return &m_aFoundControls;
}

void CPaintManagerUI::RenameControl(CControlUI* pControl, LPCWSTR pstrOldName)
{
    if (pControl == nullptr)
        return;
    // The old name may find another control by now: that one keeps it.
    if (pstrOldName != nullptr && *pstrOldName != L'\0' && m_mNameHash.Find(pstrOldName, false) == pControl)
        m_mNameHash.Remove(pstrOldName);
    __FindControlFromNameHash(pControl, this);
}

CControlUI* CPaintManagerUI::__FindControlFromNameHash(CControlUI* pThis, LPVOID pData)
{
    CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(pData);
    const CUiString sName = pThis->GetName();
    if (!sName.IsEmpty())
        pManager->m_mNameHash.Set(sName, pThis);
    return nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromCount(CControlUI*, LPVOID pData)
{
    (*static_cast<int*>(pData))++;
    return nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromPoint(CControlUI* pThis, LPVOID pData)
{
    const POINT* pPoint = static_cast<const POINT*>(pData);
    return ::PtInRect(&pThis->GetPos(), *pPoint) ? pThis : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromTab(CControlUI* pThis, LPVOID pData)
{
    TabSearch* pSearch = static_cast<TabSearch*>(pData);
    // Step 1: the starting control. Forward, the next tab stop is the one;
    // backward, the last one passed (none yet: the search runs on and ends
    // with the tree's last tab stop in pLast).
    if (pThis == pSearch->pFocus)
    {
        if (pSearch->bForward)
        {
            pSearch->bNextIsIt = true;
            return nullptr;
        }
        return pSearch->pLast;
    }
    // Step 2: only tab stops count.
    if ((pThis->GetControlFlags() & FlagTabStop) == 0)
        return nullptr;
    // Step 3: without a starting control the first tab stop is the one.
    pSearch->pLast = pThis;
    if (pSearch->bNextIsIt || pSearch->pFocus == nullptr)
        return pThis;
    return nullptr;
}

// Labels take no focus: the shortcut of a label picks the next control that
// the search meets.
CControlUI* CPaintManagerUI::__FindControlFromShortcut(CControlUI* pThis, LPVOID pData)
{
    if (!pThis->IsVisible())
        return nullptr;
    ShortcutSearch* pSearch = static_cast<ShortcutSearch*>(pData);
    if (pSearch->ch == ToUpper(pThis->GetShortcut()))
        pSearch->bPickNext = true;
    if (wcsstr(pThis->GetClass(), L"LabelUI") != nullptr)
        return nullptr;
    return pSearch->bPickNext ? pThis : nullptr;
}

// Alt plus a character focuses and activates the control with that shortcut.
bool CPaintManagerUI::HandleShortcut(wchar_t ch)
{
    if (m_pRoot == nullptr)
        return false;
    ShortcutSearch search{};
    search.ch = ToUpper(ch);
    search.bPickNext = false;
    CControlWatch control(
        m_pRoot->FindControl(__FindControlFromShortcut, &search, FindEnabled | FindMeFirst | FindTopFirst));
    if (control.Get() == nullptr)
        return false;
    control.Get()->SetFocus();
    if (control.Get() != nullptr)
        control.Get()->Activate();
    return true;
}

CControlUI* CPaintManagerUI::__FindControlFromUpdate(CControlUI* pThis, LPVOID)
{
    return pThis->IsUpdateNeeded() ? pThis : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromName(CControlUI* pThis, LPVOID pData)
{
    LPCWSTR pstrName = static_cast<LPCWSTR>(pData);
    const CUiString sName = pThis->GetName();
    return sName.CompareNoCase(pstrName) == 0 ? pThis : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromClass(CControlUI* pThis, LPVOID pData)
{
    CPaintManagerUI* pManager = pThis->GetManager();
    if (pManager == nullptr || !ClassMatches(pThis, static_cast<LPCWSTR>(pData)))
        return nullptr;
    CStdPtrArray& aFound = pManager->m_aFoundControls;
    const int nSlots = aFound.GetSize();
    for (int i = 0; i < nSlots; i++)
    {
        if (aFound[i] == nullptr)
        {
            aFound.SetAt(i, pThis);
            break;
        }
    }
    return nSlots > 0 && aFound[nSlots - 1] != nullptr ? pThis : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlsFromClass(CControlUI* pThis, LPVOID pData)
{
    CPaintManagerUI* pManager = pThis->GetManager();
    if (pManager != nullptr && ClassMatches(pThis, static_cast<LPCWSTR>(pData)))
        pManager->m_aFoundControls.Add(pThis);
    return nullptr;
}

bool CPaintManagerUI::AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* pGroup = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
    if (pGroup != nullptr)
    {
        if (pGroup->Find(pControl) >= 0)
            return false;
        return pGroup->Add(pControl);
    }
    pGroup = new (std::nothrow) CStdPtrArray(kOptionGroupPrealloc);
    if (pGroup == nullptr)
        return false;
    if (!pGroup->Add(pControl) || !m_mOptionGroup.Insert(pStrGroupName, pGroup))
    {
        delete pGroup;
        return false;
    }
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(LPCWSTR pStrGroupName)
{
    return static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
}

void CPaintManagerUI::RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* pGroup = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
    if (pGroup == nullptr)
        return;
    const int index = pGroup->Find(pControl);
    if (index >= 0)
        pGroup->Remove(index);
    if (pGroup->IsEmpty())
    {
        delete pGroup;
        m_mOptionGroup.Remove(pStrGroupName);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    for (int i = 0; i < m_mOptionGroup.GetSize(); i++)
        delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(m_mOptionGroup.GetAt(i), false));
    m_mOptionGroup.RemoveAll();
}

} // namespace Veneer
