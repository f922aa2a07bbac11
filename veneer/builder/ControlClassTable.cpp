#include "veneer/builder/ControlClassTable.h"

#include "veneer/control/ButtonUI.h"
#include "veneer/control/CheckBoxUI.h"
#include "veneer/control/ContainerUI.h"
#include "veneer/control/ControlUI.h"
#include "veneer/control/HorizontalLayoutUI.h"
#include "veneer/control/LabelUI.h"
#include "veneer/control/OptionUI.h"
#include "veneer/control/ScrollBarUI.h"
#include "veneer/control/TabLayoutUI.h"
#include "veneer/control/TextUI.h"
#include "veneer/control/TileLayoutUI.h"
#include "veneer/control/VerticalLayoutUI.h"

#include <cwchar>
#include <iterator>
#include <new>

namespace Veneer
{

namespace
{

struct TControlClass
{
    size_t cchName;
    LPCWSTR pstrName;
    PFN_CREATE_CONTROL_CLASS pfnCreate;
};

template <class TControl> CControlUI* NewControl()
{
    return new (std::nothrow) TControl;
}

#define UI_CONTROL_CLASS(name, type)                                                                         \
    {                                                                                                        \
        _countof(L## #name) - 1, L## #name, &NewControl<type>                                                \
    }

// Grouped by the length of the name; within a group, names are compared in
// the order given. A class is added with one row in its group.
constexpr TControlClass kClasses[] = {
    UI_CONTROL_CLASS(Text, CTextUI),
    UI_CONTROL_CLASS(Label, CLabelUI),
    UI_CONTROL_CLASS(Button, CButtonUI),
    UI_CONTROL_CLASS(Option, COptionUI),
    UI_CONTROL_CLASS(Control, CControlUI),
    UI_CONTROL_CLASS(CheckBox, CCheckBoxUI),
    UI_CONTROL_CLASS(Container, CContainerUI),
    UI_CONTROL_CLASS(TabLayout, CTabLayoutUI),
    UI_CONTROL_CLASS(ScrollBar, CScrollBarUI),
    UI_CONTROL_CLASS(TileLayout, CTileLayoutUI),
    UI_CONTROL_CLASS(VerticalLayout, CVerticalLayoutUI),
    UI_CONTROL_CLASS(HorizontalLayout, CHorizontalLayoutUI),
};

#undef UI_CONTROL_CLASS

constexpr bool IsGroupedByLength()
{
    for (size_t i = 1; i < _countof(kClasses); i++)
    {
        if (kClasses[i].cchName < kClasses[i - 1].cchName)
            return false;
    }
    return true;
}
static_assert(IsGroupedByLength(), "the class table is grouped by name length, shortest first");

// The rows added at start-up, in the order they came. Reached through a
// function so that it exists before the first static initialiser adds to it.
struct TAddedClasses
{
    static constexpr size_t kMaxClasses = 16;
    TControlClass aRows[kMaxClasses];
    size_t nCount;
};

TAddedClasses& AddedClasses()
{
    static TAddedClasses added = {};
    return added;
}

const TControlClass* FindFixedClass(LPCWSTR pstrClass, size_t cchClass)
{
    for (const TControlClass& row : kClasses)
    {
        if (row.cchName > cchClass)
            break;
        if (row.cchName == cchClass && wcscmp(row.pstrName, pstrClass) == 0)
            return &row;
    }
    return nullptr;
}

const TControlClass* FindAddedClass(LPCWSTR pstrClass, size_t cchClass)
{
    const TAddedClasses& added = AddedClasses();
    for (size_t i = 0; i < added.nCount; i++)
    {
        if (added.aRows[i].cchName == cchClass && wcscmp(added.aRows[i].pstrName, pstrClass) == 0)
            return &added.aRows[i];
    }
    return nullptr;
}

} // namespace

CControlUI* CreateControlOfClass(LPCWSTR pstrClass)
{
    const size_t cchClass = wcslen(pstrClass);
    const TControlClass* pRow = FindFixedClass(pstrClass, cchClass);
    if (pRow == nullptr)
        pRow = FindAddedClass(pstrClass, cchClass);
    return pRow != nullptr ? pRow->pfnCreate() : nullptr;
}

bool AddControlClass(LPCWSTR pstrName, PFN_CREATE_CONTROL_CLASS pfnCreate)
{
    if (pstrName == nullptr || *pstrName == L'\0' || pfnCreate == nullptr)
        return false;
    const size_t cchName = wcslen(pstrName);
    TAddedClasses& added = AddedClasses();
    if (FindFixedClass(pstrName, cchName) != nullptr || FindAddedClass(pstrName, cchName) != nullptr ||
        added.nCount == TAddedClasses::kMaxClasses)
        return false;
    added.aRows[added.nCount++] = TControlClass{cchName, pstrName, pfnCreate};
    return true;
}

} // namespace Veneer
