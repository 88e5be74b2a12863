#pragma once
// The legend: the colours of the drawing surface's boxes and lines, each
// beside what it stands for. Modeless, always on top, one at a time; Esc or
// the close box closes it.

#include <QWidget>

namespace kelbrin {

class frmLegend : public QWidget {
    Q_OBJECT
public:
    static frmLegend* PokazMnie(QWidget* parent = nullptr);
    static frmLegend* Instance();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit frmLegend(QWidget* parent);
};

} // namespace kelbrin
