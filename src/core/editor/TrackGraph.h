#pragma once
// The track graph as the drawing surface, the list and the commands read it:
// number-to-position lookup, box colours, the link lines between box centres,
// the two hit tests and the hover texts. Everything works on the track
// collection alone and in the model's units (twips), so the views only convert
// and paint, and can never disagree with the model.

#include <QList>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;

// Colours, 0x00BBGGRR.
namespace graph_colour {
constexpr std::uint32_t Locked = 0xFF0000;   // blue
constexpr std::uint32_t Looped = 0xFF00FF;   // magenta
constexpr std::uint32_t Plain = 0x00FF00;    // green
constexpr std::uint32_t StartBox = 0xFFFF00; // cyan
constexpr std::uint32_t Playing = 0x0000FF;  // red
constexpr std::uint32_t SuccessorLine = 0xFF0000;
constexpr std::uint32_t LoopLine = 0xFF00FF;
} // namespace graph_colour

// A box is hit within this distance of its centre along both axes (strictly).
constexpr int kBoxHitRadius = 100;
// The default and the limits of the NodeSize setting.
constexpr int kDefaultNodeSize = 450;
int NodeSizeFromSetting(const QString& value);

// The position (1-based) of the track with this number; 0 for the start box
// (number 0) and for a number that no track has. Numbers are for life,
// positions shift after a deletion, so the lookup always asks the collection.
std::int32_t ItemTracka(const cPozycjeMP3& tracks, std::int32_t number);
std::shared_ptr<cPozycjaMP3> TrackByNumber(const cPozycjeMP3& tracks, std::int32_t number);

// The colour of a track's box: locked blue, else playing red, else looped
// (a loop count of 1 or more) magenta, else green.
std::uint32_t BoxColour(const cPozycjaMP3& track);

// One link line from the track at `position` (end A, its centre) to its
// predecessor or loop target (end B). `target` is a track number, 0 for the
// start box.
struct LinkLine {
    std::int32_t position = 0;
    std::int32_t target = 0;
    bool loop = false;
    QPoint a, b;
    bool operator==(const LinkLine&) const = default;
};

// Every line the surface shows, successor lines first in collection order,
// then each track's loop line: a track following the start box has one line
// to `startCentre`; a detached track (lngTrack = its own number) has none; a
// link to a number no track has shows nothing; a loop to the track itself has
// zero length and is left out.
QList<LinkLine> CollectLinkLines(const cPozycjeMP3& tracks, QPoint startCentre);

// The distance from a point to the segment a-b.
double DistanceToSegment(QPointF p, QPointF a, QPointF b);

// The first line within `tolerance` of the point, measured to the segment
// (so vertical and horizontal lines are hit like any other). Lines are tried
// track by track in collection order, and a track's loop line before its
// successor line, whatever the order of `lines`.
std::optional<LinkLine> HitLinkLine(const QList<LinkLine>& lines, QPoint p, int tolerance);

// The box under the point: the start box first, then the tracks by ascending
// number; a box is hit strictly within kBoxHitRadius of its centre on both
// axes, whatever its drawn size. -1 when none.
std::int32_t HitBox(const cPozycjeMP3& tracks, QPoint startCentre, QPoint p,
                    std::int32_t skipNumber = -1);

// The successor lists rebuilt from the stored links: for every position the
// tracks that follow it (mode 2), then each list sorted (mode 3).
void RebuildAllSuccessors(cPozycjeMP3& tracks);
// The redraw's rebuild after a project load: appends (mode 0) every linked
// track to its predecessor's list, in collection order.
void AppendSuccessorsFromLinks(cPozycjeMP3& tracks);

// The player's step to the next successor of the track at `position`:
// lngColNastepnikIndex moves on by one through the successor list and, past
// its end, to 0 (none), from where the next step starts at the first entry
// again. lngOverTakingIndex (the chosen successor's position) and
// sngOverTaking (its overtake) follow the choice; none gives 0 and -100000.
void NextSuccessor(cPozycjeMP3& tracks, std::int32_t position);

// Hover texts. Over the start box: text 3094. Over a track's box: the node
// line, the range, the loop, the unit, volume, balance, speed and file name,
// one part a line. Over a link line: the track's label and the volumes.
QString StartBoxHoverText();
QString TrackHoverText(const cPozycjeMP3& tracks, const cPozycjaMP3& track);
QString LinkHoverText(const cPozycjeMP3& tracks, const LinkLine& line);

} // namespace kelbrin
