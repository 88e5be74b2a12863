#include "TrackGraph.h"

#include "core/app/Numbers.h"
#include "core/app/SettingsOptions.h"
#include "core/app/TextCatalog.h"
#include "core/document/Successors.h"
#include "core/document/cPozycjeMP3.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace kelbrin {

int NodeSizeFromSetting(const QString& value) {
    const int size = value.isEmpty() ? kDefaultNodeSize : ValLong(value);
    return (size < kNodeSizeMin || size > kNodeSizeMax) ? kDefaultNodeSize : size;
}

std::int32_t ItemTracka(const cPozycjeMP3& tracks, std::int32_t number) {
    return tracks.PositionOf(number);
}

std::shared_ptr<cPozycjaMP3> TrackByNumber(const cPozycjeMP3& tracks, std::int32_t number) {
    const std::int32_t position = ItemTracka(tracks, number);
    return position > 0 ? tracks.Item(position) : nullptr;
}

std::uint32_t BoxColour(const cPozycjaMP3& track) {
    if (track.blnZablokowany)
        return graph_colour::Locked;
    if (track.blnPlayed)
        return graph_colour::Playing;
    if (track.lngLoopCountBackup >= 1)
        return graph_colour::Looped;
    return graph_colour::Plain;
}

QList<LinkLine> CollectLinkLines(const cPozycjeMP3& tracks, QPoint startCentre) {
    QList<LinkLine> lines;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        const QPoint a(t.lngLeft, t.lngTop);
        if (t.lngTrack == 0) {
            lines.append({i, 0, false, a, startCentre});
        } else if (t.lngTrack != t.lngNrPozycji) {
            if (auto p = TrackByNumber(tracks, t.lngTrack))
                lines.append({i, t.lngTrack, false, a, QPoint(p->lngLeft, p->lngTop)});
        }
    }
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (t.lngLoopTrack < 0 || t.lngLoopTrack == t.lngNrPozycji)
            continue;
        if (auto l = TrackByNumber(tracks, t.lngLoopTrack))
            lines.append({i, t.lngLoopTrack, true, QPoint(t.lngLeft, t.lngTop),
                          QPoint(l->lngLeft, l->lngTop)});
    }
    return lines;
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double length2 = dx * dx + dy * dy;
    double t = 0;
    if (length2 > 0)
        t = std::clamp(((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / length2, 0.0, 1.0);
    const double cx = a.x() + t * dx - p.x(), cy = a.y() + t * dy - p.y();
    return std::sqrt(cx * cx + cy * cy);
}

std::optional<LinkLine> HitLinkLine(const QList<LinkLine>& lines, QPoint p, int tolerance) {
    // Track by track in collection order, each track's loop line before its
    // successor line: a loop lying on the successor line must stay reachable.
    QList<const LinkLine*> order;
    for (const LinkLine& line : lines)
        order.append(&line);
    std::stable_sort(order.begin(), order.end(), [](const LinkLine* x, const LinkLine* y) {
        if (x->position != y->position)
            return x->position < y->position;
        return x->loop && !y->loop;
    });
    for (const LinkLine* line : order)
        if (line->a != line->b && DistanceToSegment(p, line->a, line->b) <= tolerance)
            return *line;
    return std::nullopt;
}

std::int32_t HitBox(const cPozycjeMP3& tracks, QPoint startCentre, QPoint p,
                    std::int32_t skipNumber) {
    auto hit = [&](QPoint c) {
        return std::abs(c.x() - p.x()) < kBoxHitRadius && std::abs(c.y() - p.y()) < kBoxHitRadius;
    };
    if (skipNumber != 0 && hit(startCentre))
        return 0;
    QList<std::pair<std::int32_t, QPoint>> boxes;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        boxes.append({t.lngNrPozycji, QPoint(t.lngLeft, t.lngTop)});
    }
    std::stable_sort(boxes.begin(), boxes.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    for (const auto& [number, centre] : boxes)
        if (number != skipNumber && hit(centre))
            return number;
    return -1;
}

void RebuildAllSuccessors(cPozycjeMP3& tracks) {
    // Every list comes out sorted, so the second pass of sorting has nothing
    // left to move.
    RebuildEverySuccessorList(tracks);
}

void AppendSuccessorsFromLinks(cPozycjeMP3& tracks) {
    for (std::int32_t i = 1; i <= tracks.Count(); ++i)
        tracks.Item(i)->colNastepnik.clear();
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (t.lngTrack == t.lngNrPozycji || t.lngTrack == 0)
            continue;
        if (const std::int32_t p = ItemTracka(tracks, t.lngTrack))
            UpdateSuccessors(tracks, p, i, successors::Append);
    }
}

void NextSuccessor(cPozycjeMP3& tracks, std::int32_t position) {
    auto t = tracks.Item(position);
    if (!t)
        return;
    // The choice runs 1, 2, ..., c, then none, then 1 again: the step to
    // "none" is what tells the player that every successor has been started.
    const std::int32_t k = std::max<std::int32_t>(t->lngColNastepnikIndex, 0) + 1;
    if (!t->colNastepnik.isEmpty() && k <= t->colNastepnik.size()) {
        t->lngColNastepnikIndex = k;
        const std::int32_t next = t->colNastepnik.at(k - 1);
        t->lngOverTakingIndex = next;
        auto successor = (next >= 1 && next <= tracks.Count()) ? tracks.Item(next) : nullptr;
        t->sngOverTaking = successor ? successor->sngOvertake : -100000.0f;
        if (!successor)
            t->lngOverTakingIndex = 0; // a position that no longer exists ends the branch
    } else {
        t->lngColNastepnikIndex = 0;
        t->lngOverTakingIndex = 0;
        t->sngOverTaking = -100000.0f;
    }
}

namespace {

// A catalogue text with its value: filled into "|1" when the text has one,
// else written after it.
QString WithValue(int nr, const QString& value) {
    const QString raw = CatalogText(nr);
    if (raw.contains(QLatin1String("|1")))
        return GetText(nr, QStringLiteral("|1"), value);
    return GetText(nr) + QLatin1Char(' ') + value;
}

QString MinSec(std::int32_t minutes, std::int32_t seconds) {
    return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}

} // namespace

QString StartBoxHoverText() { return GetText(3094); }

QString TrackHoverText(const cPozycjeMP3& tracks, const cPozycjaMP3& t) {
    QStringList parts;
    QString node = GetText(3901, QStringLiteral("|1"), QString::number(t.lngNrPozycji),
                           QStringLiteral("|2"), QString::number(t.colNastepnik.size()));
    if (!t.colNastepnik.isEmpty()) {
        QStringList numbers;
        for (std::int32_t position : t.colNastepnik) {
            auto s = position >= 1 && position <= tracks.Count() ? tracks.Item(position) : nullptr;
            numbers << QString::number(s ? s->lngNrPozycji : 0);
        }
        node += QStringLiteral(" (") + numbers.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    parts << node;
    if (t.blnJednostka)
        parts << GetText(3139, QStringLiteral("|1"), MinSec(t.lngPoczatek_M, t.lngPoczatek_S),
                         QStringLiteral("|2"), MinSec(t.lngKoniec_M, t.lngKoniec_S));
    else
        parts << GetText(3139, QStringLiteral("|1"), QString::number(t.lngRamkaOd),
                         QStringLiteral("|2"), QString::number(t.lngRamkaDo));
    if (t.lngLoopTrack >= 0)
        parts << GetText(3142, QStringLiteral("|1"), QString::number(t.lngLoopTrack),
                         QStringLiteral("|2"), QString::number(t.lngLoopCountBackup));
    if (t.blnJednostka)
        parts << GetText(3032);
    parts << WithValue(2168, QString::number(t.lngVolume)) + QStringLiteral(", ") +
                 WithValue(2159, QString::number(t.lngBalance)) + QStringLiteral(", ") +
                 WithValue(2160, NumberText(t.sngRate));
    parts << WithValue(2127, t.strFileName);
    return parts.join(QLatin1Char('\r'));
}

QString LinkHoverText(const cPozycjeMP3& tracks, const LinkLine& line) {
    auto starting = tracks.Item(line.position);
    if (!starting)
        return QString();
    auto ending = TrackByNumber(tracks, line.target);
    QString text = starting->strLabel + QStringLiteral(", ") +
                   WithValue(2168, QString::number(starting->lngVolume));
    if (ending)
        text += QStringLiteral(", ") + WithValue(3167, QString::number(ending->lngVolumeEnd));
    text += QStringLiteral(", ") + WithValue(3168, QString::number(starting->lngVolumeStart));
    return text;
}

} // namespace kelbrin
