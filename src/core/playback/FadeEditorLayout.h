#pragma once
// Where the fade editor's controls and the lines of its envelope graph go, in
// twips, for a window size and the bars' values. The window only moves its
// controls and draws the lines given here.
//
// The graph: the fade-out side on the left (the box before the fade, the ramp
// from its top-right corner down to the vertical line at the middle, the
// length bar under it), the fade-in side placed by the overtake (its start
// line, the ramp, the length bar and the box after the ramp), and the two
// preview markers: the from-marker on the left half (x = value / 65535 x
// width), the to-marker on the span from the fade-in's start to the right
// edge of its box. Graph coordinates are relative to the graph.

#include "FadeEditorBars.h"

#include <cstdint>

namespace kelbrin {

constexpr int kFadeEditorMinWidth = 4575;
constexpr int kFadeEditorMinHeight = 4410;
constexpr int kMarkerHitTwips = 20;
constexpr int kMarkerScale = 32767;

struct TwipBox {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

struct TwipLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool visible = false;
};

struct FadeEnvelope {
    int width = 0, height = 0; // of the graph
    TwipBox shpFadeOut, shpFadeIn;
    TwipLine LineFadeOut1, LineFadeOut2, Line2, LineFadeOutCloack;
    TwipLine LineFadeIn1, LineFadeIn2, Line1, LineFadeInCloack;
    TwipLine LineFrom, LineTo;
};

struct FadeEditorLayout {
    int width = 0, height = 0; // the window, after the minimum
    TwipBox VScrVolumeOut, VScrVolumeOutEnd, fraGraf, VScrVolumeInStart, VScrVolumeIn;
    TwipBox HScrFadeOutTime, HScrFadeInTime, HscrOvertake;
    TwipBox lblFadeOutTime, lblFadeInTime, lblOverTake;
    TwipBox cmdMove0, cmdPlay, cmdMenu, cmdStop, cmdMove1, cboDevice;
    TwipBox shpTrack0, shpTrack1, lblFadeOutName, lblFadeInName;
    TwipLine LineImg;
    FadeEnvelope graph;
};

struct FadeMarkers {
    std::int32_t from = 1000; // ending track's lngMarkerFrom
    std::int32_t to = 31767;  // starting track's lngMarkerTo
};

// The whole window for its size; `endingShown` false hides the fade-out side.
FadeEditorLayout LayOutFadeEditor(int width, int height, const FadeEditorBars& bars, const FadeMarkers& markers,
                                  bool endingShown);
// The graph alone.
FadeEnvelope LayOutFadeEnvelope(int graphWidth, int graphHeight, const FadeEditorBars& bars,
                                const FadeMarkers& markers, bool endingShown);

// Marker dragging. Which marker the pointer at x is near: 0 none, 1 the
// from-marker (which wins when both are near), 2 the to-marker.
int MarkerUnderPointer(const FadeEnvelope& g, double x, bool endingShown);
// The from-marker's value for a drag to x, or -1 when x is outside its half.
std::int32_t DragFromMarker(const FadeEnvelope& g, double x);
// The to-marker's value for a drag to x, or -1 when x is outside its span.
std::int32_t DragToMarker(const FadeEnvelope& g, double x);

// "m:s:hh" of a time in seconds (hundredths cut, not rounded).
QString MarkerTimeText(float seconds);
// The source times of the two markers: the ending track's end less
// (32767 - from) ms (0 at the least), the starting track's begin plus to ms.
// `fromBeforeStart` tells that the from-marker would lie before the source's start.
void MarkerTimes(const cPozycjaMP3& ending, const cPozycjaMP3& starting, float& endTime, float& startTime,
                 bool& fromBeforeStart);

} // namespace kelbrin
