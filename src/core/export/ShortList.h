#pragma once
// A list of names for a box: the first few and the count of the rest. A
// damaged list can name hundreds of thousands, and a box that lays them all
// out holds the program for minutes.
#include <QString>
#include <QStringList>

namespace kelbrin {

QString ShortList(const QStringList& names, qsizetype shown = 10);

} // namespace kelbrin
