// Layout trees built, laid out, painted, dragged and destroyed many times
// leave no control and no GDI object behind.
#include "veneer/control/HorizontalLayoutUI.h"
#include "veneer/control/TabLayoutUI.h"
#include "veneer/control/TileLayoutUI.h"
#include "veneer/control/VerticalLayoutUI.h"

#include "GdiCount.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

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

} // namespace

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
        if (nGdiAfterWarmUp >= 0)
        {
            EXPECT_LE(CountGdiObjects(), nGdiAfterWarmUp);
        }
    }
    EXPECT_EQ(0, g_nAlive);
}
