#pragma once
// The name of the project a recording is saved as: "Record " with the month
// and day ("Record 03_07"). A project of that name already in the folder is
// never overwritten: the next free " (n)" is added ("Record 03_07 (2)").

#include <QDate>
#include <QString>

namespace kelbrin {

QString RecordProjectName(const QDate& date);
QString UniqueRecordProjectName(const QString& folder, const QDate& date);

} // namespace kelbrin
