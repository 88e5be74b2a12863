#pragma once
// Clicks on the parts of a real scroll bar, found where its style draws them.

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace kelbrin::test {

inline QRect ScrollBarPart(const QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

// The upper (left) arrow is SC_ScrollBarSubLine, the lower (right) one SC_ScrollBarAddLine.
inline void ClickScrollBarPart(QScrollBar* bar, QStyle::SubControl part) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, ScrollBarPart(bar, part).center());
}

inline void ClickUpArrow(QScrollBar* bar) { ClickScrollBarPart(bar, QStyle::SC_ScrollBarSubLine); }
inline void ClickDownArrow(QScrollBar* bar) { ClickScrollBarPart(bar, QStyle::SC_ScrollBarAddLine); }

// The top edge of the handle, in the bar's own pixels.
inline int HandleTop(const QScrollBar* bar) { return ScrollBarPart(bar, QStyle::SC_ScrollBarSlider).top(); }

} // namespace kelbrin::test
