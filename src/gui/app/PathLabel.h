#pragma once
// A label that shows a path: sunken, cut to the room it has, the whole path in
// its tooltip.

#include <QString>

class QLabel;
class QWidget;

namespace kelbrin {

QLabel* PathLabel(QWidget* parent, const char* name);
void SetPath(QLabel* label, const QString& path);

} // namespace kelbrin
