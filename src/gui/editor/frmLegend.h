#pragma once
// The legend: the colours of the drawing surface's boxes and lines, each
// beside what it stands for. Modeless, always on top, one at a time.

#include <QWidget>

namespace kelbrin {

class frmLegend : public QWidget {
    Q_OBJECT
public:
    static frmLegend* PokazMnie(QWidget* parent = nullptr);
    static frmLegend* Instance();

private:
    explicit frmLegend(QWidget* parent);
};

} // namespace kelbrin
