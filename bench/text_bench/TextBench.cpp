// Times the text controls and their drawing against plain GDI:
// - DrawHtmlText of a 200-character text with a dozen tags, against GDI's
//   DrawTextW of the same visible text in the same font and rectangle;
// - a window of 2,000 labels and buttons (nine-sliced button images) laid
//   out and painted, against plain GDI code drawing the same texts and
//   image slices into the same kind of off-screen bitmap;
// - what GDI+ start-up costs 2,000 labels when each starts and shuts GDI+
//   down itself, against the one start that the labels share.
// Each figure is printed beside its target. Run it on the test display
// (cmake/wine-harness.sh start).

#include "veneer/control/ButtonUI.h"
#include "veneer/control/HorizontalLayoutUI.h"
#include "veneer/control/LabelUI.h"
#include "veneer/control/VerticalLayoutUI.h"
#include "veneer/core/GdiHolders.h"
#include "veneer/render/DibSurface.h"
#include "veneer/render/RenderEngine.h"

#include "BenchTimer.h"
#include "PlainGdi.h"
#include "TestWindow.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

using namespace Veneer;

namespace
{

const int kFrames = 25;
const int kWidth = 1280;
const int kHeight = 1024;
const int kColumns = 40;
const int kRows = 50;
const int kCellWidth = kWidth / kColumns;
const int kCellHeight = kHeight / kRows;
const int kImageSize = 16;
const int kCorner = 4;
const int kLabels = 2000;
const UINT kButtonStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
const UINT kLabelStyle = DT_SINGLELINE | DT_VCENTER;
const wchar_t kButtonImage[] = L"file='button.png' corner='4,4,4,4'";

// 200 visible characters, twelve tags.
const wchar_t kMarkup[] =
    L"The <b>quick</b> brown fox jumps over the lazy dog while the <c #C03020>red</c> hen watches from the "
    L"barn; <i>meanwhile</i> a <u>small</u> cat naps in the warm sun and the farmer <b>counts</b> his sheep "
    L"twice.";
const wchar_t kVisible[] =
    L"The quick brown fox jumps over the lazy dog while the red hen watches from the "
    L"barn; meanwhile a small cat naps in the warm sun and the farmer counts his sheep "
    L"twice.";

HBITMAP MakeButtonImage()
{
    return MakeFramedImage(kImageSize, kCorner, 0xFF305080, 0xFFD0E0F0);
}

void PrintPair(const char* pszSubject, const BestTimes& times, double target)
{
    const double ratio = times.subject / times.reference;
    printf("%-44s %9.3f ms %9.3f ms %7.2fx   target <= %.1fx %s\n", pszSubject, times.subject * 1000.0,
           times.reference * 1000.0, ratio, target, ratio <= target ? "met" : "NOT MET");
}

// Part 1: one inline-markup text against GDI's own drawing of its letters.
void CompareHtmlText(CResourceTables& resources)
{
    CDibSurface surface;
    surface.Create(nullptr, 500, 200);
    HDC hDC = surface.GetDC();
    const RECT rcText{10, 10, 490, 190};
    auto html = [&] {
        RECT rc = rcText;
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, &resources, rc, kMarkup, 0xFF000000, nullptr, nullptr, nLinks,
                                    DT_WORDBREAK, POINT{-1, -1}, false);
    };
    HFONT hFont = resources.GetFont(-1);
    auto plain = [&] {
        CScopedSelect font(hDC, hFont);
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, RGB(0, 0, 0));
        RECT rc = rcText;
        ::DrawTextW(hDC, kVisible, -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
    };
    html(); // the bold, italic and underlined fonts are made once
    PrintPair("DrawHtmlText / DrawTextW (200 chars, 12 tags)", CompareBest(kFrames * 20, html, plain), 2.0);
}

// Part 2: 2,000 labels and buttons.
CControlUI* MakeCell(int nCell)
{
    wchar_t szText[16];
    swprintf(szText, 16, L"L%d", nCell);
    if (nCell % 2 == 0)
    {
        CLabelUI* pLabel = new CLabelUI;
        pLabel->SetText(szText);
        return pLabel;
    }
    CButtonUI* pButton = new CButtonUI;
    pButton->SetText(szText);
    pButton->SetNormalImage(kButtonImage);
    return pButton;
}

CVerticalLayoutUI* BuildTree()
{
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    pRoot->SetBkColor(0xFFF0F0F0);
    for (int row = 0; row < kRows; row++)
    {
        CHorizontalLayoutUI* pRow = new CHorizontalLayoutUI;
        pRow->SetFixedHeight(kCellHeight);
        for (int col = 0; col < kColumns; col++)
        {
            CControlUI* pCell = MakeCell(row * kColumns + col);
            pCell->SetFixedWidth(kCellWidth);
            pRow->Add(pCell);
        }
        pRoot->Add(pRow);
    }
    return pRoot;
}

// The same drawing by hand: the background, each label's text, each
// button's nine slices and centred text.
class CPlainCells
{
  public:
    CPlainCells(HDC hDC, HBITMAP hImage, HFONT hFont)
        : m_hDC(hDC), m_image(hDC), m_hOldImage(::SelectObject(m_image.Get(), hImage)), m_hFont(hFont),
          m_hBackground(::CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0)))
    {
    }
    ~CPlainCells()
    {
        ::SelectObject(m_image.Get(), m_hOldImage);
        ::DeleteObject(m_hBackground);
    }

    void Paint()
    {
        const RECT rcAll{0, 0, kWidth, kHeight};
        ::FillRect(m_hDC, &rcAll, m_hBackground);
        CScopedSelect font(m_hDC, m_hFont);
        ::SetBkMode(m_hDC, TRANSPARENT);
        ::SetTextColor(m_hDC, RGB(0, 0, 0));
        wchar_t szText[16];
        for (int nCell = 0; nCell < kLabels; nCell++)
        {
            RECT rc{(nCell % kColumns) * kCellWidth, (nCell / kColumns) * kCellHeight, 0, 0};
            rc.right = rc.left + kCellWidth;
            rc.bottom = rc.top + kCellHeight;
            swprintf(szText, 16, L"L%d", nCell);
            if (nCell % 2 == 0)
            {
                ::DrawTextW(m_hDC, szText, -1, &rc, kLabelStyle | DT_NOPREFIX);
                continue;
            }
            PlainNineSlice(m_hDC, m_image.Get(), rc, kImageSize, kCorner);
            ::DrawTextW(m_hDC, szText, -1, &rc, kButtonStyle | DT_NOPREFIX);
        }
    }

  private:
    HDC m_hDC;
    CScopedMemDC m_image;
    HGDIOBJ m_hOldImage;
    HFONT m_hFont;
    HBRUSH m_hBackground;
};

int CompareLabelTree()
{
    CPaintManagerUI pm;
    CTestWindow window;
    if (!window.Create(&pm, kWidth, kHeight))
    {
        printf("no window: is the test display running (cmake/wine-harness.sh start)?\n");
        return 1;
    }
    HWND hWnd = window.GetHWND();
    pm.GetResources()->AddImage(L"button.png", MakeButtonImage(), kImageSize, kImageSize, false);
    CVerticalLayoutUI* pRoot = BuildTree();
    pm.AttachDialog(pRoot);
    PumpUntil([hWnd] { return !::GetUpdateRect(hWnd, nullptr, FALSE); });
    auto layoutAndPaint = [&] {
        pRoot->NeedUpdate();
        ::UpdateWindow(hWnd);
    };

    CScopedGdiObject<HBITMAP> image(MakeButtonImage());
    HDC hWindowDC = ::GetDC(hWnd);
    CScopedMemDC offscreen(hWindowDC);
    CScopedGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(hWindowDC, kWidth, kHeight));
    CScopedSelect selected(offscreen.Get(), bitmap.Get());
    CPlainCells cells(offscreen.Get(), image.Get(), pm.GetResources()->GetFont(-1));
    auto plain = [&] {
        cells.Paint();
        ::BitBlt(hWindowDC, 0, 0, kWidth, kHeight, offscreen.Get(), 0, 0, SRCCOPY);
    };
    PrintPair("2,000 labels and buttons / plain GDI", CompareBest(kFrames, layoutAndPaint, plain), 1.5);
    ::ReleaseDC(hWnd, hWindowDC);
    window.Destroy();
    return 0;
}

// Part 3: 2,000 labels alive at once, each starting and shutting GDI+ down
// itself as each label once did, against the same labels sharing one start.
// Both begin with GDI+ not running, so each side pays one cold start.
void CompareGdiplusStartup()
{
    const TGdiplusApi* pApi = nullptr;
    {
        const CGdiplusSession loader; // loads the DLL outside the timing
        pApi = loader.GetApi();
    }
    if (pApi == nullptr || CGdiplusSession::IsRunning())
    {
        printf("GDI+ could not be started, or runs already\n");
        return;
    }
    auto perLabel = [&] {
        std::vector<ULONG_PTR> tokens(kLabels);
        const Gdiplus::GdiplusStartupInput input;
        for (ULONG_PTR& token : tokens)
            pApi->pfnStartup(&token, &input, nullptr);
        for (ULONG_PTR token : tokens)
            pApi->pfnShutdown(token);
    };
    auto shared = [&] {
        std::vector<std::unique_ptr<CLabelUI>> labels;
        labels.reserve(kLabels);
        for (int i = 0; i < kLabels; i++)
            labels.emplace_back(new CLabelUI);
    };
    auto once = [&] {
        ULONG_PTR token = 0;
        const Gdiplus::GdiplusStartupInput input;
        pApi->pfnStartup(&token, &input, nullptr);
        pApi->pfnShutdown(token);
    };
    const BestTimes times = CompareBest(5, perLabel, shared);
    printf("%-44s %9.3f ms %9.3f ms %7.2fx   (one cold start and shut-down: %.3f ms)\n",
           "GDI+ start per label / shared, 2,000 labels", times.subject * 1000.0, times.reference * 1000.0,
           times.subject / times.reference, Seconds(once) * 1000.0);
}

} // namespace

int main()
{
    printf("%-44s %12s %12s %8s\n", "", "subject", "reference", "ratio");
    {
        CResourceTables resources;
        CompareHtmlText(resources);
    }
    const int result = CompareLabelTree();
    CompareGdiplusStartup();
    return result;
}
