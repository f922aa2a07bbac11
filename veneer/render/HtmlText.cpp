// Inline-markup text: single-letter tags for bold, italic, underline, font,
// colour, links, inline images, paragraph spacing, raw text, selection, line
// breaks and positioning, laid out line by line and drawn (or measured).
#include "veneer/render/RenderEngine.h"

#include "veneer/render/ArgbColor.h"
#include "veneer/render/HtmlTagReader.h"
#include "veneer/render/ImageItems.h"
#include "veneer/render/LayeredText.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace Veneer
{

namespace
{

// Markup comes from skins and from whatever an application puts into a
// label, so every quantity it controls is bounded. Deeper tag levels than
// kMaxNesting are counted (their closing tags stay balanced) but change
// nothing; a line holds at most kMaxPiecesPerLine runs and images; one call
// adds at most kMaxNewFontsPerCall fonts to the font table; numbers in tags
// are cut to kMaxTagNumber and positions to kPositionLimit, so that no sum
// overflows.
const int kMaxNesting = 64;
const int kMaxPiecesPerLine = 128;
const int kMaxNewFontsPerCall = 16;
const int kMaxTagNumber = 30000;
const int kMaxFontSize = 1000;
const int kDefaultFaceSize = 10;
const long long kPositionLimit = 1 << 29;

// The width in which the alignment pre-pass measures single-line text.
const int kUnboundedWidth = 9999;
const UINT kAlignmentStyles = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;

const wchar_t kEllipsis[] = L"...";
const int kEllipsisLength = 3;

int Saturate(long long value)
{
    return static_cast<int>(std::clamp(value, -kPositionLimit, kPositionLimit));
}

int ReadTagNumber(LPCWSTR p, int nMin)
{
    return static_cast<int>(std::clamp<long>(wcstol(p, nullptr, 10), nMin, kMaxTagNumber));
}

bool IsAsciiLetter(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

bool IsLineBreak(wchar_t ch)
{
    return ch == L'\n' || ch == L'\r';
}

int FontLineHeight(const TFontInfo* pFont)
{
    return pFont->tm.tmHeight + pFont->tm.tmExternalLeading;
}

// A stack of tag levels that keeps kMaxNesting of them. Levels pushed beyond
// that are only counted, and their pops take the count down first, so that
// opening and closing tags stay paired however deep the markup goes.
template <typename T> class CBoundedStack
{
  public:
    void Push(T value)
    {
        if (m_nCount < kMaxNesting)
            m_items[m_nCount++] = value;
        else
            m_nOverflow++;
    }
    void Pop()
    {
        if (m_nOverflow > 0)
            m_nOverflow--;
        else if (m_nCount > 0)
            m_nCount--;
    }
    T Top(T fallback) const { return m_nCount > 0 ? m_items[m_nCount - 1] : fallback; }

  private:
    T m_items[kMaxNesting];
    int m_nCount = 0;
    int m_nOverflow = 0;
};

// What a line holds until it is drawn: the line's height is known only at
// its end, and every piece sits on the line's bottom.
enum class PieceKind
{
    Text,
    Image,
};

struct TLinePiece
{
    PieceKind eKind;
    int x;
    int cx;
    // Text: the characters, their font and colour, and the selection.
    LPCWSTR pText;
    int nLength;
    const TFontInfo* pFont;
    DWORD dwColor;
    bool bSelected;
    // Image: the bitmap and the frame of it to show.
    const TImageInfo* pImage;
    RECT rcSource;
};

// What a tag does to the line being laid out.
enum class TagOutcome
{
    Continue,      // the line goes on after the tag
    EndLineBefore, // the line ends; the tag is read again on the next line
    EndLineAfter,  // the line ends after the tag
};

// An inline image as its tag names it.
struct TImageTag
{
    CUiString sName;
    CUiString sType;
    int nCount = 1;
    int nIndex = 0;
};

// Lays an inline-markup text out line by line into a rectangle and, unless
// it only measures, draws each line when it is complete. The working state:
// three tag stacks (fonts, colours, paragraph extras), the pen, the line
// being filled, the link being read and the flags that tags toggle.
class CHtmlTextLayout
{
  public:
    // Text is laid out and drawn in hDC, images are drawn in hImageDC.
    CHtmlTextLayout(HDC hDC, HDC hImageDC, CResourceTables* pResources, const RECT& rc, LPCWSTR pstrText,
                    DWORD dwTextColor, UINT uStyle)
        : m_hDC(hDC), m_hImageDC(hImageDC), m_pResources(pResources), m_rc(ClampRect(rc)), m_uStyle(uStyle),
          m_bDraw((uStyle & DT_CALCRECT) == 0), m_dwTextColor(dwTextColor), m_pText(pstrText), m_p(pstrText),
          m_pDefaultFont(pResources->GetDefaultFontInfo()), m_x(m_rc.left), m_y(m_rc.top), m_xMax(m_rc.left)
    {
    }
    CHtmlTextLayout(const CHtmlTextLayout&) = delete;
    CHtmlTextLayout& operator=(const CHtmlTextLayout&) = delete;

    void SetLinks(RECT* prcLinks, CUiString* psLinks, int nCapacity)
    {
        m_prcLinks = prcLinks;
        m_psLinks = psLinks;
        m_nLinkCapacity = nCapacity;
    }
    void SetHoverTarget(const CUiString* psHover) { m_psHover = psHover; }

    void Run();

    int GetLinkCount() const { return std::min(m_nLink, m_nLinkCapacity); }
    int GetBottom() const { return m_y; }
    int GetRightmost() const { return m_xMax; }

  private:
    static RECT ClampRect(const RECT& rc)
    {
        return RECT{Saturate(rc.left), Saturate(rc.top), Saturate(rc.right), Saturate(rc.bottom)};
    }

    // Lines.
    void BeginLine();
    void LayoutLine();
    void FinishLine();
    void DrawLine(int dx);
    int LineOffset() const;
    bool AtLineStart() const { return m_x == m_rc.left; }
    bool LineBreakEndsLine();

    // Text runs.
    bool PlaceRun();
    int RunLength(int nMax) const;
    int KeepOfOverflow(int nRun, int nFit, bool bAtStart) const;
    int PlaceWithEllipsis(int nKeep, int cxAvailable);
    void AddText(LPCWSTR pText, int nLength, int cx);
    bool UsesEllipsis() const;
    int TextWidth(LPCWSTR pText, int nLength);

    // Tags.
    TagOutcome ApplyTag(const THtmlTag& tag);
    TagOutcome ApplyOpeningTag(const THtmlTag& tag);
    void ApplyClosingTag(const THtmlTag& tag);
    void OpenLink(const THtmlTag& tag);
    void CloseLinkRect();
    TagOutcome PlaceImage(const THtmlTag& tag);
    bool ReadImageTag(const THtmlTag& tag, TImageTag& image);
    bool HasImageItemsFrom(LPCWSTR p);

    // Fonts.
    const TFontInfo* CurrentFont() const { return m_fonts.Top(m_pDefaultFont); }
    void PushFont(const TFontInfo* pFont);
    void PopFont();
    const TFontInfo* FindOrAddFont(LPCWSTR pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic);
    const TFontInfo* FontOfTag(const THtmlTag& tag);
    void SelectFont(const TFontInfo* pFont);
    void RaiseLineHeight(const TFontInfo* pFont);

    HDC m_hDC;
    HDC m_hImageDC;
    CResourceTables* m_pResources;
    const RECT m_rc;
    const UINT m_uStyle;
    const bool m_bDraw;
    const DWORD m_dwTextColor;
    LPCWSTR m_pText;
    LPCWSTR m_p; // the next character to lay out
    CHtmlTagReader m_reader;
    LPCWSTR m_pLastImageItem = nullptr; // the last "file='" or "res='" of the text
    bool m_bImageItemsSearched = false;

    // Tag stacks and flags.
    const TFontInfo* m_pDefaultFont;
    CBoundedStack<const TFontInfo*> m_fonts;
    CBoundedStack<DWORD> m_colors;
    CBoundedStack<int> m_extras;
    bool m_bRaw = false;
    bool m_bSelected = false;
    int m_nFontsAdded = 0;
    HFONT m_hSelectedFont = nullptr;

    // The pen and the line being filled.
    int m_x;
    int m_y;
    int m_cyLine = 0;
    int m_xMax;
    wchar_t m_chLastPlaced = L' ';
    TLinePiece m_pieces[kMaxPiecesPerLine];
    int m_nPieces = 0;

    // Links: the slots given, the link being read, the first slot of the line.
    RECT* m_prcLinks = nullptr;
    CUiString* m_psLinks = nullptr;
    int m_nLinkCapacity = 0;
    const CUiString* m_psHover = nullptr;
    bool m_bInLink = false;
    int m_nLink = 0;
    int m_xLinkStart = 0;
    int m_nLineFirstLink = 0;
};

void CHtmlTextLayout::Run()
{
    SelectFont(CurrentFont());
    const bool bSingleLine = (m_uStyle & DT_SINGLELINE) != 0;
    while (*m_p != 0)
    {
        [[maybe_unused]] LPCWSTR pLineStart = m_p;
        BeginLine();
        LayoutLine();
        FinishLine();
        // A line that took nothing stopped before a tag or run that is read
        // again at the start of the next line, where it always fits.
        assert(m_p != pLineStart || !AtLineStart());
        if (bSingleLine || (m_bDraw && m_y >= m_rc.bottom))
            break;
    }
}

// Step 1 of a line: the pen at the left edge, the line as high as the
// current font and paragraph extra; a link still open continues here.
void CHtmlTextLayout::BeginLine()
{
    m_x = m_rc.left;
    m_cyLine = FontLineHeight(CurrentFont()) + m_extras.Top(0);
    m_nPieces = 0;
    m_chLastPlaced = L' ';
    m_nLineFirstLink = m_nLink;
    m_xLinkStart = m_rc.left;
}

// Step 2: runs, tags and images until something ends the line.
void CHtmlTextLayout::LayoutLine()
{
    while (*m_p != 0 && m_x < m_rc.right && m_nPieces < kMaxPiecesPerLine)
    {
        if (IsLineBreak(*m_p))
        {
            if (LineBreakEndsLine())
                return;
            continue;
        }
        if (CHtmlTagReader::IsOpening(*m_p))
        {
            const wchar_t chEscaped = m_bRaw ? 0 : CHtmlTagReader::ReadEscape(m_p);
            THtmlTag tag{};
            if (chEscaped != 0)
            {
                // The escaped character is a run of its own, read from the
                // text itself (it stands between the brackets).
                AddText(m_p + 1, 1, TextWidth(m_p + 1, 1));
                m_p += CHtmlTagReader::kEscapeLength;
                continue;
            }
            // Raw text ends only at its closing tag; every other bracket in
            // it is text.
            if (m_reader.ReadTag(m_p, tag) && (!m_bRaw || (tag.bClosing && tag.chName == L'r')))
            {
                const TagOutcome outcome = ApplyTag(tag);
                if (outcome != TagOutcome::EndLineBefore)
                    m_p = tag.pNext;
                if (outcome != TagOutcome::Continue)
                    return;
                continue;
            }
        }
        if (!PlaceRun())
            return;
    }
}

// A line break character ("\r\n" counts as one) ends the line; single-line
// text ignores it, as it ignores the line-break tag.
bool CHtmlTextLayout::LineBreakEndsLine()
{
    if (m_p[0] == L'\r' && m_p[1] == L'\n')
        m_p++;
    m_p++;
    return (m_uStyle & DT_SINGLELINE) == 0;
}

// Step 3: the line's links get its bottom, the line is aligned and drawn,
// and the pen moves below it.
void CHtmlTextLayout::FinishLine()
{
    if (m_bInLink && std::min(m_x, static_cast<int>(m_rc.right)) > m_xLinkStart)
    {
        // A link that wraps: the part on this line is a rectangle of its own,
        // and the next slot, when there is one, carries the same target for
        // the part on the next line. When no slot remains, the rest of the
        // link is drawn as a link but cannot be clicked. (A link with nothing
        // on this line simply begins on the next.)
        CloseLinkRect();
        if (*m_p != 0 && m_nLink < m_nLinkCapacity)
            m_psLinks[m_nLink] = m_psLinks[m_nLink - 1];
    }
    const int dx = LineOffset();
    for (int i = m_nLineFirstLink; i < GetLinkCount(); i++)
    {
        m_prcLinks[i].bottom = m_y + m_cyLine;
        ::OffsetRect(&m_prcLinks[i], dx, 0);
    }
    if (m_bDraw)
        DrawLine(dx);
    m_xMax = std::max(m_xMax, m_x);
    m_y = Saturate(static_cast<long long>(m_y) + m_cyLine);
}

// Multi-line text is centred or right-aligned line by line, as a whole, so
// that the runs of one line stay together.
int CHtmlTextLayout::LineOffset() const
{
    if (!m_bDraw || (m_uStyle & DT_SINGLELINE) != 0 || (m_uStyle & (DT_CENTER | DT_RIGHT)) == 0)
        return 0;
    const int cxSpare = m_rc.right - std::min(m_x, static_cast<int>(m_rc.right));
    return (m_uStyle & DT_CENTER) != 0 ? cxSpare / 2 : cxSpare;
}

// Every piece sits on the line's bottom: text by its font's height, images
// by their own (raised to the middle when lower than the line). Pieces never
// overlap, so the text is drawn font by font, beginning with the font that
// is selected now: selecting a font costs more than drawing a short run.
void CHtmlTextLayout::DrawLine(int dx)
{
    const int yBottom = m_y + m_cyLine;
    bool bDrawn[kMaxPiecesPerLine] = {};
    int nTextLeft = 0;
    const TFontInfo* pFont = nullptr;
    for (int i = 0; i < m_nPieces; i++)
    {
        const TLinePiece& piece = m_pieces[i];
        if (piece.eKind == PieceKind::Text)
        {
            nTextLeft++;
            if (pFont == nullptr || piece.pFont->hFont == m_hSelectedFont)
                pFont = piece.pFont;
            continue;
        }
        const int cy = piece.rcSource.bottom - piece.rcSource.top;
        RECT rcImage{piece.x + dx, yBottom - cy, piece.x + dx + piece.cx, yBottom};
        if (cy < m_cyLine)
            ::OffsetRect(&rcImage, 0, -(m_cyLine - cy) / 2);
        CRenderEngine::DrawImage(m_hImageDC, piece.pImage->hBitmap, rcImage, rcImage, piece.rcSource, RECT{},
                                 piece.pImage->alphaChannel);
    }
    COLORREF crText = CLR_INVALID;
    int nBkMode = 0;
    while (nTextLeft > 0)
    {
        SelectFont(pFont);
        const TFontInfo* pNextFont = nullptr;
        for (int i = 0; i < m_nPieces; i++)
        {
            const TLinePiece& piece = m_pieces[i];
            if (piece.eKind != PieceKind::Text || bDrawn[i])
                continue;
            if (piece.pFont != pFont)
            {
                pNextFont = pNextFont != nullptr ? pNextFont : piece.pFont;
                continue;
            }
            const COLORREF crPiece = ArgbToColorRef(piece.dwColor);
            if (crPiece != crText)
                crText = ::SetTextColor(m_hDC, crPiece) == CLR_INVALID ? CLR_INVALID : crPiece;
            const int nPieceBkMode = piece.bSelected ? OPAQUE : TRANSPARENT;
            if (nPieceBkMode != nBkMode)
                nBkMode = ::SetBkMode(m_hDC, nPieceBkMode) != 0 ? nPieceBkMode : 0;
            ::TextOutW(m_hDC, piece.x + dx, yBottom - FontLineHeight(pFont), piece.pText, piece.nLength);
            bDrawn[i] = true;
            nTextLeft--;
        }
        pFont = pNextFont;
    }
}

// A text run: characters up to the next bracket or line break, the first
// one always included (a bracket that opens no tag is text). Only as many
// are looked at as could fit, so that a long text is not measured again for
// every line it fills.
bool CHtmlTextLayout::PlaceRun()
{
    const bool bAtStart = AtLineStart();
    const int cxAvailable = m_rc.right - m_x; // above 0: the line ends at the right edge
    const int nRun = RunLength(cxAvailable + 2);
    SelectFont(CurrentFont());
    int nFit = 0;
    SIZE size{};
    ::GetTextExtentExPointW(m_hDC, m_p, nRun, cxAvailable, &nFit, nullptr, &size);
    if (nFit >= nRun)
    {
        AddText(m_p, nRun, size.cx);
        m_p += nRun;
        return true;
    }
    // The run passes the right edge: what is kept of it ends the line.
    const int nKeep = KeepOfOverflow(nRun, nFit, bAtStart);
    if (UsesEllipsis())
    {
        m_p += PlaceWithEllipsis(nKeep, cxAvailable);
        return false;
    }
    if (nKeep > 0)
        AddText(m_p, nKeep, TextWidth(m_p, nKeep));
    m_p += nKeep;
    // Blanks where a line wraps belong to neither line.
    if ((m_uStyle & DT_WORDBREAK) != 0)
    {
        while (*m_p == L' ')
            m_p++;
    }
    return false;
}

int CHtmlTextLayout::RunLength(int nMax) const
{
    int n = 1;
    while (n < nMax && m_p[n] != 0 && !CHtmlTagReader::IsOpening(m_p[n]) && !IsLineBreak(m_p[n]))
        n++;
    // Never between the two halves of a surrogate pair.
    if (IS_HIGH_SURROGATE(m_p[n - 1]) && IS_LOW_SURROGATE(m_p[n]))
        n++;
    return n;
}

// How much of an overflowing run stays on this line: what fits, at least
// one character at the line's start, cut back to the last word boundary
// (after any character that is not an ASCII letter) when words wrap. A run
// that begins a word and has no boundary moves to the next line whole.
int CHtmlTextLayout::KeepOfOverflow(int nRun, int nFit, bool bAtStart) const
{
    int nKeep = nFit;
    if (nKeep == 0 && bAtStart)
        nKeep = 1;
    if (nKeep > 0 && nKeep < nRun && IS_HIGH_SURROGATE(m_p[nKeep - 1]) && IS_LOW_SURROGATE(m_p[nKeep]))
        nKeep += nKeep == 1 ? 1 : -1;
    if ((m_uStyle & DT_WORDBREAK) == 0 || UsesEllipsis())
        return nKeep;
    // The cut itself is a boundary when a blank follows it.
    if (nKeep > 0 && m_p[nKeep] == L' ')
        return nKeep;
    for (int nBoundary = nKeep; nBoundary > 0; nBoundary--)
    {
        if (!IsAsciiLetter(m_p[nBoundary - 1]))
            return nBoundary;
    }
    return bAtStart || IsAsciiLetter(m_chLastPlaced) ? nKeep : 0;
}

// Single-line text, or text that does not wrap words, ends an overflowing
// run with "..." inside the right edge, and the pen jumps to the edge.
bool CHtmlTextLayout::UsesEllipsis() const
{
    return (m_uStyle & DT_END_ELLIPSIS) != 0 &&
           ((m_uStyle & DT_SINGLELINE) != 0 || (m_uStyle & DT_WORDBREAK) == 0);
}

int CHtmlTextLayout::PlaceWithEllipsis(int nKeep, int cxAvailable)
{
    const int cxEllipsis = TextWidth(kEllipsis, kEllipsisLength);
    int nShown = 0;
    SIZE size{};
    ::GetTextExtentExPointW(m_hDC, m_p, nKeep, std::max(0, cxAvailable - cxEllipsis), &nShown, nullptr,
                            &size);
    if (nShown > 0 && IS_HIGH_SURROGATE(m_p[nShown - 1]))
        nShown--;
    if (nShown > 0)
        AddText(m_p, nShown, TextWidth(m_p, nShown));
    AddText(kEllipsis, kEllipsisLength, cxEllipsis);
    m_x = m_rc.right;
    return nKeep;
}

int CHtmlTextLayout::TextWidth(LPCWSTR pText, int nLength)
{
    SelectFont(CurrentFont());
    SIZE size{};
    ::GetTextExtentPoint32W(m_hDC, pText, nLength, &size);
    return size.cx;
}

void CHtmlTextLayout::AddText(LPCWSTR pText, int nLength, int cx)
{
    if (m_nPieces == kMaxPiecesPerLine)
        return;
    TLinePiece& piece = m_pieces[m_nPieces++];
    piece.eKind = PieceKind::Text;
    piece.x = m_x;
    piece.cx = cx;
    piece.pText = pText;
    piece.nLength = nLength;
    piece.pFont = CurrentFont();
    piece.dwColor = m_colors.Top(m_dwTextColor);
    piece.bSelected = m_bSelected;
    m_x = Saturate(static_cast<long long>(m_x) + cx);
    m_chLastPlaced = pText[nLength - 1];
}

TagOutcome CHtmlTextLayout::ApplyTag(const THtmlTag& tag)
{
    if (!tag.bClosing)
        return ApplyOpeningTag(tag);
    // A closing paragraph tag ends the line first, like the opening one.
    if (tag.chName == L'p' && !AtLineStart())
        return TagOutcome::EndLineBefore;
    ApplyClosingTag(tag);
    return TagOutcome::Continue;
}

TagOutcome CHtmlTextLayout::ApplyOpeningTag(const THtmlTag& tag)
{
    const TFontInfo* pFont = CurrentFont();
    switch (tag.chName)
    {
    case L'a':
        OpenLink(tag);
        break;
    case L'b':
        if (!pFont->bBold)
            PushFont(FindOrAddFont(pFont->sFontName, pFont->iSize, true, pFont->bUnderline, pFont->bItalic));
        break;
    case L'c': {
        LPCWSTR pColor = tag.pArg + (tag.nArgLength > 0 && tag.pArg[0] == L'#' ? 1 : 0);
        m_colors.Push(static_cast<DWORD>(wcstoul(pColor, nullptr, 16)));
        break;
    }
    case L'f':
        PushFont(FontOfTag(tag));
        break;
    case L'i':
        if (tag.nArgLength > 0)
            return PlaceImage(tag);
        if (!pFont->bItalic)
            PushFont(FindOrAddFont(pFont->sFontName, pFont->iSize, pFont->bBold, pFont->bUnderline, true));
        break;
    case L'n':
        return (m_uStyle & DT_SINGLELINE) != 0 ? TagOutcome::Continue : TagOutcome::EndLineAfter;
    case L'p': {
        if (!AtLineStart())
            return TagOutcome::EndLineBefore;
        const int nExtra = ReadTagNumber(tag.pArg, 0);
        m_extras.Push(nExtra);
        m_cyLine = std::max(m_cyLine, FontLineHeight(pFont) + nExtra);
        break;
    }
    case L'r':
        m_bRaw = true;
        break;
    case L's':
        m_bSelected = !m_bSelected;
        break;
    case L'u':
        if (!pFont->bUnderline)
            PushFont(FindOrAddFont(pFont->sFontName, pFont->iSize, pFont->bBold, true, pFont->bItalic));
        break;
    case L'x':
        m_x = Saturate(static_cast<long long>(m_x) + ReadTagNumber(tag.pArg, -kMaxTagNumber));
        break;
    case L'y':
        m_cyLine = ReadTagNumber(tag.pArg, 0);
        break;
    default: // letters without a meaning are skipped
        break;
    }
    return TagOutcome::Continue;
}

void CHtmlTextLayout::ApplyClosingTag(const THtmlTag& tag)
{
    switch (tag.chName)
    {
    case L'a':
        if (m_bInLink)
            CloseLinkRect();
        m_bInLink = false;
        m_colors.Pop();
        PopFont();
        break;
    case L'b':
    case L'f':
    case L'i':
    case L'u':
        PopFont();
        break;
    case L'c':
        m_colors.Pop();
        break;
    case L'p':
        // At the start of a line (where the closing tag always takes effect)
        // the line is as high as the text after the paragraph.
        m_extras.Pop();
        m_cyLine = FontLineHeight(CurrentFont()) + m_extras.Top(0);
        break;
    case L'r':
        m_bRaw = false;
        break;
    case L's':
        m_bSelected = !m_bSelected;
        break;
    default: // n, x, y and unknown letters close nothing
        break;
    }
}

// A link: its target goes into the next slot, its colour is the link colour
// (the hover colour when its target is the one under the mouse), and it is
// underlined.
void CHtmlTextLayout::OpenLink(const THtmlTag& tag)
{
    if (m_bInLink)
        CloseLinkRect();
    LPCWSTR pTarget = tag.pArg;
    while (pTarget < tag.pArg + tag.nArgLength && *pTarget <= L' ')
        pTarget++;
    const CUiString sTarget(pTarget, static_cast<int>(tag.pArg + tag.nArgLength - pTarget));
    if (m_nLink < m_nLinkCapacity)
        m_psLinks[m_nLink] = sTarget;
    m_bInLink = true;
    m_xLinkStart = m_x;
    const bool bHover = m_psHover != nullptr && *m_psHover == sTarget;
    m_colors.Push(bHover ? m_pResources->GetDefaultLinkHoverFontColor()
                         : m_pResources->GetDefaultLinkFontColor());
    const TFontInfo* pFont = CurrentFont();
    if (!pFont->bUnderline)
        PushFont(FindOrAddFont(pFont->sFontName, pFont->iSize, pFont->bBold, true, pFont->bItalic));
}

// The link's rectangle on this line, from where it began to the pen; the
// line's end gives it its bottom.
void CHtmlTextLayout::CloseLinkRect()
{
    if (m_nLink < m_nLinkCapacity)
        m_prcLinks[m_nLink] = RECT{m_xLinkStart, m_y, std::min(m_x, static_cast<int>(m_rc.right)),
                                   m_y + FontLineHeight(CurrentFont())};
    m_nLink++;
}

// An inline image: a frame of a strip of equal frames, on the line when it
// fits (or the line is empty, or single), else on the next line.
TagOutcome CHtmlTextLayout::PlaceImage(const THtmlTag& tag)
{
    TImageTag image;
    if (!ReadImageTag(tag, image))
        return TagOutcome::Continue;
    const TImageInfo* pImage =
        m_pResources->GetImageEx(image.sName, image.sType.IsEmpty() ? nullptr : image.sType.GetData(), 0);
    if (pImage == nullptr || pImage->nX / image.nCount <= 0)
        return TagOutcome::Continue;
    const int cx = pImage->nX / image.nCount;
    const bool bFits =
        static_cast<long long>(m_x) + cx <= m_rc.right || AtLineStart() || (m_uStyle & DT_SINGLELINE) != 0;
    if (!bFits)
        return TagOutcome::EndLineBefore;
    if (m_nPieces == kMaxPiecesPerLine)
        return TagOutcome::EndLineBefore;
    TLinePiece& piece = m_pieces[m_nPieces++];
    piece.eKind = PieceKind::Image;
    piece.x = m_x;
    piece.cx = cx;
    piece.pImage = pImage;
    piece.rcSource = RECT{cx * image.nIndex, 0, cx * (image.nIndex + 1), pImage->nY};
    m_cyLine = std::max(m_cyLine, pImage->nY);
    m_x = Saturate(static_cast<long long>(m_x) + cx);
    m_chLastPlaced = L' ';
    return TagOutcome::Continue;
}

// "name [count [index]]", or, when the text from the tag on holds an image
// item, the items of an image description (file or res, restype).
bool CHtmlTextLayout::ReadImageTag(const THtmlTag& tag, TImageTag& image)
{
    const CUiString sArg(tag.pArg, tag.nArgLength);
    LPCWSTR p = sArg.GetData();
    if (HasImageItemsFrom(tag.pArg))
    {
        CUiString sKey;
        CUiString sValue;
        while (ReadImageItem(p, sKey, sValue))
        {
            if (sKey == L"file" || sKey == L"res")
                image.sName = sValue;
            else if (sKey == L"restype")
                image.sType = sValue;
            if (*p != L' ')
                break;
        }
        return !image.sName.IsEmpty();
    }
    while (*p == L' ')
        p++;
    LPCWSTR pName = p;
    while (*p > L' ')
        p++;
    image.sName.Assign(pName, static_cast<int>(p - pName));
    wchar_t* pEnd = nullptr;
    image.nCount = static_cast<int>(std::clamp<long>(wcstol(p, &pEnd, 10), 1, kMaxTagNumber));
    const long nIndex = wcstol(pEnd, nullptr, 10);
    image.nIndex = nIndex >= 0 && nIndex < image.nCount ? static_cast<int>(nIndex) : 0;
    return !image.sName.IsEmpty();
}

// Whether "file='" or "res='" occurs from p to the end of the text. The last
// occurrence is found once per text, so many image tags stay cheap.
bool CHtmlTextLayout::HasImageItemsFrom(LPCWSTR p)
{
    if (!m_bImageItemsSearched)
    {
        m_bImageItemsSearched = true;
        for (LPCWSTR pKey : {L"file='", L"res='"})
        {
            for (LPCWSTR pFound = wcsstr(m_pText, pKey); pFound != nullptr; pFound = wcsstr(pFound + 1, pKey))
                m_pLastImageItem = std::max(m_pLastImageItem, pFound);
        }
    }
    return m_pLastImageItem != nullptr && m_pLastImageItem >= p;
}

// "f index", or "f face [size] [bold] [underline] [italic]"; a font that
// cannot be had repeats the current one, so that its closing tag still pairs.
const TFontInfo* CHtmlTextLayout::FontOfTag(const THtmlTag& tag)
{
    const CUiString sArg(tag.pArg, tag.nArgLength);
    LPCWSTR p = sArg.GetData();
    while (*p == L' ')
        p++;
    if (*p >= L'0' && *p <= L'9')
        return m_pResources->GetFontInfo(static_cast<int>(std::min<long>(wcstol(p, nullptr, 10), INT_MAX)));
    LPCWSTR pFace = p;
    while (*p > L' ')
        p++;
    const CUiString sFace(pFace, static_cast<int>(p - pFace));
    wchar_t* pEnd = nullptr;
    const long nSize = wcstol(p, &pEnd, 10);
    CUiString sStyle(pEnd);
    sStyle.MakeLower();
    const TFontInfo* pFont =
        sFace.IsEmpty()
            ? nullptr
            : FindOrAddFont(
                  sFace,
                  pEnd == p ? kDefaultFaceSize : static_cast<int>(std::clamp<long>(nSize, 1, kMaxFontSize)),
                  sStyle.Find(L"bold") >= 0, sStyle.Find(L"underline") >= 0, sStyle.Find(L"italic") >= 0);
    return pFont != nullptr ? pFont : CurrentFont();
}

// The variant fonts that tags ask for live in the font table, so that the
// next paint finds them; one call adds only a few.
const TFontInfo* CHtmlTextLayout::FindOrAddFont(LPCWSTR pstrFace, int nSize, bool bBold, bool bUnderline,
                                                bool bItalic)
{
    HFONT hFont = m_pResources->GetFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr && m_nFontsAdded < kMaxNewFontsPerCall)
    {
        m_nFontsAdded++;
        hFont = m_pResources->AddFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    }
    return hFont != nullptr ? m_pResources->GetFontInfo(hFont) : CurrentFont();
}

void CHtmlTextLayout::PushFont(const TFontInfo* pFont)
{
    m_fonts.Push(pFont);
    RaiseLineHeight(CurrentFont());
}

// Closing a font level. Italic letters lean past their advance: when the
// text goes on upright, the pen first moves by half the space's overhang.
void CHtmlTextLayout::PopFont()
{
    const TFontInfo* pClosed = CurrentFont();
    m_fonts.Pop();
    const TFontInfo* pCurrent = CurrentFont();
    if (pClosed->bItalic && !pCurrent->bItalic)
    {
        SelectFont(pClosed);
        ABC abc{};
        if (::GetCharABCWidthsW(m_hDC, L' ', L' ', &abc))
            m_x = Saturate(static_cast<long long>(m_x) + abc.abcC / 2);
    }
    RaiseLineHeight(pCurrent);
}

void CHtmlTextLayout::RaiseLineHeight(const TFontInfo* pFont)
{
    m_cyLine = std::max(m_cyLine, FontLineHeight(pFont) + m_extras.Top(0));
}

void CHtmlTextLayout::SelectFont(const TFontInfo* pFont)
{
    if (pFont->hFont != m_hSelectedFont && pFont->hFont != nullptr)
    {
        ::SelectObject(m_hDC, pFont->hFont);
        m_hSelectedFont = pFont->hFont;
    }
}

// The device context's font, colours and background mode for the length of
// one call.
class CScopedTextState
{
  public:
    CScopedTextState(HDC hDC, DWORD dwTextColor, DWORD dwBkColor)
        : m_hDC(hDC), m_hOldFont(::GetCurrentObject(hDC, OBJ_FONT)),
          m_crOldText(::SetTextColor(hDC, ArgbToColorRef(dwTextColor))),
          m_crOldBk(::SetBkColor(hDC, ArgbToColorRef(dwBkColor))), m_nOldBkMode(::SetBkMode(hDC, TRANSPARENT))
    {
    }
    CScopedTextState(const CScopedTextState&) = delete;
    CScopedTextState& operator=(const CScopedTextState&) = delete;
    ~CScopedTextState()
    {
        ::SetBkMode(m_hDC, m_nOldBkMode);
        ::SetBkColor(m_hDC, m_crOldBk);
        ::SetTextColor(m_hDC, m_crOldText);
        ::SelectObject(m_hDC, m_hOldFont);
    }

  private:
    HDC m_hDC;
    HGDIOBJ m_hOldFont;
    COLORREF m_crOldText;
    COLORREF m_crOldBk;
    int m_nOldBkMode;
};

// The pre-pass of aligned drawing: the text is measured and the rectangle
// moved to where the text goes. Single-line text moves sideways when it is
// narrower than the rectangle (wider text stays left, where its ellipsis
// can show); any text moves up or down.
void AlignRect(HDC hDC, CResourceTables* pResources, RECT& rc, LPCWSTR pstrText, UINT uStyle)
{
    const bool bSingleLine = (uStyle & DT_SINGLELINE) != 0;
    RECT rcText{0, 0, bSingleLine ? kUnboundedWidth : rc.right - rc.left, kUnboundedWidth};
    int nNoLinks = 0;
    CRenderEngine::DrawHtmlText(hDC, pResources, rcText, pstrText, 0, nullptr, nullptr, nNoLinks,
                                (uStyle & ~kAlignmentStyles) | DT_CALCRECT, POINT{-1, -1}, false);
    const int cxText = rcText.right - rcText.left;
    const int cyText = rcText.bottom - rcText.top;
    const int cxSpare = rc.right - rc.left - cxText;
    if (bSingleLine && cxSpare > 0 && (uStyle & DT_CENTER) != 0)
    {
        rc.left += cxSpare / 2;
        rc.right = rc.left + cxText;
    }
    else if (bSingleLine && cxSpare > 0 && (uStyle & DT_RIGHT) != 0)
        rc.left = rc.right - cxText;
    if ((uStyle & DT_VCENTER) != 0)
    {
        rc.top += (rc.bottom - rc.top - cyText) / 2;
        rc.bottom = rc.top + cyText;
    }
    else if ((uStyle & DT_BOTTOM) != 0)
        rc.top = rc.bottom - cyText;
}

// The target of the first link rectangle of the last paint that holds the
// mouse, or null.
const CUiString* HoverTarget(const RECT* prcLinks, const CUiString* psLinks, int nLinks, POINT ptMouse)
{
    for (int i = 0; i < nLinks; i++)
    {
        if (::PtInRect(&prcLinks[i], ptMouse))
            return &psLinks[i];
    }
    return nullptr;
}

} // namespace

void CRenderEngine::DrawHtmlText(HDC hDC, CResourceTables* pResources, RECT& rc, LPCWSTR pstrText,
                                 DWORD dwTextColor, RECT* prcLinks, CUiString* sLinks, int& nLinkRects,
                                 UINT uStyle, POINT ptMouse, bool bLayered)
{
    const int nLinkCapacity = prcLinks != nullptr && sLinks != nullptr ? std::max(nLinkRects, 0) : 0;
    nLinkRects = 0;
    if (hDC == nullptr || pResources == nullptr || pstrText == nullptr || ::IsRectEmpty(&rc))
        return;
    const bool bDraw = (uStyle & DT_CALCRECT) == 0;

    // Step 1: drawing clips to the rectangle; in a window whose pixels
    // carry alpha the text goes through a surface of the rectangle's size
    // (images are drawn on the target itself). The text starts in the
    // default font and colour; selected text has the selection colour
    // behind it.
    CRenderClip clip;
    if (bDraw)
        CRenderClip::GenerateClip(hDC, rc, clip);
    CLayeredTextSurface layered(bDraw && bLayered ? hDC : nullptr, rc);
    HDC hTextDC = bDraw && bLayered ? layered.GetDC() : hDC;
    if (hTextDC == nullptr)
        return;
    const CScopedTextState textState(hTextDC, dwTextColor, pResources->GetDefaultSelectedBkColor());

    // Step 2: aligned text is measured first and the rectangle moved to it.
    // Text that measures no width has nothing to draw.
    if (bDraw && (uStyle & kAlignmentStyles) != 0)
    {
        AlignRect(hTextDC, pResources, rc, pstrText, uStyle);
        if (rc.right <= rc.left)
            return;
    }

    // Step 3: the link under the mouse, by the rectangles of the last paint.
    const CUiString* psHover = HoverTarget(prcLinks, sLinks, nLinkCapacity, ptMouse);
    const CUiString sHover = psHover != nullptr ? *psHover : CUiString();

    // Step 4: the lines, each laid out, then drawn.
    CHtmlTextLayout layout(hTextDC, hDC, pResources, rc, pstrText, dwTextColor, uStyle);
    layout.SetLinks(prcLinks, sLinks, nLinkCapacity);
    layout.SetHoverTarget(psHover != nullptr ? &sHover : nullptr);
    layout.Run();
    nLinkRects = layout.GetLinkCount();
    layered.Finish();

    // Step 5: measuring hands back the text's extent.
    if (!bDraw)
    {
        rc.bottom = layout.GetBottom();
        rc.right = std::min(rc.right, static_cast<LONG>(layout.GetRightmost()));
    }
}

} // namespace Veneer
