#include "PathLabel.h"

#include "WidgetNaming.h"

#include <QLabel>

namespace kelbrin {

QLabel* PathLabel(QWidget* parent, const char* name) {
    auto* label = Named(new QLabel(parent), name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

void SetPath(QLabel* label, const QString& path) {
    label->setText(path);
    label->setToolTip(path);
}

} // namespace kelbrin
