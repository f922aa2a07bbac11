#include "veneer/control/LabelUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/render/RenderEngine.h"

#include <cwchar>
#include <cwctype>

namespace Veneer
{

namespace
{

const UINT kLabelStyle = DT_VCENTER;
const int kMaxRenderingHint = 5; // TextRenderingHintClearTypeGridFit
const int kLineExtra = 4;        // a label is this much higher than its font

// GDI+ StringAlignment values.
const int kAlignNear = 0;
const int kAlignCenter = 1;

const int kDefaultShadowAlpha = 60;
const int kDefaultTextAlpha = 168;
const int kOpaqueAlpha = 255;
const DWORD kNoSecondColor = 0xFFFFFFFF;

// "align": the first horizontal keyword that the value holds, then the
// first vertical one, each clearing some style bits and setting others.
// "top" and "bottom" keep the horizontal alignment that the value (or the
// style) already chose: "left top" stays on the left.
struct TAlignKeyword
{
    LPCWSTR pstrKeyword;
    UINT uClear;
    UINT uSet;
};

const TAlignKeyword kHorizontalAlign[] = {
    {L"left", DT_CENTER | DT_RIGHT | DT_SINGLELINE, DT_VCENTER},
    {L"right", DT_CENTER | DT_SINGLELINE, DT_RIGHT | DT_VCENTER},
    {L"center", DT_RIGHT, DT_CENTER},
};

const TAlignKeyword kVerticalAlign[] = {
    {L"top", DT_VCENTER | DT_BOTTOM, DT_SINGLELINE},
    {L"bottom", DT_VCENTER, DT_BOTTOM | DT_SINGLELINE},
    {L"vcenter", DT_BOTTOM, DT_VCENTER | DT_SINGLELINE},
};

// Keywords are whole words: the "center" inside "vcenter" is not one.
bool ContainsWord(LPCWSTR pstrValue, LPCWSTR pstrWord)
{
    const size_t cchWord = wcslen(pstrWord);
    for (LPCWSTR p = wcsstr(pstrValue, pstrWord); p != nullptr; p = wcsstr(p + 1, pstrWord))
    {
        const bool bStartsWord = p == pstrValue || !iswalpha(p[-1]);
        if (bStartsWord && !iswalpha(p[cchWord]))
            return true;
    }
    return false;
}

template <size_t nCount>
void ApplyFirstKeyword(const TAlignKeyword (&keywords)[nCount], LPCWSTR pstrValue, UINT& uStyle)
{
    for (const TAlignKeyword& keyword : keywords)
    {
        if (ContainsWord(pstrValue, keyword.pstrKeyword))
        {
            uStyle = (uStyle & ~keyword.uClear) | keyword.uSet;
            return;
        }
    }
}

void ApplyShadowOffset(CLabelUI& label, LPCWSTR pstrValue)
{
    const SIZE sz = ParseAttributeSize(pstrValue); // distance, angle
    label.SetShadowOffset(sz.cx, sz.cy);
}

const TAttributeHandler<CLabelUI> kLabelAttributes[] = {
    {L"endellipsis",
     [](CLabelUI& c, LPCWSTR v) {
         c.SetTextStyle(ParseAttributeBool(v) ? c.GetTextStyle() | DT_END_ELLIPSIS
                                              : c.GetTextStyle() & ~DT_END_ELLIPSIS);
     }},
    {L"font", [](CLabelUI& c, LPCWSTR v) { c.SetFont(ParseAttributeInt(v)); }},
    {L"textcolor", [](CLabelUI& c, LPCWSTR v) { c.SetTextColor(ParseAttributeColor(v)); }},
    {L"disabledtextcolor", [](CLabelUI& c, LPCWSTR v) { c.SetDisabledTextColor(ParseAttributeColor(v)); }},
    {L"textpadding", [](CLabelUI& c, LPCWSTR v) { c.SetTextPadding(ParseAttributeRect(v)); }},
    {L"showhtml", [](CLabelUI& c, LPCWSTR v) { c.SetShowHtml(ParseAttributeBool(v)); }},
    {L"enabledeffect", [](CLabelUI& c, LPCWSTR v) { c.SetEnabledEffect(ParseAttributeBool(v)); }},
    {L"enabledstroke", [](CLabelUI& c, LPCWSTR v) { c.SetEnabledStroke(ParseAttributeBool(v)); }},
    {L"enabledshadow", [](CLabelUI& c, LPCWSTR v) { c.SetEnabledShadow(ParseAttributeBool(v)); }},
    {L"rhaa", [](CLabelUI& c, LPCWSTR v) { c.SetTextRenderingHintAntiAlias(ParseAttributeInt(v)); }},
    {L"transshadow", [](CLabelUI& c, LPCWSTR v) { c.SetTransShadow(ParseAttributeInt(v)); }},
    {L"transshadow1", [](CLabelUI& c, LPCWSTR v) { c.SetTransShadow1(ParseAttributeInt(v)); }},
    {L"transtext", [](CLabelUI& c, LPCWSTR v) { c.SetTransText(ParseAttributeInt(v)); }},
    {L"transtext1", [](CLabelUI& c, LPCWSTR v) { c.SetTransText1(ParseAttributeInt(v)); }},
    {L"transstroke", [](CLabelUI& c, LPCWSTR v) { c.SetTransStroke(ParseAttributeInt(v)); }},
    {L"gradientangle", [](CLabelUI& c, LPCWSTR v) { c.SetGradientAngle(ParseAttributeInt(v)); }},
    {L"gradientlength", [](CLabelUI& c, LPCWSTR v) { c.SetGradientLength(ParseAttributeInt(v)); }},
    {L"shadowoffset", ApplyShadowOffset},
    {L"textcolor1", [](CLabelUI& c, LPCWSTR v) { c.SetTextColor1(ParseAttributeColor(v)); }},
    {L"textshadowcolora", [](CLabelUI& c, LPCWSTR v) { c.SetTextShadowColorA(ParseAttributeColor(v)); }},
    {L"textshadowcolorb", [](CLabelUI& c, LPCWSTR v) { c.SetTextShadowColorB(ParseAttributeColor(v)); }},
    {L"strokecolor", [](CLabelUI& c, LPCWSTR v) { c.SetStrokeColor(ParseAttributeColor(v)); }},
};

} // namespace

CLabelUI::CLabelUI()
    : m_dwTextColor(0), m_dwDisabledTextColor(0), m_iFont(-1), m_uTextStyle(kLabelStyle), m_rcTextPadding{},
      m_bShowHtml(false), m_hAlign(kAlignNear), m_vAlign(kAlignCenter), m_TransShadow(kDefaultShadowAlpha),
      m_TransShadow1(kDefaultShadowAlpha), m_TransText(kDefaultTextAlpha), m_TransText1(kDefaultTextAlpha),
      m_TransStroke(kOpaqueAlpha), m_GradientLength(0), m_GradientAngle(0), m_EnableEffect(false),
      m_EnabledStroke(false), m_EnabledShadow(false), m_dwTextColor1(kNoSecondColor),
      m_dwTextShadowColorA(0xFF000000), m_dwTextShadowColorB(kNoSecondColor), m_dwStrokeColor(0),
      m_ShadowOffset(0, 0, 0, 0), m_TextRenderingHintAntiAlias(0)
{
}

CLabelUI::~CLabelUI() = default;

LPCWSTR CLabelUI::GetClass() const
{
    return L"LabelUI";
}

LPVOID CLabelUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Label") == 0)
        return this;
    return CControlUI::GetInterface(pstrName);
}

// Text goes where the label draws it from. (No exception can arise here:
// the toolkit throws none, so none is turned into a thrown text either.)
void CLabelUI::SetText(LPCWSTR pstrText)
{
    if (m_EnableEffect)
        m_EffectText = pstrText;
    else
        CControlUI::SetText(pstrText);
}

CUiString CLabelUI::GetText() const
{
    return m_EnableEffect ? m_EffectText : CControlUI::GetText();
}

void CLabelUI::SetTextStyle(UINT uStyle)
{
    SetAndInvalidate(m_uTextStyle, uStyle);
}

UINT CLabelUI::GetTextStyle() const
{
    return m_uTextStyle;
}

void CLabelUI::SetTextColor(DWORD dwTextColor)
{
    SetAndInvalidate(m_dwTextColor, dwTextColor);
}

DWORD CLabelUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor)
{
    SetAndInvalidate(m_dwDisabledTextColor, dwTextColor);
}

DWORD CLabelUI::GetDisabledTextColor() const
{
    return m_dwDisabledTextColor;
}

void CLabelUI::SetFont(int index)
{
    SetAndInvalidate(m_iFont, index);
}

int CLabelUI::GetFont() const
{
    return m_iFont;
}

RECT CLabelUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CLabelUI::SetTextPadding(RECT rc)
{
    SetAndInvalidate(m_rcTextPadding, rc);
}

bool CLabelUI::IsShowHtml() const
{
    return m_bShowHtml;
}

void CLabelUI::SetShowHtml(bool bShowHtml)
{
    SetAndInvalidate(m_bShowHtml, bShowHtml);
}

void CLabelUI::SetEnabledEffect(bool bEnable)
{
    m_EnableEffect = bEnable;
}

bool CLabelUI::GetEnabledEffect() const
{
    return m_EnableEffect;
}

void CLabelUI::SetEnabledStroke(bool bEnable)
{
    m_EnabledStroke = bEnable;
}

bool CLabelUI::GetEnabledStroke() const
{
    return m_EnabledStroke;
}

void CLabelUI::SetEnabledShadow(bool bEnable)
{
    m_EnabledShadow = bEnable;
}

bool CLabelUI::GetEnabledShadow() const
{
    return m_EnabledShadow;
}

void CLabelUI::SetTransShadow(int nAlpha)
{
    m_TransShadow = nAlpha;
}

int CLabelUI::GetTransShadow() const
{
    return m_TransShadow;
}

void CLabelUI::SetTransShadow1(int nAlpha)
{
    m_TransShadow1 = nAlpha;
}

int CLabelUI::GetTransShadow1() const
{
    return m_TransShadow1;
}

void CLabelUI::SetTransText(int nAlpha)
{
    m_TransText = nAlpha;
}

int CLabelUI::GetTransText() const
{
    return m_TransText;
}

void CLabelUI::SetTransText1(int nAlpha)
{
    m_TransText1 = nAlpha;
}

int CLabelUI::GetTransText1() const
{
    return m_TransText1;
}

void CLabelUI::SetTransStroke(int nAlpha)
{
    m_TransStroke = nAlpha;
}

int CLabelUI::GetTransStroke() const
{
    return m_TransStroke;
}

void CLabelUI::SetGradientAngle(int nAngle)
{
    m_GradientAngle = nAngle;
}

int CLabelUI::GetGradientAngle() const
{
    return m_GradientAngle;
}

void CLabelUI::SetGradientLength(int nLength)
{
    m_GradientLength = nLength;
}

int CLabelUI::GetGradientLength() const
{
    return m_GradientLength;
}

void CLabelUI::SetTextColor1(DWORD dwColor)
{
    m_dwTextColor1 = dwColor;
}

DWORD CLabelUI::GetTextColor1() const
{
    return m_dwTextColor1;
}

void CLabelUI::SetTextShadowColorA(DWORD dwColor)
{
    m_dwTextShadowColorA = dwColor;
}

DWORD CLabelUI::GetTextShadowColorA() const
{
    return m_dwTextShadowColorA;
}

void CLabelUI::SetTextShadowColorB(DWORD dwColor)
{
    m_dwTextShadowColorB = dwColor;
}

DWORD CLabelUI::GetTextShadowColorB() const
{
    return m_dwTextShadowColorB;
}

void CLabelUI::SetStrokeColor(DWORD dwColor)
{
    m_dwStrokeColor = dwColor;
}

DWORD CLabelUI::GetStrokeColor() const
{
    return m_dwStrokeColor;
}

void CLabelUI::SetTextRenderingHintAntiAlias(int nHint)
{
    m_TextRenderingHintAntiAlias = nHint >= 0 && nHint <= kMaxRenderingHint ? nHint : 0;
}

int CLabelUI::GetTextRenderingHintAntiAlias() const
{
    return m_TextRenderingHintAntiAlias;
}

// The offset is the same wherever the label is: it does not start from the
// label's position at the time of the call (which is 0 while a skin is
// built, and anything once the label has been laid out).
void CLabelUI::SetShadowOffset(int nDistance, int nAngle)
{
    if (nAngle < -180 || nAngle > 180)
        return;
    const float distance = static_cast<float>(nDistance);
    if (nAngle >= 0)
        m_ShadowOffset.X = -distance;
    else if (nAngle > -180)
        m_ShadowOffset.X = distance;
    else
        m_ShadowOffset.X = 0;
    if (nAngle >= -89 && nAngle <= 90)
        m_ShadowOffset.Y = -distance;
    else if (nAngle == -90)
        m_ShadowOffset.Y = 0;
    else
        m_ShadowOffset.Y = distance;
}

Gdiplus::RectF CLabelUI::GetShadowOffset() const
{
    return m_ShadowOffset;
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr)
        return CControlUI::EstimateSize(szAvailable);
    return SIZE{m_cxyFixed.cx, m_pManager->GetFontInfo(m_iFont)->tm.tmHeight + kLineExtra};
}

void CLabelUI::DoEvent(TEventUI& event)
{
    // A label shows no focus: the flag follows, nothing is repainted.
    if (event.Type == EventSetFocus)
    {
        m_bFocused = true;
        return;
    }
    if (event.Type == EventKillFocus)
    {
        m_bFocused = false;
        return;
    }
    CControlUI::DoEvent(event);
}

bool CLabelUI::PassOnMouseEvent(TEventUI& event)
{
    if (IsMouseEnabled() || event.Type <= EventMouseBegin || event.Type >= EventMouseEnd)
        return false;
    if (m_pParent != nullptr)
        m_pParent->DoEvent(event);
    else
        CLabelUI::DoEvent(event);
    return true;
}

void CLabelUI::ApplyAlign(LPCWSTR pstrValue)
{
    UINT uStyle = m_uTextStyle;
    ApplyFirstKeyword(kHorizontalAlign, pstrValue, uStyle);
    ApplyFirstKeyword(kVerticalAlign, pstrValue, uStyle);
    SetTextStyle(uStyle);
}

void CLabelUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName != nullptr && pstrValue != nullptr && wcscmp(pstrName, L"align") == 0)
        ApplyAlign(pstrValue);
    else if (!ApplyAttribute(kLabelAttributes, *this, pstrName, pstrValue))
        CControlUI::SetAttribute(pstrName, pstrValue);
}

RECT CLabelUI::PrepareTextRect()
{
    if (m_dwTextColor == 0)
        m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_dwDisabledTextColor == 0)
        m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    return rc;
}

DWORD CLabelUI::StateTextColor() const
{
    return IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
}

void CLabelUI::DrawLabelText(HDC hDC, RECT& rc, DWORD dwColor, UINT uStyle)
{
    if (m_bShowHtml)
    {
        int nNoLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager->GetResources(), rc, m_sText, dwColor, nullptr, nullptr,
                                    nNoLinks, uStyle, m_pManager->GetMousePos(),
                                    m_pManager->IsBackgroundTransparent());
    }
    else
        CRenderEngine::DrawTextW(hDC, m_pManager->GetResources(), rc, m_sText, dwColor, m_iFont, uStyle,
                                 m_pManager->IsBackgroundTransparent());
}

void CLabelUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    RECT rc = PrepareTextRect();
    if (m_EnableEffect)
    {
        PaintEffectText(hDC, rc);
        return;
    }
    if (m_sText.IsEmpty())
        return;
    DrawLabelText(hDC, rc, StateTextColor(), m_uTextStyle | DT_SINGLELINE);
}

} // namespace Veneer
