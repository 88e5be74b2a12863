#pragma once
// The model and the settings measure in twips; the views draw at 15 twips per
// logical pixel. Colours are stored as 0x00BBGGRR values.

#include <QColor>
#include <QRect>
#include <cmath>
#include <cstdint>

namespace kelbrin {

constexpr int kTwipsPerPixel = 15;

inline int TwipsToPx(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline int PxToTwips(int px) { return px * kTwipsPerPixel; }

struct TwipRect {
    double left = 0, top = 0, width = 0, height = 0;
    QRect toPx() const {
        return QRect(TwipsToPx(left), TwipsToPx(top), std::max(0, TwipsToPx(width)),
                     std::max(0, TwipsToPx(height)));
    }
    static TwipRect fromPx(const QRect& r) {
        return {double(PxToTwips(r.x())), double(PxToTwips(r.y())), double(PxToTwips(r.width())),
                double(PxToTwips(r.height()))};
    }
};

inline QColor ColourFromBgr(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
inline std::uint32_t BgrFromColour(const QColor& c) {
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

} // namespace kelbrin
