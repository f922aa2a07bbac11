// Times a layout pass over a deep and wide tree of nested vertical,
// horizontal and tile layouts, resized through 50 window sizes, against the
// least any pass must do: one plain SetPos per control. Prints the time per
// pass, the ratio to that reference, and how the pass grows from 500 to
// 2,000 to 8,000 controls.

#include "veneer/Veneer.h"

#include "BenchTimer.h"

#include <cstdio>
#include <memory>
#include <vector>

using namespace Veneer;

namespace
{

const int kSizes = 50;
const int kRuns = 15;
const int kSectionsPerGroup = 8;

// A tree and every control in it.
struct Tree
{
    std::unique_ptr<CVerticalLayoutUI> pRoot;
    std::vector<CControlUI*> controls;
};

template <class T> T* Make(Tree& tree)
{
    T* pControl = new T();
    tree.controls.push_back(pControl);
    return pControl;
}

CControlUI* Leaf(Tree& tree, int cxFixed, int cyFixed)
{
    CControlUI* pLeaf = Make<CControlUI>(tree);
    pLeaf->SetFixedWidth(cxFixed);
    pLeaf->SetFixedHeight(cyFixed);
    return pLeaf;
}

// A column of fixed, stretched and limited leaves over a row.
CControlUI* MixedColumn(Tree& tree)
{
    CVerticalLayoutUI* pColumn = Make<CVerticalLayoutUI>(tree);
    pColumn->SetChildPadding(2);
    pColumn->Add(Leaf(tree, 0, 20));
    pColumn->Add(Leaf(tree, 0, 0));
    CControlUI* pMin = Leaf(tree, 0, 0);
    pMin->SetMinHeight(10);
    pColumn->Add(pMin);
    CControlUI* pMax = Leaf(tree, 0, 0);
    pMax->SetMaxHeight(30);
    pColumn->Add(pMax);
    CHorizontalLayoutUI* pRow = Make<CHorizontalLayoutUI>(tree);
    pRow->Add(Leaf(tree, 40, 0));
    pRow->Add(Leaf(tree, 0, 0));
    pRow->Add(Leaf(tree, 0, 0));
    pColumn->Add(pRow);
    return pColumn;
}

CControlUI* Tiles(Tree& tree)
{
    CTileLayoutUI* pTile = Make<CTileLayoutUI>(tree);
    pTile->SetItemSize(SIZE{60, 0});
    pTile->SetChildPadding(4);
    for (int i = 0; i < 12; i++)
        pTile->Add(Leaf(tree, 50, 20));
    return pTile;
}

// Four levels of alternating flows, two leaves at each.
CControlUI* DeepChain(Tree& tree)
{
    CContainerUI* pTop = nullptr;
    CContainerUI* pParent = nullptr;
    for (int nLevel = 0; nLevel < 4; nLevel++)
    {
        CContainerUI* pLevel = nLevel % 2 == 0 ? static_cast<CContainerUI*>(Make<CVerticalLayoutUI>(tree))
                                               : static_cast<CContainerUI*>(Make<CHorizontalLayoutUI>(tree));
        pLevel->SetInset(RECT{1, 1, 1, 1});
        pLevel->Add(Leaf(tree, 0, 0));
        pLevel->Add(Leaf(tree, 16, 16));
        if (pParent != nullptr)
            pParent->Add(pLevel);
        else
            pTop = pLevel;
        pParent = pLevel;
    }
    return pTop;
}

// 35 controls: a row of a mixed column, a tile layout and a deep chain.
CControlUI* Section(Tree& tree)
{
    CHorizontalLayoutUI* pSection = Make<CHorizontalLayoutUI>(tree);
    pSection->SetFixedHeight(120);
    pSection->Add(MixedColumn(tree));
    pSection->Add(Tiles(tree));
    pSection->Add(DeepChain(tree));
    return pSection;
}

Tree BuildTree(int nTarget)
{
    Tree tree;
    tree.pRoot.reset(new CVerticalLayoutUI());
    tree.controls.push_back(tree.pRoot.get());
    CVerticalLayoutUI* pGroup = nullptr;
    for (int nSection = 0; static_cast<int>(tree.controls.size()) < nTarget; nSection++)
    {
        if (nSection % kSectionsPerGroup == 0)
        {
            pGroup = Make<CVerticalLayoutUI>(tree);
            pGroup->SetChildPadding(3);
            tree.pRoot->Add(pGroup);
        }
        pGroup->Add(Section(tree));
    }
    return tree;
}

RECT SizeAt(int i)
{
    return RECT{0, 0, 600 + (i * 37) % 1000, 400 + (i * 53) % 800};
}

struct PassTimes
{
    int nControls;
    double dLayout;    // seconds per layout pass
    double dReference; // seconds per pass of one plain SetPos per control
};

PassTimes Measure(int nTarget)
{
    Tree tree = BuildTree(nTarget);
    const std::vector<CControlUI*>& controls = tree.controls;
    CVerticalLayoutUI* pRoot = tree.pRoot.get();
    const BestTimes best = CompareBest(
        kRuns,
        [pRoot] {
            for (int i = 0; i < kSizes; i++)
                pRoot->SetPos(SizeAt(i));
        },
        [&controls] {
            for (int i = 0; i < kSizes; i++)
            {
                for (CControlUI* pControl : controls)
                    pControl->CControlUI::SetPos(pControl->GetPos());
            }
        });
    return PassTimes{static_cast<int>(controls.size()), best.subject / kSizes, best.reference / kSizes};
}

void PrintPass(const PassTimes& times)
{
    printf("%5d controls: layout pass %8.1f us (%5.1f ns per control), reference %7.1f us, ratio %.2fx\n",
           times.nControls, times.dLayout * 1e6, times.dLayout * 1e9 / times.nControls,
           times.dReference * 1e6, times.dLayout / times.dReference);
}

void PrintGrowth(const PassTimes& from, const PassTimes& to)
{
    printf("%5d -> %5d controls (x%.2f): layout pass x%.2f, reference x%.2f\n", from.nControls, to.nControls,
           static_cast<double>(to.nControls) / from.nControls, to.dLayout / from.dLayout,
           to.dReference / from.dReference);
}

} // namespace

int main()
{
    printf("Layout pass over %d sizes, best of %d runs\n", kSizes, kRuns);
    const PassTimes small = Measure(500);
    const PassTimes medium = Measure(2000);
    const PassTimes large = Measure(8000);
    PrintPass(small);
    PrintPass(medium);
    PrintPass(large);
    PrintGrowth(small, medium);
    PrintGrowth(medium, large);
    // Beyond the caches every control costs a few more memory reads.
    printf("A control object is %u bytes, a layout %u: 8,000 controls span about %.1f MB\n",
           static_cast<unsigned>(sizeof(CControlUI)), static_cast<unsigned>(sizeof(CVerticalLayoutUI)),
           large.nControls * static_cast<double>(sizeof(CControlUI)) / (1024.0 * 1024.0));
    return 0;
}
