#include "TrackSurface.h"

#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/GraphEditor.h"
#include "core/editor/TrackGraph.h"
#include "gui/app/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace kelbrin {

namespace {

int ButtonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return mouse::Left;
    case Qt::RightButton: return mouse::Right;
    case Qt::MiddleButton: return mouse::Middle;
    default: return mouse::None;
    }
}

int ButtonsCode(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? mouse::Left : 0) | (b & Qt::RightButton ? mouse::Right : 0) |
           (b & Qt::MiddleButton ? mouse::Middle : 0);
}

int ShiftCode(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

QRect PxRect(const QRect& twips) {
    return QRect(TwipsToPx(twips.left()), TwipsToPx(twips.top()), TwipsToPx(twips.width()),
                 TwipsToPx(twips.height()));
}

} // namespace

TrackSurface::TrackSurface(GraphEditor& editor, QWidget* parent) : QWidget(parent), m_editor(editor) {
    setObjectName(QStringLiteral("picWork"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    m_labelFont = font();
}

QPoint TrackSurface::toTwips(QPoint px) { return QPoint(PxToTwips(px.x()), PxToTwips(px.y())); }
QPoint TrackSurface::toPixels(QPoint twips) { return QPoint(TwipsToPx(twips.x()), TwipsToPx(twips.y())); }

void TrackSurface::setLabelFontSize(int points) {
    m_labelFont = font();
    m_labelFont.setPointSize(points);
    m_labelTexts.clear();
    update();
}

int TrackSurface::labelFontSize() const { return m_labelFont.pointSize(); }

void TrackSurface::setTimeText(std::int32_t number, const QString& text) {
    // The player writes the text on every pass; it changes once a second.
    const auto it = m_timeTexts.constFind(number);
    if (it != m_timeTexts.cend() && *it == text)
        return;
    const QRect before = timeTextRect(number);
    m_timeTexts.insert(number, text);
    if (m_timeShown.value(number))
        update(before.united(timeTextRect(number)));

}

void TrackSurface::setTimeVisible(std::int32_t number, bool visible) {
    if (m_timeShown.value(number) == visible)
        return;
    m_timeShown.insert(number, visible);
    update(timeTextRect(number));
}

QString TrackSurface::timeText(std::int32_t number) const {
    if (!m_timeShown.value(number))
        return QString();
    return m_timeTexts.value(number, QStringLiteral("0 : 0"));
}

void TrackSurface::clearTimeTexts() {
    m_timeTexts.clear();
    m_timeShown.clear();
    update();
}

void TrackSurface::setPlayColour(std::int32_t number, std::optional<std::uint32_t> colour) {
    const auto it = m_playColours.constFind(number);
    const std::optional<std::uint32_t> now =
        it == m_playColours.cend() ? std::nullopt : std::optional<std::uint32_t>(*it);
    if (now == colour)
        return;
    if (colour)
        m_playColours.insert(number, *colour);
    else
        m_playColours.remove(number);
    update();
}

std::uint32_t TrackSurface::boxColour(std::int32_t number) const {
    const auto track = TrackByNumber(m_editor.tracks(), number);
    if (!track)
        return graph_colour::Plain;
    if (!track->blnZablokowany && m_playColours.contains(number))
        return m_playColours.value(number);
    return BoxColour(*track);
}

QRect TrackSurface::nameLabelRect(std::int32_t number) const {
    const QRect row = nameLabelRow(number);
    if (row.isNull())
        return row;
    QString text;
    if (number == 0) {
        text = GetText(3171);
    } else if (auto t = TrackByNumber(m_editor.tracks(), number)) {
        text = t->strLabel;
    }
    return QRect(row.topLeft(), QSize(std::max(row.width(), QFontMetrics(m_labelFont).horizontalAdvance(text)),
                                      row.height()));
}

QRect TrackSurface::nameLabelRow(std::int32_t number) const {
    if (number != 0 && !m_editor.nameLabelsShown)
        return QRect();
    const int height = QFontMetrics(m_labelFont).height();
    // The label goes along with a dragged box's outline.
    const QRect box = PxRect(m_editor.isDragging() && m_editor.dragBox() == number ? m_editor.moveRect()
                                                                                  : m_editor.boxRect(number));
    if (box.isNull())
        return QRect();
    // A full repaint puts the label half a box height above the box; a box
    // just put down (or being dragged) carries it one label height above.
    const bool carried = number == m_editor.droppedBox() ||
                         (m_editor.isDragging() && m_editor.dragBox() == number);
    const int top = carried ? box.top() - height
                            : TwipsToPx(m_editor.boxRect(number).top() - m_editor.nodeSize() / 2);
    return QRect(box.left(), top, box.width(), height);
}

QRect TrackSurface::timeLabelRect(const QRect& boxPx) const {
    const QFontMetrics metrics(font());
    return QRect(boxPx.left(), boxPx.top() + boxPx.height(), std::max(boxPx.width(), 1), metrics.height());
}

QRect TrackSurface::timeTextRoom(const QRect& boxPx, const QString& shown) const {
    const QRect under = timeLabelRect(boxPx);
    return QRect(under.left(), under.top(), std::max(under.width(), 1) * 4,
                 under.height() * (int(shown.count(QLatin1Char('\n'))) + 1));
}

QRect TrackSurface::timeTextRect(std::int32_t number) const {
    if (!TrackByNumber(m_editor.tracks(), number))
        return QRect();
    const QRect box = PxRect(m_editor.dragBox() == number ? m_editor.moveRect() : m_editor.boxRect(number));
    QString shown = m_timeTexts.value(number, QStringLiteral("0 : 0"));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return timeTextRoom(box, shown);
}

bool TrackSurface::onHelpEdge(QPoint twips) const {
    if (!m_helpEdge)
        return false;
    const std::optional<int> top = m_helpEdge->top();
    return top && twips.y() + kHelpEdgeBand >= *top;
}

void TrackSurface::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const cPozycjeMP3& tracks = m_editor.tracks();
    // Only what reaches the exposed rectangle is drawn: a window showing part
    // of a large graph, or one time label, pays for that part alone.
    const QRect exposed = event->rect();

    // Lines first, so the boxes sit on their ends.
    for (const LinkLine& line : m_editor.visibleLines()) {
        const QPoint a = toPixels(line.a), b = toPixels(line.b);
        if (!QRect(a, b).normalized().adjusted(-2, -2, 2, 2).intersects(exposed))
            continue;
        QPen pen(ColourFromBgr(line.loop ? graph_colour::LoopLine : graph_colour::SuccessorLine), 2,
                 line.loop ? Qt::DashLine : Qt::SolidLine);
        painter.setPen(pen);
        painter.drawLine(a, b);
    }

    const QFontMetrics labelMetrics(m_labelFont);
    if (m_labelTexts.size() > 2 * tracks.Count() + 16)
        m_labelTexts.clear(); // tracks deleted since: lay out the living ones again
    // A box, its name label (at most a box and a label height above, running
    // right) and its time text (under it, in the room it is given).
    auto reaches = [&](const QRect& boxPx, const QString& label, bool labelShown, const QString& shownTime) {
        const int above = labelShown ? boxPx.height() + labelMetrics.height() + 1 : 0;
        const QRect time = shownTime.isEmpty() ? QRect() : timeTextRoom(boxPx, shownTime);
        const int bottom = std::max(boxPx.bottom(), time.isNull() ? boxPx.bottom() : time.bottom());
        if (boxPx.top() - above > exposed.bottom() || bottom < exposed.top() || boxPx.left() > exposed.right())
            return false;
        if (boxPx.right() + 1 >= exposed.left() || time.right() >= exposed.left())
            return true;
        return labelShown && boxPx.left() + labelMetrics.horizontalAdvance(label) + 1 >= exposed.left();
    };
    auto drawLabels = [&](std::int32_t number, const QRect& boxPx, const QString& label,
                          const QString& time) {
        painter.setPen(Qt::black);
        const QRect name = nameLabelRow(number);
        if (!name.isNull() && !label.isEmpty()) {
            QStaticText& laid = m_labelTexts[number];
            if (laid.text() != label) {
                laid = QStaticText(label);
                laid.setTextFormat(Qt::PlainText);
                laid.prepare(QTransform(), m_labelFont);
            }
            painter.setFont(m_labelFont);
            painter.drawStaticText(name.topLeft(), laid);
            painter.setFont(font());
        }
        if (!time.isEmpty())
            painter.drawText(timeTextRoom(boxPx, time), Qt::AlignLeft | Qt::AlignTop, time);
    };
    auto drawBox = [&](const QRect& r, std::uint32_t colour) {
        painter.setPen(QPen(ColourFromBgr(colour).darker(160), 1));
        painter.setBrush(ColourFromBgr(colour));
        painter.drawRect(r);
    };

    const QRect start = PxRect(m_editor.startBox());
    const QString startLabel = GetText(3171);
    if (reaches(start, startLabel, true, QString()) ||
        (m_editor.dragBox() == 0 && reaches(PxRect(m_editor.moveRect()), startLabel, true, QString()))) {
        drawBox(start, graph_colour::StartBox);
        drawLabels(0, m_editor.dragBox() == 0 ? PxRect(m_editor.moveRect()) : start, startLabel, QString());
    }
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        const std::int32_t n = t.lngNrPozycji;
        const bool lifted = m_editor.dragBox() == n;
        const QRect r = PxRect(lifted ? m_editor.moveRect() : m_editor.boxRect(n));
        QString time = timeText(n);
        time.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (!reaches(r, t.strLabel, m_editor.nameLabelsShown, time))
            continue;
        // Lifted: the outline stands in for the box, the labels go with it.
        if (!lifted)
            drawBox(r, boxColour(n));
        drawLabels(n, r, t.strLabel, time);
    }

    painter.setBrush(Qt::NoBrush);
    if (m_editor.isDragging()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(PxRect(m_editor.moveRect()));
    }
    if (!m_editor.selectionRect().isNull()) {
        // The selection pointer is yellow, as the legend shows it.
        painter.setPen(QPen(QColor(255, 255, 0), 2, Qt::SolidLine));
        QRect sel = PxRect(m_editor.selectionRect());
        if (m_editor.isDragging() && m_editor.dragBox() == m_editor.lngSelectedTrack)
            sel = PxRect(m_editor.moveRect().adjusted(-5, -5, 5, 5));
        painter.drawRect(sel);
    }
    if (m_editor.bandVisible()) {
        painter.setPen(QPen(ColourFromBgr(m_editor.bandColour()), 1));
        painter.drawLine(toPixels(m_editor.bandFrom()), toPixels(m_editor.bandTo()));
    }
}

void TrackSurface::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const bool wasLinking = m_editor.linkMode();
    const QPoint twips = toTwips(event->position().toPoint());
    m_editor.mouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), twips);
    m_helpDrag = event->button() == Qt::LeftButton && onHelpEdge(twips) && !m_editor.isDragging() &&
                 !m_editor.linkMode();
    if (wasLinking && !m_editor.linkMode() && event->button() == Qt::RightButton)
        emit linkModeLeft();
}

void TrackSurface::mouseMoveEvent(QMouseEvent* event) {
    const QPoint twips = toTwips(event->position().toPoint());
    const bool onEdge = onHelpEdge(twips);
    m_editor.mouseMove(ButtonsCode(event->buttons()), ShiftCode(event->modifiers()), twips);
    // Once the edge is taken with the left button it follows the pointer
    // until the button is let go, however fast the pointer moves.
    if (event->buttons() != Qt::LeftButton)
        m_helpDrag = false;
    else if (onEdge && !m_editor.isDragging() && !m_editor.linkMode())
        m_helpDrag = true;
    if (m_helpDrag && m_helpEdge)
        m_helpEdge->dragTo(twips.y());
    if (onEdge || m_helpDrag)
        setCursor(Qt::SizeVerCursor);
    else if (m_editor.isDragging() && m_editor.dragBox() != m_editor.hoverBox())
        setCursor(Qt::ClosedHandCursor);
    else
        unsetCursor();
}

void TrackSurface::mouseReleaseEvent(QMouseEvent* event) {
    m_helpDrag = false;
    m_editor.mouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                     toTwips(event->position().toPoint()));
    unsetCursor();
}

void TrackSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    m_editor.rememberMouse(toTwips(event->position().toPoint()));
    m_editor.doubleClick();
}

void TrackSurface::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_editor.linkMode()) {
        m_editor.cancelLinkMode();
        emit linkModeLeft();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kelbrin
