#include "veneer/resource/ColorShift.h"

#include <cmath>

namespace Veneer
{

namespace
{

struct Hsl
{
    double h; // degrees
    double s; // 0..1 for real colours
    double l; // 0..1 for real colours
};

Hsl RgbToHsl(double r, double g, double b)
{
    const double hi = std::fmax(r, std::fmax(g, b));
    const double lo = std::fmin(r, std::fmin(g, b));
    Hsl c{0.0, 0.0, (hi + lo) / 2.0};
    const double d = hi - lo;
    if (d == 0.0)
        return c;
    c.s = c.l > 0.5 ? d / (2.0 - hi - lo) : d / (hi + lo);
    if (hi == r)
        c.h = (g - b) / d + (g < b ? 6.0 : 0.0);
    else if (hi == g)
        c.h = (b - r) / d + 2.0;
    else
        c.h = (r - g) / d + 4.0;
    c.h *= 60.0;
    return c;
}

// One channel of the HSL-to-RGB conversion; t is the hue as a fraction of
// the circle, offset for the channel, and may lie outside 0..1.
double HueToChannel(double p, double q, double t)
{
    t -= std::floor(t);
    if (t < 1.0 / 6.0)
        return p + (q - p) * 6.0 * t;
    if (t < 0.5)
        return q;
    if (t < 2.0 / 3.0)
        return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

DWORD ToByte(double v)
{
    const double scaled = std::floor(v * 255.0 + 0.5);
    return static_cast<DWORD>(scaled < 0.0 ? 0.0 : (scaled > 255.0 ? 255.0 : scaled));
}

} // namespace

DWORD CColorShift::Apply(DWORD dwColor, short H, short S, short L)
{
    if (H == kNeutralHue && S == kNeutralPercent && L == kNeutralPercent)
        return dwColor;

    // Step 1: the colour bytes in COLORREF order (red in the low byte).
    Hsl c = RgbToHsl(GetRValue(dwColor) / 255.0, GetGValue(dwColor) / 255.0, GetBValue(dwColor) / 255.0);

    // Step 2: the shift.
    c.h += H - kNeutralHue;
    if (c.h <= 0.0)
        c.h += 360.0;
    c.s *= static_cast<double>(S) / kNeutralPercent;
    c.l *= static_cast<double>(L) / kNeutralPercent;

    // Step 3: back to RGB, each channel clamped, into the bytes it came from.
    double r = c.l, g = c.l, b = c.l;
    if (c.s != 0.0)
    {
        const double q = c.l < 0.5 ? c.l * (1.0 + c.s) : c.l + c.s - c.l * c.s;
        const double p = 2.0 * c.l - q;
        const double t = c.h / 360.0;
        r = HueToChannel(p, q, t + 1.0 / 3.0);
        g = HueToChannel(p, q, t);
        b = HueToChannel(p, q, t - 1.0 / 3.0);
    }
    return (dwColor & 0xFF000000) | ToByte(r) | (ToByte(g) << 8) | (ToByte(b) << 16);
}

} // namespace Veneer
