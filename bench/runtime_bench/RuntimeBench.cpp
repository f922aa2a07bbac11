// Times a full-window frame of a generated tree of about 2,000 controls
// (nested containers, background colours, borders, images with corners and
// text) at 1280 x 1024: the manager's layout pass and its double-buffered
// paint, against plain GDI code that draws the same rectangles, borders,
// images and texts into the same kind of off-screen bitmap and copies it to
// the window. Also the repaint after one control's Invalidate, as a share of
// a full paint. Run it on the test display (cmake/wine-harness.sh start).

#include "veneer/Veneer.h"

#include "BenchTimer.h"
#include "PlainGdi.h"
#include "TestWindow.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

using namespace Veneer;

namespace
{

const int kWidth = 1280;
const int kHeight = 1024;
const int kPanelColumns = 8;
const int kPanelRows = 5;
const int kPanelWidth = kWidth / kPanelColumns;
const int kPanelHeight = kHeight / kPanelRows;
const int kCellColumns = 7;
const int kCells = 49;
const int kCellWidth = 20;
const int kCellHeight = 26;
const int kImageSize = 16;
const int kCorner = 4;
const int kFrames = 25;
const UINT kTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
const wchar_t kImageString[] = L"file='frame.png' corner='4,4,4,4'";

// A control that paints its text, as labels will.
class CBenchTextUI : public CControlUI
{
  public:
    void PaintText(HDC hDC) override
    {
        RECT rc = m_rcItem;
        CRenderEngine::DrawTextW(hDC, m_pManager->GetResources(), rc, m_sText, 0xFF000000, -1, kTextStyle,
                                 m_pManager->IsBackgroundTransparent());
    }
};

// The parts of a control's painting, to time them one kind at a time.
enum PaintPart
{
    PartOpaque = 0x1,
    PartTranslucent = 0x2,
    PartImage = 0x4,
    PartText = 0x8,
    PartBorder = 0x10,
    PartAll = 0x1F
};

// What one control draws, as the plain GDI side sees it.
struct DrawItem
{
    RECT rc;
    DWORD dwBkColor;
    DWORD dwBorderColor;
    int nBorderSize;
    bool bImage;
    bool bText;
};

// Panels and cells sit at fixed places inside their container.
void Place(CControlUI* pControl, int x, int y, int cx, int cy)
{
    pControl->SetFloat(true);
    pControl->SetFixedXY(SIZE{x, y});
    pControl->SetFixedWidth(cx);
    pControl->SetFixedHeight(cy);
}

// One cell of a panel; the cell's number picks what it shows.
CControlUI* MakeCell(int nCell)
{
    CControlUI* pCell = nCell % 7 == 2 || nCell % 7 == 6 ? new CBenchTextUI() : new CControlUI();
    switch (nCell % 7)
    {
    case 0:
        pCell->SetBkColor(0xFF4080C0);
        break;
    case 1:
        pCell->SetBkColor(0xFFC08040);
        pCell->SetBorderColor(0xFF202020);
        pCell->SetBorderSize(1);
        break;
    case 2:
    case 6:
        pCell->SetBkColor(0xFFFFFFE0);
        pCell->SetText(L"Ab");
        break;
    case 3:
        if (nCell == 24)
            pCell->SetBkImage(kImageString);
        else
            pCell->SetBkColor(0xFF80C040);
        break;
    case 4:
        pCell->SetBkColor(0x80FF0000);
        break;
    default:
        pCell->SetBkColor(0xFFA0A0A0);
        pCell->SetBorderColor(0xFF0000FF);
        pCell->SetBorderSize(2);
        break;
    }
    return pCell;
}

CContainerUI* BuildTree()
{
    CContainerUI* pRoot = new CContainerUI();
    pRoot->SetBkColor(0xFFF0F0F0);
    for (int nPanel = 0; nPanel < kPanelColumns * kPanelRows; nPanel++)
    {
        CContainerUI* pPanel = new CContainerUI();
        Place(pPanel, (nPanel % kPanelColumns) * kPanelWidth, (nPanel / kPanelColumns) * kPanelHeight,
              kPanelWidth - 4, kPanelHeight - 4);
        pPanel->SetBkColor(0xFFE0E8F0);
        pPanel->SetBorderColor(0xFF8090A0);
        pPanel->SetBorderSize(1);
        for (int nCell = 0; nCell < kCells; nCell++)
        {
            CControlUI* pCell = MakeCell(nCell);
            Place(pCell, 4 + (nCell % kCellColumns) * (kCellWidth + 2),
                  4 + (nCell / kCellColumns) * (kCellHeight + 2), kCellWidth, kCellHeight);
            pPanel->Add(pCell);
        }
        pRoot->Add(pPanel);
    }
    return pRoot;
}

// Every control in painting order: a container before its children.
void Flatten(CControlUI* pControl, std::vector<DrawItem>& items)
{
    DrawItem item{};
    item.rc = pControl->GetPos();
    item.dwBkColor = pControl->GetBkColor();
    item.dwBorderColor = pControl->GetBorderColor();
    item.nBorderSize = pControl->GetBorderSize();
    item.bImage = *pControl->GetBkImage() != 0;
    item.bText = !pControl->GetText().IsEmpty();
    items.push_back(item);
    CContainerUI* pContainer = static_cast<CContainerUI*>(pControl->GetInterface(L"Container"));
    for (int i = 0; pContainer != nullptr && i < pContainer->GetCount(); i++)
        Flatten(pContainer->GetItemAt(i), items);
}

// Plain GDI drawing of the same items, with brushes and pens made once and
// kept, as hand-written code would.
class CPlainPainter
{
  public:
    CPlainPainter(HDC hDC, HBITMAP hImage, HFONT hFont) : m_hDC(hDC), m_image(hDC), m_hFont(hFont)
    {
        m_hOldImage = ::SelectObject(m_image.Get(), hImage);
        DWORD* pBits = nullptr;
        m_hPixel = CDibSurface::CreateBitmap(1, 1, &pBits);
        *pBits = 0x80FF0000;
    }
    ~CPlainPainter()
    {
        ::SelectObject(m_image.Get(), m_hOldImage);
        for (auto& entry : m_brushes)
            ::DeleteObject(entry.second);
        for (auto& entry : m_pens)
            ::DeleteObject(entry.second);
        ::DeleteObject(m_hPixel);
    }

    void Paint(const std::vector<DrawItem>& items, int parts = PartAll)
    {
        CScopedSelect font(m_hDC, m_hFont);
        ::SetBkMode(m_hDC, TRANSPARENT);
        ::SetTextColor(m_hDC, RGB(0, 0, 0));
        for (const DrawItem& item : items)
            PaintItem(item, parts);
    }

  private:
    static COLORREF Ref(DWORD dw) { return RGB(dw >> 16 & 0xFF, dw >> 8 & 0xFF, dw & 0xFF); }

    HBRUSH Brush(DWORD dw)
    {
        HBRUSH& hBrush = m_brushes[dw];
        if (hBrush == nullptr)
            hBrush = ::CreateSolidBrush(Ref(dw));
        return hBrush;
    }

    HPEN Pen(DWORD dw, int nSize)
    {
        HPEN& hPen = m_pens[std::make_pair(dw, nSize)];
        if (hPen == nullptr)
            hPen = ::CreatePen(PS_INSIDEFRAME, nSize, Ref(dw));
        return hPen;
    }

    void PaintItem(const DrawItem& item, int parts)
    {
        const RECT& rc = item.rc;
        if ((item.dwBkColor >> 24) == 0xFF && (parts & PartOpaque) != 0)
        {
            ::FillRect(m_hDC, &rc, Brush(item.dwBkColor));
        }
        else if (item.dwBkColor != 0 && (item.dwBkColor >> 24) != 0xFF && (parts & PartTranslucent) != 0)
        {
            CScopedMemDC pixel(m_hDC);
            CScopedSelect selected(pixel.Get(), m_hPixel);
            BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            ::AlphaBlend(m_hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, pixel.Get(), 0, 0, 1,
                         1, bf);
        }
        if (item.bImage && (parts & PartImage) != 0)
            PlainNineSlice(m_hDC, m_image.Get(), rc, kImageSize, kCorner);
        if (item.bText && (parts & PartText) != 0)
        {
            RECT rcText = rc;
            ::DrawTextW(m_hDC, L"Ab", -1, &rcText, kTextStyle | DT_NOPREFIX);
        }
        if (item.nBorderSize > 0 && (parts & PartBorder) != 0)
        {
            CScopedSelect pen(m_hDC, Pen(item.dwBorderColor, item.nBorderSize));
            CScopedSelect brush(m_hDC, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(m_hDC, rc.left, rc.top, rc.right, rc.bottom);
        }
    }

    HDC m_hDC;
    CScopedMemDC m_image;
    HGDIOBJ m_hOldImage = nullptr;
    HFONT m_hFont;
    HBITMAP m_hPixel = nullptr;
    std::map<DWORD, HBRUSH> m_brushes;
    std::map<std::pair<DWORD, int>, HPEN> m_pens;
};

// The render engine's calls for the same parts of the same items, as the
// controls make them, without the tree around them.
void PaintWithEngine(HDC hDC, CPaintManagerUI* pManager, const std::vector<DrawItem>& items, int parts)
{
    const RECT rcAll{0, 0, kWidth, kHeight};
    for (const DrawItem& item : items)
    {
        RECT rc = item.rc;
        const bool bOpaque = (item.dwBkColor >> 24) == 0xFF;
        if (item.dwBkColor != 0 && (parts & (bOpaque ? PartOpaque : PartTranslucent)) != 0)
            CRenderEngine::DrawColor(hDC, rc, item.dwBkColor);
        if (item.bImage && (parts & PartImage) != 0)
            CRenderEngine::DrawImageString(hDC, pManager->GetResources(), rc, rcAll, kImageString);
        if (item.bText && (parts & PartText) != 0)
            CRenderEngine::DrawTextW(hDC, pManager->GetResources(), rc, L"Ab", 0xFF000000, -1, kTextStyle,
                                     false);
        if (item.nBorderSize > 0 && (parts & PartBorder) != 0)
            CRenderEngine::DrawRect(hDC, rc, item.nBorderSize, item.dwBorderColor);
    }
}

HBITMAP MakeFrameImage()
{
    return MakeFramedImage(kImageSize, kCorner, 0xFF303060, 0xFFC0C0FF);
}

} // namespace

void PrintPair(const char* pszSubject, const BestTimes& times)
{
    printf("%-40s %9.2f ms %9.2f ms %7.2fx\n", pszSubject, times.subject * 1000.0, times.reference * 1000.0,
           times.subject / times.reference);
}

int main()
{
    CPaintManagerUI pm;
    CTestWindow window;
    if (!window.Create(&pm, kWidth, kHeight))
    {
        printf("no window: is the test display running (cmake/wine-harness.sh start)?\n");
        return 1;
    }
    HWND hWnd = window.GetHWND();
    pm.AddImage(L"frame.png", MakeFrameImage(), kImageSize, kImageSize, false);
    CContainerUI* pRoot = BuildTree();
    pm.AttachDialog(pRoot);
    PumpUntil([hWnd] { return !::GetUpdateRect(hWnd, nullptr, FALSE); });
    int nControls = 0;
    pRoot->FindControl(CPaintManagerUI::__FindControlFromCount, &nControls, FindAll);

    // The manager's frames: a full layout and paint, a paint alone, and the
    // repaint of one cell in the middle of the window.
    auto layoutAndPaint = [&] {
        pRoot->NeedUpdate();
        ::UpdateWindow(hWnd);
    };
    auto paint = [&] {
        ::InvalidateRect(hWnd, nullptr, FALSE);
        ::UpdateWindow(hWnd);
    };
    CControlUI* pCell = static_cast<CContainerUI*>(pRoot->GetItemAt(20))->GetItemAt(24);
    auto oneControl = [&] {
        pCell->Invalidate();
        ::UpdateWindow(hWnd);
    };

    // Plain GDI: the same items into a compatible bitmap of the window's
    // size, copied to the window.
    std::vector<DrawItem> items;
    Flatten(pRoot, items);
    CScopedGdiObject<HBITMAP> image(MakeFrameImage());
    HDC hWindowDC = ::GetDC(hWnd);
    CScopedMemDC offscreen(hWindowDC);
    CScopedGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(hWindowDC, kWidth, kHeight));
    CScopedSelect selected(offscreen.Get(), bitmap.Get());
    CPlainPainter painter(offscreen.Get(), image.Get(), pm.GetFont(-1));
    auto plain = [&] {
        painter.Paint(items);
        ::BitBlt(hWindowDC, 0, 0, kWidth, kHeight, offscreen.Get(), 0, 0, SRCCOPY);
    };
    auto engineAlone = [&] {
        PaintWithEngine(offscreen.Get(), &pm, items, PartAll);
        ::BitBlt(hWindowDC, 0, 0, kWidth, kHeight, offscreen.Get(), 0, 0, SRCCOPY);
    };

    printf("tree of %d controls, %d x %d; best of %d frames, the two sides in alternation\n", nControls,
           kWidth, kHeight, kFrames);
    printf("%-40s %12s %12s %8s\n", "", "manager", "reference", "ratio");
    PrintPair("paint / plain GDI", CompareBest(kFrames, paint, plain));
    PrintPair("layout and paint / plain GDI", CompareBest(kFrames, layoutAndPaint, plain));
    const BestTimes repaint = CompareBest(kFrames, oneControl, paint);
    PrintPair("one Invalidate / full paint", repaint);
    printf("%-40s %9.2f%%\n", "  (as a share of a full paint)", 100.0 * repaint.subject / repaint.reference);

    printf("\nwhere the time goes: the engine's calls for the same items, without the tree\n");
    PrintPair("paint / engine calls alone", CompareBest(kFrames, paint, engineAlone));
    const struct
    {
        const char* pszName;
        int part;
    } parts[] = {{"opaque backgrounds / plain", PartOpaque},
                 {"translucent backgrounds / plain", PartTranslucent},
                 {"images with corners / plain", PartImage},
                 {"texts / plain", PartText},
                 {"borders / plain", PartBorder}};
    for (const auto& part : parts)
    {
        PrintPair(part.pszName, CompareBest(
                                    kFrames, [&] { PaintWithEngine(offscreen.Get(), &pm, items, part.part); },
                                    [&] { painter.Paint(items, part.part); }));
    }
    ::ReleaseDC(hWnd, hWindowDC);
    window.Destroy();
    return 0;
}
