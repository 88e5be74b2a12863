#include "OutputNames.h"

#include "core/export/SegmentList.h"

#include <QFileInfo>

namespace kelbrin {

QString OutputBaseName(const QString& prefix, const QDateTime& when) {
    return prefix + when.toString(QStringLiteral("MMdd")) + QStringLiteral("__") +
           when.toString(QStringLiteral("HH_mm_ss"));
}

QString FreeOutputBaseName(const QString& folder, const QString& base, const QString& extension,
                           bool withSegmentList) {
    auto taken = [&](const QString& name) {
        const QString stem = folder + QLatin1Char('/') + name;
        return QFileInfo::exists(stem + extension) ||
               (withSegmentList && QFileInfo::exists(SegmentListOfStem(stem)));
    };
    QString name = base;
    for (int counter = 2; taken(name); ++counter)
        name = base + QLatin1Char('_') + QString::number(counter);
    return name;
}

} // namespace kelbrin
