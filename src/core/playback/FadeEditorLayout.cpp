#include "FadeEditorLayout.h"

#include "core/app/Numbers.h"
#include "core/document/cPozycjaMP3.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

namespace {

int R(double v) { return static_cast<int>(RoundHalfEven(v)); }

TwipLine Line(double x1, double y1, double x2, double y2, bool visible = true) {
    return {R(x1), R(y1), R(x2), R(y2), visible};
}

void LayOutFadeOut(FadeEnvelope& g, const FadeEditorBars& bars, bool shown) {
    const int W = g.width, H = g.height;
    const double rOut = bars.volumeOut / -100.0;
    const double rEnd = bars.volumeOutEnd / -100.0;
    TwipBox& box = g.shpFadeOut;
    box.left = 0;
    box.top = R(200 + (H - 300) * rOut);
    box.height = R((1 - rOut) * (H - 300) + 30);
    box.width = R((W / 2.0) * bars.fadeOutTime / kFadeBarMax);
    const double middle = W / 2.0 + 25;
    const double endLevel = 200 + (H - 300) * rEnd;
    g.LineFadeOut1 = Line(box.right(), box.top, middle, endLevel, shown);
    const double barY = box.bottom() - 15;
    g.LineFadeOut2 = Line(box.right(), barY, middle, barY, shown);
    g.Line2 = Line(middle, barY, middle, endLevel, shown);
    g.LineFadeOutCloack =
        Line(box.right() - 15, box.top + 15, box.right() - 15, box.bottom() - 15, shown && box.width > 35);
}

void LayOutFadeIn(FadeEnvelope& g, const FadeEditorBars& bars) {
    const int W = g.width, H = g.height;
    const double xo = g.shpFadeOut.left;
    const int x0 = R(xo + (W - xo) * (double(bars.overtake) / kFadeBarMax));
    const int y0 = 200;
    const int w2 = R(W / 2.0);
    const int h = R(H - 250.0);
    const double cs = std::abs(bars.volumeInStart) / 100.0;
    const double cv = std::abs(bars.volumeIn) / 100.0;
    const double cl = std::abs(bars.fadeInTime) / double(kFadeBarMax);
    const double rampEnd = x0 + (W / 2.0) * cl;
    g.Line1 = Line(x0, y0 + h, x0, y0 + h * cs);
    g.LineFadeIn1 = Line(x0, y0 + h * cs, rampEnd, y0 + h * cv);
    g.LineFadeIn2 = Line(x0, y0 + h - 15, rampEnd, y0 + h - 15);
    TwipBox& box = g.shpFadeIn;
    box.left = g.LineFadeIn1.x2;
    box.width = std::max(0, R(w2 - (W / 2.0) * cl));
    box.top = g.LineFadeIn1.y2;
    box.height = std::max(0, y0 + h - box.top);
    g.LineFadeInCloack = Line(box.left, box.top + 15, box.left, box.bottom() - 15,
                              std::abs(box.left - g.Line1.x2) > 15 && box.width > 35);
}

void PlaceMarkerLines(FadeEnvelope& g, const FadeMarkers& m, bool endingShown) {
    const double xf = double(m.from) / 65535.0 * g.width;
    g.LineFrom = Line(xf, 120, xf, g.height, endingShown);
    const double a = g.LineFadeIn2.x1, b = g.shpFadeIn.right();
    const double xt = a + (b - a) * m.to / double(kMarkerScale);
    g.LineTo = Line(xt, 120, xt, g.height);
}

} // namespace

FadeEnvelope LayOutFadeEnvelope(int graphWidth, int graphHeight, const FadeEditorBars& bars,
                                const FadeMarkers& markers, bool endingShown) {
    FadeEnvelope g;
    g.width = std::max(0, graphWidth);
    g.height = std::max(0, graphHeight);
    LayOutFadeOut(g, bars, endingShown);
    LayOutFadeIn(g, bars);
    PlaceMarkerLines(g, markers, endingShown);
    return g;
}

FadeEditorLayout LayOutFadeEditor(int width, int height, const FadeEditorBars& bars, const FadeMarkers& markers,
                                  bool endingShown) {
    FadeEditorLayout l;
    const int W = l.width = std::max(width, kFadeEditorMinWidth);
    const int H = l.height = std::max(height, kFadeEditorMinHeight);
    const int gh = H - 2710;
    const int gw = W - 525 - 285 - 210 - 150;
    l.VScrVolumeOut = {15, 735, 210, gh};
    l.VScrVolumeOutEnd = {225, 735, 285, gh};
    l.fraGraf = {525, 765, gw, gh};
    l.VScrVolumeInStart = {525 + gw, 750, 285, gh};
    l.VScrVolumeIn = {525 + gw + 285, 750, 210, gh};
    const int rowTop = l.VScrVolumeIn.bottom() + 50;
    l.HScrFadeOutTime = {0, rowTop, W / 2, 240};
    l.HScrFadeInTime = {W / 2, rowTop, W / 2 - 150, 240};
    const int labelTop = rowTop + 240 + 50;
    l.lblFadeOutTime = {0, labelTop, W / 2, 210};
    l.lblFadeInTime = {W / 2, labelTop, W / 2 - 150, 210};
    const int overtakeTop = labelTop + 210 + 50;
    l.HscrOvertake = {W / 2, overtakeTop, W / 2 - 150, 240};
    l.lblOverTake = {W / 2, overtakeTop + 240, W / 2 - 150, 225};
    const int buttonTop = labelTop + 210 + 50;
    l.cmdMove0 = {75, buttonTop, 360, 360};
    l.cmdPlay = {435, buttonTop, 360, 360};
    l.cmdMenu = {795, buttonTop, 180, 360};
    l.cmdStop = {975, buttonTop, 360, 360};
    l.cmdMove1 = {1335, buttonTop, 360, 360};
    l.cboDevice = {75, buttonTop + 360 + 100, W - 200, 315};
    l.shpTrack0 = {570, 0, 660, 660};
    l.shpTrack1 = {W - 615 - 2000, 0, 675, 615};
    // The icons are drawn in the top 400 twips of their pictures, the names
    // under them, above the graph.
    l.LineImg = {l.shpTrack0.left + 330, 200, l.shpTrack1.left + 330, 200, endingShown};
    l.lblFadeOutName = {l.shpTrack0.left, 420, l.shpTrack1.left - l.shpTrack0.left - 60, 240};
    l.lblFadeInName = {l.shpTrack1.left, 420, W - l.shpTrack1.left - 150, 240};
    l.graph = LayOutFadeEnvelope(gw, gh, bars, markers, endingShown);
    return l;
}

int MarkerUnderPointer(const FadeEnvelope& g, double x, bool endingShown) {
    const float dF = static_cast<float>(std::abs(x - g.LineFrom.x1));
    const float dT = static_cast<float>(std::abs(x - g.LineTo.x1));
    if (endingShown && dF < kMarkerHitTwips)
        return 1;
    if (dT < kMarkerHitTwips)
        return 2;
    return 0;
}

std::int32_t DragFromMarker(const FadeEnvelope& g, double x) {
    if (!(x > 0 && 2 * x < g.width))
        return -1;
    return static_cast<std::int32_t>(RoundHalfEven(x / g.width * 65535.0));
}

std::int32_t DragToMarker(const FadeEnvelope& g, double x) {
    const double a = g.LineFadeIn2.x1, b = g.shpFadeIn.right();
    if (!(x > 0 && x < g.width && x > a && x < b))
        return -1;
    return static_cast<std::int32_t>(RoundHalfEven((x - a) / (b - a) * kMarkerScale));
}

QString MarkerTimeText(float seconds) {
    const double t = std::max(0.0f, seconds);
    const std::int64_t whole = static_cast<std::int64_t>(t);
    const QString text = QString::number(double(seconds), 'f', 7 - QString::number(whole).size() > 0
                                                                   ? 7 - QString::number(whole).size()
                                                                   : 0);
    const int dot = text.indexOf(QLatin1Char('.'));
    QString fraction = dot < 0 ? QString() : text.mid(dot + 1);
    fraction = (fraction + QStringLiteral("00")).left(2);
    return QStringLiteral("%1:%2:%3").arg(whole / 60).arg(whole % 60).arg(fraction);
}

void MarkerTimes(const cPozycjaMP3& e, const cPozycjaMP3& s, float& endTime, float& startTime,
                 bool& fromBeforeStart) {
    startTime = TrackBeginSeconds(s) + s.lngMarkerTo / 1000.0f;
    endTime = TrackEndSeconds(e) - (kMarkerScale - e.lngMarkerFrom) / 1000.0f;
    fromBeforeStart = endTime < 0;
    if (fromBeforeStart)
        endTime = 0;
}

} // namespace kelbrin
