#pragma once
// Finds the captions of a window that do not show whole: a label, button,
// check box, option button or frame title wider than its control, a picture
// wider than its button, a wrapped label taller than its box, or a control
// that reaches past its parent's edge. Only controls that are shown count.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

namespace kelbrin::test {

inline QStringList CutCaptions(const QWidget* window) {
    QStringList cut;
    auto note = [&cut](const QWidget* w, const QString& why) {
        cut << w->objectName() + QStringLiteral(": ") + why;
    };
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QWidget* parent = w->parentWidget();
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->text().isEmpty())
                continue;
            if (label->wordWrap()) {
                if (label->heightForWidth(label->width()) > label->height())
                    note(w, QStringLiteral("wrapped text taller than the label"));
            } else if (label->sizeHint().width() > label->width()) {
                note(w, QStringLiteral("text wider than the label"));
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            if (button->text().isEmpty()) {
                // A picture button's picture stays inside its frame.
                const QSize picture = button->icon().actualSize(button->iconSize());
                if (!button->icon().isNull() && picture.width() + 4 > button->width())
                    note(w, QStringLiteral("picture wider than the button"));
                continue;
            }
            // Push buttons ask for a minimum width in their size hint; only their text counts.
            const int needed = qobject_cast<const QPushButton*>(w)
                                   ? button->fontMetrics().horizontalAdvance(button->text()) + 4
                                   : button->sizeHint().width();
            if (needed > button->width())
                note(w, QStringLiteral("caption wider than the control"));
            if (button->fontMetrics().height() > button->height())
                note(w, QStringLiteral("caption taller than the control"));
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(w)) {
            if (frame->fontMetrics().horizontalAdvance(frame->title()) + 16 > frame->width())
                note(w, QStringLiteral("title wider than the frame"));
        } else {
            continue;
        }
        if (parent && (w->geometry().right() >= parent->width() || w->geometry().bottom() >= parent->height()))
            note(w, QStringLiteral("reaches past its parent's edge"));
    }
    return cut;
}

} // namespace kelbrin::test
