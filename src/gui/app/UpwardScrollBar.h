#pragma once
// A vertical scroll bar whose top end is its maximum, as a spinner or a level
// control reads: the upper arrow, a click above the handle, the Up key and the
// wheel turned away from the user all raise the value, and the handle moves
// towards the arrow that was pressed.

#include <QScrollBar>

namespace kelbrin {

class UpwardScrollBar final : public QScrollBar {
public:
    explicit UpwardScrollBar(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void reverseStep(int action);
};

} // namespace kelbrin
