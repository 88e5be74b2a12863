#include "TrackSurface.h"

#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/GraphEditor.h"
#include "gui/app/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

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
}

QPoint TrackSurface::toTwips(QPoint px) { return QPoint(PxToTwips(px.x()), PxToTwips(px.y())); }
QPoint TrackSurface::toPixels(QPoint twips) { return QPoint(TwipsToPx(twips.x()), TwipsToPx(twips.y())); }

void TrackSurface::setTimeText(std::int32_t number, const QString& text) {
    m_timeTexts.insert(number, text);
    update();
}

QString TrackSurface::timeText(std::int32_t number) const {
    return m_timeTexts.value(number, QStringLiteral("00:00"));
}

void TrackSurface::clearTimeTexts() {
    m_timeTexts.clear();
    update();
}

void TrackSurface::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const cPozycjeMP3& tracks = m_editor.tracks();

    // Only what reaches the exposed rectangle is drawn: a window showing part
    // of a large graph pays for that part, not for every track.
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

    const QFontMetrics metrics(font());
    // A box with its label above and its time below reaches this far.
    auto reaches = [&](const QRect& r, const QString& label, const QString& time, bool labelShown) {
        const int textHeight = metrics.height() + 2;
        if (r.top() - textHeight > exposed.bottom() || r.bottom() + textHeight < exposed.top() ||
            r.left() > exposed.right())
            return false;
        if (r.right() + 1 >= exposed.left())
            return true;
        // Texts run to the right of the box's left edge.
        const int textWidth =
            std::max(labelShown ? metrics.horizontalAdvance(label) : 0, metrics.horizontalAdvance(time));
        return r.left() + textWidth + 1 >= exposed.left();
    };
    auto drawBox = [&](const QRect& twips, std::uint32_t colour, const QString& label,
                       const QString& time, bool labelShown) {
        const QRect r = PxRect(twips);
        if (!reaches(r, label, time, labelShown))
            return;
        painter.setPen(QPen(ColourFromBgr(colour).darker(160), 1));
        painter.setBrush(ColourFromBgr(colour));
        painter.drawRect(r);
        painter.setPen(Qt::black);
        if (labelShown && !label.isEmpty())
            painter.drawText(QPoint(r.left(), r.top() - metrics.descent() - 1), label);
        if (!time.isEmpty())
            painter.drawText(QPoint(r.left(), r.bottom() + metrics.ascent() + 1), time);
    };

    drawBox(m_editor.startBox(), graph_colour::StartBox, GetText(3171), QString(),
            m_editor.nameLabelsShown);
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        if (m_editor.dragBox() == t.lngNrPozycji)
            continue; // lifted: the outline stands in for it
        drawBox(m_editor.boxRect(t.lngNrPozycji), BoxColour(t), t.strLabel,
                timeText(t.lngNrPozycji), m_editor.nameLabelsShown);
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
    m_editor.mouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                       toTwips(event->position().toPoint()));
    if (wasLinking && !m_editor.linkMode() && event->button() == Qt::RightButton)
        emit linkModeLeft();
}

void TrackSurface::mouseMoveEvent(QMouseEvent* event) {
    m_editor.mouseMove(ButtonsCode(event->buttons()), ShiftCode(event->modifiers()),
                       toTwips(event->position().toPoint()));
    if (m_editor.isDragging() && m_editor.dragBox() != m_editor.hoverBox())
        setCursor(Qt::ClosedHandCursor);
    else
        unsetCursor();
}

void TrackSurface::mouseReleaseEvent(QMouseEvent* event) {
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
