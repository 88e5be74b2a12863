#include "ProgramIconGlyphs.h"

#include "ProgramIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <initializer_list>

namespace kelbrin {

namespace {

constexpr QRgb kNone = 0x00000000;
constexpr QRgb kInk = 0xff37474f;
constexpr QRgb kPaper = 0xffffffff;
constexpr QRgb kGreyLine = 0xff90a4ae;
constexpr QRgb kGreen = 0xff2e7d32;
constexpr QRgb kRed = 0xffc62828;
constexpr QRgb kBlue = 0xff1565c0;
constexpr QRgb kAmber = 0xffffb300;
constexpr QRgb kAmberDark = 0xff8d6e00;
// Loops and links keep the colours of the loop and successor lines of the track graph.
constexpr QRgb kLoop = 0xffad1457;
constexpr QRgb kLink = 0xff1565c0;

// Drawing primitives on the 24 x 24 grid; in the disabled look every colour
// becomes a pale grey of the same lightness.
class Canvas {
public:
    Canvas(QPainter& painter, bool disabled) : p(painter), m_disabled(disabled) {}

    QColor color(QRgb rgb) const {
        QColor c = QColor::fromRgba(rgb);
        if (m_disabled && qAlpha(rgb) > 0) {
            const int grey = 150 + qGray(rgb) * 90 / 255;
            c = QColor(grey, grey, grey, 200);
        }
        return c;
    }
    QPen pen(QRgb rgb, qreal width) const {
        if (qAlpha(rgb) == 0)
            return Qt::NoPen;
        return QPen(color(rgb), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }
    void stroke(const QPainterPath& path, QRgb rgb, qreal width = 2.0) {
        p.setPen(pen(rgb, width));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    void fill(const QPainterPath& path, QRgb inside, QRgb outline = kInk, qreal width = 1.2) {
        p.setPen(pen(outline, width));
        p.setBrush(qAlpha(inside) == 0 ? QBrush(Qt::NoBrush) : QBrush(color(inside)));
        p.drawPath(path);
    }
    void line(QPointF a, QPointF b, QRgb rgb, qreal width = 2.0) {
        p.setPen(pen(rgb, width));
        p.drawLine(a, b);
    }
    void polyline(std::initializer_list<QPointF> points, QRgb rgb, qreal width = 2.0) {
        stroke(Polygon(points, false), rgb, width);
    }
    void polygon(std::initializer_list<QPointF> points, QRgb inside, QRgb outline = kNone,
                 qreal width = 1.2) {
        fill(Polygon(points, true), inside, outline, width);
    }
    void rect(const QRectF& r, QRgb inside, QRgb outline = kInk, qreal radius = 0,
              qreal width = 1.2) {
        QPainterPath path;
        path.addRoundedRect(r, radius, radius);
        fill(path, inside, outline, width);
    }
    void circle(QPointF centre, qreal radius, QRgb inside, QRgb outline = kInk, qreal width = 1.2) {
        QPainterPath path;
        path.addEllipse(centre, radius, radius);
        fill(path, inside, outline, width);
    }

    QPainter& p;

private:
    static QPainterPath Polygon(std::initializer_list<QPointF> points, bool closed) {
        QPainterPath path;
        bool first = true;
        for (const QPointF& point : points) {
            if (first)
                path.moveTo(point);
            else
                path.lineTo(point);
            first = false;
        }
        if (closed)
            path.closeSubpath();
        return path;
    }

    bool m_disabled;
};

// ---- shared parts -----------------------------------------------------------

// An arc around `centre` from `startDeg` over `sweepDeg` (counter-clockwise when
// positive), with a filled arrow head where it ends.
void ArcArrow(Canvas& c, QPointF centre, qreal radius, qreal startDeg, qreal sweepDeg, QRgb rgb,
              qreal width = 2.2) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(box, startDeg);
    arc.arcTo(box, startDeg, sweepDeg);
    c.stroke(arc, rgb, width);

    const qreal end = qDegreesToRadians(startDeg + sweepDeg);
    const qreal turn = sweepDeg >= 0 ? 1.0 : -1.0;
    const QPointF tip(centre.x() + radius * qCos(end), centre.y() - radius * qSin(end));
    const QPointF dir(-turn * qSin(end), -turn * qCos(end));
    const QPointF normal(-dir.y(), dir.x());
    const qreal head = width * 1.5;
    c.polygon({tip + dir * head * 1.2, tip + normal * head, tip - normal * head}, rgb);
}

void Plus(Canvas& c, QPointF centre, qreal arm, QRgb rgb, qreal width) {
    c.line(centre - QPointF(arm, 0), centre + QPointF(arm, 0), rgb, width);
    c.line(centre - QPointF(0, arm), centre + QPointF(0, arm), rgb, width);
}

void Cross(Canvas& c, QPointF centre, qreal arm, QRgb rgb, qreal width) {
    c.line(centre - QPointF(arm, arm), centre + QPointF(arm, arm), rgb, width);
    c.line(centre + QPointF(arm, -arm), centre - QPointF(arm, -arm), rgb, width);
}

void PlusBadge(Canvas& c, QPointF centre) {
    c.circle(centre, 4.8, kPaper, kGreen, 1.2);
    Plus(c, centre, 2.6, kGreen, 2.0);
}

void CrossBadge(Canvas& c, QPointF centre) {
    c.circle(centre, 4.8, kPaper, kRed, 1.2);
    Cross(c, centre, 2.0, kRed, 2.0);
}

// A sheet of paper with a folded top-right corner.
void Sheet(Canvas& c, const QRectF& r, qreal fold = 3.5) {
    QPainterPath body;
    body.moveTo(r.left(), r.top());
    body.lineTo(r.right() - fold, r.top());
    body.lineTo(r.right(), r.top() + fold);
    body.lineTo(r.right(), r.bottom());
    body.lineTo(r.left(), r.bottom());
    body.closeSubpath();
    c.fill(body, kPaper, kInk, 1.2);
    c.polyline({{r.right() - fold, r.top()},
                {r.right() - fold, r.top() + fold},
                {r.right(), r.top() + fold}},
               kInk, 1.0);
}

void TextLines(Canvas& c, qreal left, qreal right, std::initializer_list<qreal> ys) {
    for (const qreal y : ys)
        c.line({left, y}, {right, y}, kGreyLine, 1.4);
}

void Clipboard(Canvas& c) {
    c.rect({4.5, 4, 15, 18}, 0xffa1887f, 0xff5d4037, 1.5);
    c.rect({7, 7, 10, 13}, kPaper, kNone);
    c.rect({8.5, 2.5, 7, 3.5}, 0xff78909c, kInk, 1);
    TextLines(c, 8.5, 15.5, {10, 13, 16});
}

void Folder(Canvas& c) {
    QPainterPath body;
    body.moveTo(2.5, 6);
    body.lineTo(9, 6);
    body.lineTo(11, 8);
    body.lineTo(21.5, 8);
    body.lineTo(21.5, 19.5);
    body.lineTo(2.5, 19.5);
    body.closeSubpath();
    c.fill(body, kAmber, kAmberDark);
    c.line({2.5, 10}, {21.5, 10}, kAmberDark, 1.0);
}

void OpenFolder(Canvas& c) {
    QPainterPath back;
    back.moveTo(2.5, 19.5);
    back.lineTo(2.5, 5.5);
    back.lineTo(9, 5.5);
    back.lineTo(11, 7.5);
    back.lineTo(18.5, 7.5);
    back.lineTo(18.5, 10.5);
    c.fill(back, 0xffffa000, kAmberDark);
    c.polygon({{2.5, 19.5}, {6.5, 10.5}, {22.5, 10.5}, {18.5, 19.5}}, 0xffffd54f, kAmberDark);
}

void Floppy(Canvas& c) {
    c.polygon({{4, 4}, {17, 4}, {20, 7}, {20, 20}, {4, 20}}, 0xff1e88e5, 0xff0d47a1);
    c.rect({7, 4, 9, 5.5}, 0xffcfd8dc, 0xff0d47a1);
    c.rect({12.5, 5, 2, 3.5}, 0xff0d47a1, kNone);
    c.rect({6.5, 12.5, 11, 7.5}, kPaper, kNone);
    TextLines(c, 8.5, 15.5, {15, 17.5});
}

void Loop(Canvas& c) {
    ArcArrow(c, {10, 11}, 6.5, 100, 290, kLoop, 2.4);
}

void Triangle(Canvas& c, QPointF a, QPointF b, QPointF d, QRgb rgb) {
    c.polygon({a, b, d}, rgb, rgb, 1.0);
}

// A seven-segment digit in the box r (thin strokes, so it reads at 16 pixels).
void Digit(Canvas& c, int digit, const QRectF& r, QRgb rgb, qreal width = 1.7) {
    static const char* const kSegments[10] = {"abcdef", "bc",     "abged", "abgcd",   "fgbc",
                                              "afgcd",  "afgedc", "abc",   "abcdefg", "abcdfg"};
    const QPointF tl = r.topLeft(), tr = r.topRight(), bl = r.bottomLeft(), br = r.bottomRight();
    const QPointF ml(r.left(), r.center().y()), mr(r.right(), r.center().y());
    // Segments a to g: top, upper right, lower right, bottom, lower left, upper left, middle.
    const QPointF ends[7][2] = {{tl, tr}, {tr, mr}, {mr, br}, {bl, br},
                                {ml, bl}, {tl, ml}, {ml, mr}};
    for (const char* s = kSegments[digit % 10]; *s; ++s)
        c.line(ends[*s - 'a'][0], ends[*s - 'a'][1], rgb, width);
}

void ChainLinks(Canvas& c, qreal gap) {
    c.p.save();
    c.p.translate(12, 12);
    c.p.rotate(-45);
    c.p.translate(-12, -12);
    // `gap` below 0 makes the links overlap; the pair always spans 1..23.
    const qreal width = 11 - gap / 2;
    c.rect({12 - gap / 2 - width, 8.5, width, 7}, kNone, kLink, 3.5, 2.2);
    c.rect({12 + gap / 2, 8.5, width, 7}, kNone, kLink, 3.5, 2.2);
    c.p.restore();
}

void Note(Canvas& c, QRgb rgb) {
    QPainterPath heads;
    heads.addEllipse(QPointF(7, 17.5), 3, 2.3);
    heads.addEllipse(QPointF(17, 15.5), 3, 2.3);
    c.fill(heads, rgb, kNone);
    c.line({9.8, 17}, {9.8, 5.5}, rgb, 1.6);
    c.line({19.8, 15}, {19.8, 3.5}, rgb, 1.6);
    c.polygon({{9.8, 5.5}, {19.8, 3.5}, {19.8, 6.8}, {9.8, 8.8}}, rgb, rgb, 0.8);
}

// Numbers no control names: a quiet tile with the last two digits of the number.
void Neutral(Canvas& c, int number) {
    c.rect({3, 3, 18, 18}, 0xffeceff1, kGreyLine, 3);
    Digit(c, (number / 10) % 10, {6.5, 7.5, 4.5, 9}, 0xff607d8b);
    Digit(c, number % 10, {13, 7.5, 4.5, 9}, 0xff607d8b);
}

// ---- the glyphs -------------------------------------------------------------

// The dialogs' file buttons and the player's buttons; false for a number of another group.
bool PaintFileAndPlayerGlyph(Canvas& c, int number) {
    switch (number) {
    case 1101: // cancel
        Cross(c, {12, 12}, 7, kRed, 3.2);
        break;
    case 1102: // OK
        c.polyline({{4.5, 12.5}, {9.5, 17.5}, {19.5, 6.5}}, kGreen, 3.2);
        break;
    case 1103: // open a file
        OpenFolder(c);
        break;
    case 1104: // delete
        c.line({4, 6.5}, {20, 6.5}, kInk, 2);
        c.rect({9.5, 3.5, 5, 3}, kNone, kInk, 0.8, 1.4);
        c.polygon({{6, 8.5}, {7.2, 20.5}, {16.8, 20.5}, {18, 8.5}}, 0xffeceff1, kInk);
        c.line({10, 11}, {10.3, 18}, kInk, 1.2);
        c.line({14, 11}, {13.7, 18}, kInk, 1.2);
        break;
    case 1105: // add
        Plus(c, {12, 12}, 8, kGreen, 3.4);
        break;
    case 1106: // properties: a pencil
        c.polygon({{15.5, 3.5}, {20.5, 8.5}, {9, 20}, {4, 15}}, kAmber, kInk);
        c.polygon({{15.5, 3.5}, {20.5, 8.5}, {18.5, 10.5}, {13.5, 5.5}}, 0xffef9a9a, kInk);
        c.polygon({{4, 15}, {9, 20}, {3, 21}}, 0xffffe0b2, kInk);
        break;
    case 1107: // next
        Triangle(c, {5, 5}, {15, 12}, {5, 19}, kBlue);
        c.rect({16, 5, 3, 14}, kBlue, kNone);
        break;
    case 1111: // save
        Floppy(c);
        break;
    case 1112: // back by the seek step
        Triangle(c, {12, 6}, {4, 12}, {12, 18}, kBlue);
        Triangle(c, {20, 6}, {12, 12}, {20, 18}, kBlue);
        break;
    case 1113: // choose a folder
        Folder(c);
        break;
    case 1115: // read again
        ArcArrow(c, {12, 12}, 7.5, 60, 270, kGreen, 2.4);
        break;
    case 1116: // play
        Triangle(c, {6, 4}, {20, 12}, {6, 20}, kGreen);
        break;
    case 1117: // previous
        c.rect({5, 5, 3, 14}, kBlue, kNone);
        Triangle(c, {19, 5}, {9, 12}, {19, 19}, kBlue);
        break;
    case 1118: // forward by the seek step
        Triangle(c, {4, 6}, {12, 12}, {4, 18}, kBlue);
        Triangle(c, {12, 6}, {20, 12}, {12, 18}, kBlue);
        break;
    case 1119: // stop
        c.rect({5.5, 5.5, 13, 13}, kRed, kNone, 1.5);
        break;
    case 1122: // pause
        c.rect({6, 5, 4, 14}, kBlue, kNone, 0.8);
        c.rect({14, 5, 4, 14}, kBlue, kNone, 0.8);
        break;
    default:
        return false;
    }
    return true;
}

// The options menu, the tag editor, the start and track boxes and the text;
// false for a number of another group.
bool PaintTrackGlyph(Canvas& c, int number) {
    switch (number) {
    case 1127: // options menu
        for (const qreal y : {7.0, 12.0, 17.0})
            c.line({4, y}, {13, y}, kInk, 2);
        Triangle(c, {15.5, 10}, {21.5, 10}, {18.5, 14}, kInk);
        break;
    case 1128: // tag editor
        c.polygon({{3, 12}, {10, 4.5}, {20.5, 4.5}, {20.5, 19.5}, {10, 19.5}}, 0xffffcc80,
                  0xffe65100);
        c.circle({8.5, 12}, 1.6, kPaper, 0xffe65100);
        for (const qreal y : {9.5, 12.0, 14.5})
            c.line({12.5, y}, {y < 14 ? 18.0 : 16.0, y}, 0xffe65100, 1.2);
        break;
    case 1129: // start: a flag
        c.line({6, 3}, {6, 21}, kInk, 2);
        c.polygon({{6, 4}, {19, 4}, {16, 8.5}, {19, 13}, {6, 13}}, 0xff43a047, 0xff1b5e20);
        break;
    case 1130: // a track
        Note(c, kBlue);
        break;
    case 1131: // a playing track, in the colour of a playing box
        Note(c, 0xffd32f2f);
        break;
    case 1142: // the text
        Sheet(c, {4, 2.5, 16, 19});
        for (const qreal y : {8.0, 11.0, 14.0, 17.0})
            c.line({7, y}, {17, y}, kInk, 1.4);
        break;
    default:
        return false;
    }
    return true;
}

// The link, loop, lock, clipboard and label commands; false for a number of
// another group.
bool PaintTrackCommandGlyph(Canvas& c, int number) {
    switch (number) {
    case 1143: // add a loop
        Loop(c);
        PlusBadge(c, {18, 18});
        break;
    case 1144: // remove the loop
        Loop(c);
        CrossBadge(c, {18, 18});
        break;
    case 1145: // connect
        ChainLinks(c, -3);
        break;
    case 1146: // disconnect
        ChainLinks(c, 3);
        c.line({8.5, 8.5}, {6.5, 6.5}, kRed, 1.6);
        c.line({15.5, 15.5}, {17.5, 17.5}, kRed, 1.6);
        break;
    case 1147: // lock
    {
        QPainterPath shackle;
        shackle.moveTo(8, 11);
        shackle.lineTo(8, 8);
        shackle.arcTo(QRectF(8, 3.5, 8, 9), 180, -180);
        shackle.lineTo(16, 11);
        c.stroke(shackle, kInk, 2.2);
        c.rect({5, 10.5, 14, 10.5}, kAmber, kAmberDark, 1.5);
        c.circle({12, 14.8}, 1.5, kInk, kNone);
        c.line({12, 15}, {12, 18}, kInk, 1.4);
        break;
    }
    case 1148: // cut
        c.line({9, 15.5}, {16.5, 3.5}, kInk, 2);
        c.line({15, 15.5}, {7.5, 3.5}, kInk, 2);
        c.circle({7, 17.5}, 3, kNone, kRed, 2);
        c.circle({17, 17.5}, 3, kNone, kRed, 2);
        c.circle({12, 10.7}, 1, kInk, kNone);
        break;
    case 1149: // copy
        Sheet(c, {3, 2, 11, 14}, 3);
        Sheet(c, {9, 7, 12, 15}, 3);
        TextLines(c, 11.5, 18.5, {12, 15, 18});
        break;
    case 1150: // paste
        Clipboard(c);
        break;
    case 1151: // paste as a new track
        Clipboard(c);
        PlusBadge(c, {18, 18});
        break;
    case 1152: // label
        c.rect({2.5, 6.5, 19, 11}, 0xfffff9c4, kInk, 2);
        c.line({6.5, 9.5}, {12.5, 9.5}, kInk, 2);
        c.line({9.5, 9.5}, {9.5, 15}, kInk, 2);
        TextLines(c, 14.5, 18.5, {12, 15});
        break;
    case 1153: // save the tracks
        c.polyline({{4, 14}, {4, 20}, {20, 20}, {20, 14}}, kInk, 2);
        c.line({12, 3}, {12, 15}, kBlue, 2.6);
        c.polyline({{7.5, 10.5}, {12, 15}, {16.5, 10.5}}, kBlue, 2.6);
        break;
    case 1154: // number of loop passes
        Loop(c);
        for (const qreal x : {17.0, 19.5, 22.0})
            c.line({x, 15}, {x, 21.5}, kInk, 1.6);
        break;
    default:
        return false;
    }
    return true;
}

// Marks, edits, units and the recorder's states; false for a number of another group.
bool PaintEditAndRecordingGlyph(Canvas& c, int number) {
    switch (number) {
    case 1155: // set the begin mark
        c.polyline({{10, 4}, {6, 4}, {6, 20}, {10, 20}}, kGreen, 2.4);
        Triangle(c, {11, 8}, {18, 12}, {11, 16}, kGreen);
        break;
    case 1156: // set the end mark
        c.polyline({{14, 4}, {18, 4}, {18, 20}, {14, 20}}, kRed, 2.4);
        Triangle(c, {13, 8}, {6, 12}, {13, 16}, kRed);
        break;
    case 1157: // move up
        c.line({12, 20}, {12, 5}, kBlue, 3);
        c.polyline({{5.5, 11}, {12, 4.5}, {18.5, 11}}, kBlue, 3);
        break;
    case 1158: // move down
        c.line({12, 4}, {12, 19}, kBlue, 3);
        c.polyline({{5.5, 13}, {12, 19.5}, {18.5, 13}}, kBlue, 3);
        break;
    case 1159: // undo
        ArcArrow(c, {12, 13}, 6.5, -60, 200, kBlue, 2.4);
        break;
    case 1160: // redo
        ArcArrow(c, {12, 13}, 6.5, 240, -200, kBlue, 2.4);
        break;
    case 1161: // recording
        c.circle({12, 12}, 10.5, 0xffffcdd2, kNone);
        c.circle({12, 12}, 7, 0xfff44336, 0xffb71c1c);
        break;
    case 1162: // record
        c.circle({12, 12}, 7.5, kRed, 0xff8e0000);
        break;
    case 1163: // paused while recording
        c.circle({12, 12}, 10, 0xffffe082, kAmber);
        c.rect({8, 7, 3, 10}, 0xffe65100, kNone, 0.6);
        c.rect({13, 7, 3, 10}, 0xffe65100, kNone, 0.6);
        break;
    case 1164: // units: frames or time
        c.circle({12, 12}, 9, kPaper, kInk, 1.8);
        for (const QPointF& tick : {QPointF(0, -1), QPointF(1, 0), QPointF(0, 1), QPointF(-1, 0)})
            c.line(QPointF(12, 12) + tick * 7, QPointF(12, 12) + tick * 8.2, kInk, 1.2);
        c.line({12, 12}, {12, 6.5}, kInk, 1.8);
        c.line({12, 12}, {16, 14}, kInk, 1.8);
        break;
    case 1165: // back 5 seconds
        c.polyline({{10, 6}, {4, 12}, {10, 18}}, kBlue, 2.6);
        Digit(c, 5, {13.5, 6.5, 6, 11}, kInk, 2);
        break;
    case 1166: // forward 5 seconds
        Digit(c, 5, {4.5, 6.5, 6, 11}, kInk, 2);
        c.polyline({{14, 6}, {20, 12}, {14, 18}}, kBlue, 2.6);
        break;
    default:
        return false;
    }
    return true;
}

void PaintGlyph(Canvas& c, int number) {
    if (!PaintFileAndPlayerGlyph(c, number) && !PaintTrackGlyph(c, number) &&
        !PaintTrackCommandGlyph(c, number) && !PaintEditAndRecordingGlyph(c, number))
        Neutral(c, number);
}

} // namespace

bool PaintProgramGlyph(QPainter& painter, int number, bool disabled) {
    if (number < kFirstProgramIcon || number > kLastProgramIcon)
        return false;
    Canvas canvas(painter, disabled);
    PaintGlyph(canvas, number);
    return true;
}

} // namespace kelbrin
