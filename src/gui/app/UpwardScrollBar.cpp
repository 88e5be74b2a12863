#include "UpwardScrollBar.h"

#include <QWheelEvent>

namespace kelbrin {

UpwardScrollBar::UpwardScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    // Drawing the bar upside down only mirrors the handle; the arrows, the
    // page clicks and the keys still step the way a scrolling bar does, so
    // each step is turned round as it is taken.
    setInvertedAppearance(true);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { reverseStep(action); });
}

void UpwardScrollBar::reverseStep(int action) {
    switch (action) {
    case SliderSingleStepAdd:
        setSliderPosition(value() - singleStep());
        break;
    case SliderSingleStepSub:
        setSliderPosition(value() + singleStep());
        break;
    case SliderPageStepAdd:
        setSliderPosition(value() - pageStep());
        break;
    case SliderPageStepSub:
        setSliderPosition(value() + pageStep());
        break;
    default:
        break;
    }
}

void UpwardScrollBar::wheelEvent(QWheelEvent* event) {
    // The wheel moves the handle the way it turns, like every other bar.
    const bool inverted = invertedControls();
    setInvertedControls(!inverted);
    QScrollBar::wheelEvent(event);
    setInvertedControls(inverted);
}

} // namespace kelbrin
