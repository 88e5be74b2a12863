#include "RecordProjectName.h"

#include "core/app/PathProcedures.h"

#include <QFileInfo>

namespace kelbrin {

QString RecordProjectName(const QDate& date) {
    return QStringLiteral("Record ") + date.toString(QStringLiteral("MM_dd"));
}

QString UniqueRecordProjectName(const QString& folder, const QDate& date) {
    const QString base = RecordProjectName(date);
    const QString dir = folder.isEmpty() ? QString() : WithTrailingSlash(folder);
    QString name = base;
    for (int n = 2; QFileInfo::exists(dir + name + QStringLiteral(".kbe")); ++n)
        name = base + QStringLiteral(" (%1)").arg(n);
    return name;
}

} // namespace kelbrin
