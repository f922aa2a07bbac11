// The label's GDI+ effects: its effect text drawn with a gradient brush,
// under it an optional shadow in a gradient of its own, and around it an
// optional outline.
#include "veneer/control/LabelUI.h"

namespace Veneer
{

namespace
{

// Owns one GDI+ object and hands it to its delete function at the end.
template <typename TObject, typename TDelete> class CScopedGdip
{
  public:
    explicit CScopedGdip(TDelete pfnDelete) : m_pObject(nullptr), m_pfnDelete(pfnDelete) {}
    CScopedGdip(const CScopedGdip&) = delete;
    CScopedGdip& operator=(const CScopedGdip&) = delete;
    ~CScopedGdip()
    {
        if (m_pObject != nullptr)
            m_pfnDelete(m_pObject);
    }
    TObject** Out() { return &m_pObject; }
    TObject* Get() const { return m_pObject; }

  private:
    TObject* m_pObject;
    TDelete m_pfnDelete;
};

Gdiplus::ARGB WithAlpha(int nAlpha, DWORD dwColor)
{
    return (static_cast<Gdiplus::ARGB>(nAlpha) & 0xFF) << 24 | (dwColor & 0xFFFFFF);
}

DWORD SecondColor(DWORD dwSecond, DWORD dwFirst)
{
    return dwSecond == 0xFFFFFFFF ? dwFirst : dwSecond;
}

// The label's font as GDI+ sees it: the manager's font of that index, or
// the device context's font when the index has no font handle.
bool CreateFont(const TGdiplusApi& api, HDC hDC, HFONT hFont, Gdiplus::GpFont** ppFont)
{
    LOGFONTW lf{};
    if (hFont != nullptr && ::GetObjectW(hFont, sizeof(lf), &lf) == sizeof(lf))
        return api.pfnCreateFontFromLogfont(hDC, &lf, ppFont) == Gdiplus::Ok;
    return api.pfnCreateFontFromDC(hDC, ppFont) == Gdiplus::Ok;
}

} // namespace

void CLabelUI::PaintEffectText(HDC hDC, const RECT& rcText)
{
    const TGdiplusApi* pApi = m_gdiplus.GetApi();
    if (pApi == nullptr || m_EffectText.IsEmpty())
        return;
    const TGdiplusApi& api = *pApi;

    // Step 1: the font, a graphics object with the rendering hint, and the
    // string format with the label's alignment.
    CScopedGdip<Gdiplus::GpFont, decltype(api.pfnDeleteFont)> font(api.pfnDeleteFont);
    CScopedGdip<Gdiplus::GpGraphics, decltype(api.pfnDeleteGraphics)> graphics(api.pfnDeleteGraphics);
    CScopedGdip<Gdiplus::GpStringFormat, decltype(api.pfnDeleteStringFormat)> format(
        api.pfnDeleteStringFormat);
    if (!CreateFont(api, hDC, m_pManager->GetFont(m_iFont), font.Out()) ||
        api.pfnCreateFromHDC(hDC, graphics.Out()) != Gdiplus::Ok ||
        api.pfnCreateStringFormat(0, LANG_NEUTRAL, format.Out()) != Gdiplus::Ok)
        return;
    api.pfnSetTextRenderingHint(graphics.Get(),
                                static_cast<Gdiplus::TextRenderingHint>(m_TextRenderingHintAntiAlias));
    api.pfnSetStringFormatAlign(format.Get(), static_cast<Gdiplus::StringAlignment>(m_hAlign));
    api.pfnSetStringFormatLineAlign(format.Get(), static_cast<Gdiplus::StringAlignment>(m_vAlign));

    // Step 2: where the text and its shadow go.
    const Gdiplus::RectF rcLayout(static_cast<float>(rcText.left), static_cast<float>(rcText.top),
                                  static_cast<float>(rcText.right - rcText.left),
                                  static_cast<float>(rcText.bottom - rcText.top));
    const Gdiplus::RectF rcShadow(rcLayout.X + m_ShadowOffset.X, rcLayout.Y + m_ShadowOffset.Y,
                                  rcLayout.Width, rcLayout.Height);

    // Step 3: the gradients run from (angle, 0) to (0, length), the length
    // being the text's height unless one is given.
    const float length = m_GradientLength != 0 ? static_cast<float>(m_GradientLength) : rcLayout.Height;
    const Gdiplus::PointF ptFrom(static_cast<float>(m_GradientAngle), 0);
    const Gdiplus::PointF ptTo(0, length);
    auto drawString = [&](const Gdiplus::RectF& rc, Gdiplus::GpLineGradient* pBrush) {
        api.pfnDrawString(graphics.Get(), m_EffectText, -1, font.Get(), &rc, format.Get(), pBrush);
    };

    // Step 4: the outline: the text drawn once to each side in the stroke
    // colour.
    if (m_EnabledStroke && m_dwStrokeColor != 0)
    {
        CScopedGdip<Gdiplus::GpLineGradient, decltype(api.pfnDeleteBrush)> stroke(api.pfnDeleteBrush);
        const Gdiplus::PointF ptStrokeTo(0, rcLayout.Height + 2);
        const Gdiplus::ARGB argbStroke = WithAlpha(m_TransStroke, m_dwStrokeColor);
        if (api.pfnCreateLineBrush(&ptFrom, &ptStrokeTo, argbStroke, argbStroke, Gdiplus::WrapModeTile,
                                   stroke.Out()) == Gdiplus::Ok)
        {
            const float offsets[][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto& offset : offsets)
                drawString(Gdiplus::RectF(rcLayout.X + offset[0], rcLayout.Y + offset[1], rcLayout.Width,
                                          rcLayout.Height),
                           stroke.Get());
        }
    }

    // Step 5: the shadow.
    if (m_EnabledShadow && (m_dwTextShadowColorA != 0 || m_dwTextShadowColorB != 0))
    {
        CScopedGdip<Gdiplus::GpLineGradient, decltype(api.pfnDeleteBrush)> shadow(api.pfnDeleteBrush);
        if (api.pfnCreateLineBrush(
                &ptFrom, &ptTo, WithAlpha(m_TransShadow, m_dwTextShadowColorA),
                WithAlpha(m_TransShadow1, SecondColor(m_dwTextShadowColorB, m_dwTextShadowColorA)),
                Gdiplus::WrapModeTile, shadow.Out()) == Gdiplus::Ok)
            drawString(rcShadow, shadow.Get());
    }

    // Step 6: the text itself.
    CScopedGdip<Gdiplus::GpLineGradient, decltype(api.pfnDeleteBrush)> text(api.pfnDeleteBrush);
    if (api.pfnCreateLineBrush(&ptFrom, &ptTo, WithAlpha(m_TransText, m_dwTextColor),
                               WithAlpha(m_TransText1, SecondColor(m_dwTextColor1, m_dwTextColor)),
                               Gdiplus::WrapModeTile, text.Out()) == Gdiplus::Ok)
        drawString(rcLayout, text.Get());
}

} // namespace Veneer
