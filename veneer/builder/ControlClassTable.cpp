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

typedef CControlUI* (*ControlFactory)();

struct TControlClass
{
    size_t cchName;
    LPCWSTR pstrName;
    ControlFactory pfnCreate;
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

} // namespace

CControlUI* CreateControlOfClass(LPCWSTR pstrClass)
{
    const size_t cchClass = wcslen(pstrClass);
    for (const TControlClass& row : kClasses)
    {
        if (row.cchName > cchClass)
            break;
        if (row.cchName == cchClass && wcscmp(row.pstrName, pstrClass) == 0)
            return row.pfnCreate();
    }
    return nullptr;
}

} // namespace Veneer
