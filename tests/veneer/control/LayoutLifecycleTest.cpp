// Layouts deleted while they place their children stop at once; layout
// trees built, laid out, painted, dragged and destroyed many times leave no
// control and no GDI object behind.
#include "veneer/control/HorizontalLayoutUI.h"
#include "veneer/control/TabLayoutUI.h"
#include "veneer/control/TileLayoutUI.h"
#include "veneer/control/VerticalLayoutUI.h"

#include "FaultAfterDelete.h"
#include "GdiCount.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace Veneer;

namespace
{

int g_nAlive = 0;

// Any control class, counted while it lives.
template <class T> class Counted : public T
{
  public:
    Counted() { g_nAlive++; }
    ~Counted() override { g_nAlive--; }
};

CControlUI* Leaf(int cy)
{
    CControlUI* pLeaf = new Counted<CControlUI>();
    pLeaf->SetFixedHeight(cy);
    pLeaf->SetBkColor(0xFF808080);
    return pLeaf;
}

// One of each layout, with scroll bars and a drag band, under a vertical
// root.
CControlUI* BuildTree()
{
    CVerticalLayoutUI* pRoot = new Counted<CVerticalLayoutUI>();
    pRoot->EnableScrollBar(true, true);

    CHorizontalLayoutUI* pRow = new Counted<CHorizontalLayoutUI>();
    pRow->SetFixedHeight(60);
    pRow->SetSepWidth(4);
    pRow->Add(Leaf(0));
    pRow->Add(Leaf(0));
    pRoot->Add(pRow);

    CTileLayoutUI* pTile = new Counted<CTileLayoutUI>();
    pTile->SetItemSize(SIZE{40, 0});
    pTile->EnableScrollBar(true, false);
    for (int i = 0; i < 12; i++)
        pTile->Add(Leaf(30));
    pRoot->Add(pTile);

    CTabLayoutUI* pTab = new Counted<CTabLayoutUI>();
    pTab->SetFixedHeight(40);
    for (int i = 0; i < 3; i++)
        pTab->Add(Leaf(0));
    pRoot->Add(pTab);

    CVerticalLayoutUI* pBand = new Counted<CVerticalLayoutUI>();
    pBand->SetFixedHeight(50);
    pBand->SetSepHeight(4);
    pRoot->Add(pBand);
    return pRoot;
}

// One of the four layouts, its memory faulting once it is deleted, with
// the name of an attribute of its own.
struct LayoutKind
{
    const char* pstrName;
    std::function<CContainerUI*()> make;
    const wchar_t* pstrOwnAttribute;
};

const LayoutKind kLayouts[] = {
    {"vertical", [] { return new CFaultAfterDelete<CVerticalLayoutUI>(); }, L"sepheight"},
    {"horizontal", [] { return new CFaultAfterDelete<CHorizontalLayoutUI>(); }, L"sepwidth"},
    {"tile", [] { return new CFaultAfterDelete<CTileLayoutUI>(); }, L"columns"},
    {"tab", [] { return new CFaultAfterDelete<CTabLayoutUI>(); }, L"selectedid"},
};

// Deletes a control from an observer of another (or of itself), once.
class CDeleter
{
  public:
    explicit CDeleter(CControlUI* pVictim) : m_pVictim(pVictim) {}

    bool Delete(void*)
    {
        CControlUI* pVictim = m_pVictim;
        m_pVictim = nullptr;
        delete pVictim;
        return true;
    }
    bool HasDeleted() const { return m_pVictim == nullptr; }

  private:
    CControlUI* m_pVictim;
};

// A layout of a window-less manager holding two children in the flow and
// a floating one.
struct LayoutUnderTest
{
    CContainerUI* pLayout;
    CControlUI* pFirst;
    CControlUI* pFloating;
};

LayoutUnderTest MakeLayout(const LayoutKind& kind, CPaintManagerUI& pm)
{
    LayoutUnderTest layout{kind.make(), new CControlUI(), new CControlUI()};
    layout.pLayout->SetManager(&pm, nullptr, false);
    layout.pLayout->Add(layout.pFirst);
    layout.pLayout->Add(new CControlUI());
    layout.pFloating->SetFloat(true);
    layout.pFloating->SetFixedXY(SIZE{5, 5});
    layout.pFloating->SetFixedWidth(10);
    layout.pFloating->SetFixedHeight(10);
    layout.pLayout->Add(layout.pFloating);
    // The tab layout hides what it does not select; a floating child shows.
    layout.pFloating->SetVisible(true);
    return layout;
}

} // namespace

TEST(LayoutLifecycle, ALayoutDeletedWhileItPlacesItsChildrenStopsAtOnce)
{
    const RECT rcLayout{0, 0, 200, 100};
    for (const LayoutKind& kind : kLayouts)
    {
        // Who deletes the layout: an observer of its own size, of its first
        // child's or of its floating child's.
        for (int iObserved = 0; iObserved < 3; iObserved++)
        {
            CPaintManagerUI pm;
            const LayoutUnderTest layout = MakeLayout(kind, pm);
            CControlUI* aObserved[] = {layout.pLayout, layout.pFirst, layout.pFloating};
            CDeleter deleter(layout.pLayout);
            aObserved[iObserved]->sizeSource += MakeDelegate(&deleter, &CDeleter::Delete);
            layout.pLayout->SetPos(rcLayout);
            EXPECT_TRUE(deleter.HasDeleted()) << kind.pstrName << " " << iObserved;
        }
    }

    // The tab layout places its new page itself when it selects one.
    CPaintManagerUI pm;
    const LayoutUnderTest tab = MakeLayout(kLayouts[3], pm);
    tab.pLayout->SetPos(rcLayout);
    CDeleter deleter(tab.pLayout);
    tab.pLayout->GetItemAt(1)->sizeSource += MakeDelegate(&deleter, &CDeleter::Delete);
    static_cast<CTabLayoutUI*>(tab.pLayout)->SelectItem(1);
    EXPECT_TRUE(deleter.HasDeleted());
}

TEST(LayoutLifecycle, AttributesWithoutNameOrValueAreIgnored)
{
    for (const LayoutKind& kind : kLayouts)
    {
        CPaintManagerUI pm;
        const LayoutUnderTest layout = MakeLayout(kind, pm);
        layout.pLayout->SetAttribute(nullptr, L"2");
        layout.pLayout->SetAttribute(kind.pstrOwnAttribute, nullptr);
        layout.pLayout->SetAttribute(L"inset", nullptr);
        layout.pLayout->SetAttribute(nullptr, nullptr);
        EXPECT_EQ(layout.pLayout->GetInset().left, 0) << kind.pstrName;
        // A complete attribute still applies.
        layout.pLayout->SetAttribute(L"childpadding", L"3");
        EXPECT_EQ(layout.pLayout->GetChildPadding(), 3) << kind.pstrName;
        delete layout.pLayout;
    }
}

TEST(LayoutLifecycle, HundredsOfTreesLeaveNothingBehind)
{
    const int kCycles = 300;
    const int kWarmUp = 5;
    int nGdiAfterWarmUp = -1;
    {
        CPaintManagerUI pm;
        CTestWindow window;
        ASSERT_TRUE(window.Create(&pm, 200, 200, 120, 120));
        for (int nCycle = 0; nCycle < kCycles; nCycle++)
        {
            ASSERT_TRUE(pm.AttachDialog(BuildTree()));
            // A drag with the band painted after the tree, then released.
            ::SendMessageW(window.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 198));
            ::SendMessageW(window.GetHWND(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 190));
            ::UpdateWindow(window.GetHWND());
            ::SendMessageW(window.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(100, 190));
            ASSERT_TRUE(PumpUntil([&window] { return !::GetUpdateRect(window.GetHWND(), nullptr, FALSE); }));
            if (nCycle == kWarmUp)
                nGdiAfterWarmUp = CountGdiObjects();
        }
        // Only the tree of the last cycle is still alive.
        PumpPending();
        EXPECT_GT(g_nAlive, 0);
        EXPECT_LT(g_nAlive, 30);
        ASSERT_GE(nGdiAfterWarmUp, 0) << "the GDI objects of the process could not be counted";
        EXPECT_LE(CountGdiObjects(), nGdiAfterWarmUp);
    }
    EXPECT_EQ(0, g_nAlive);
}
