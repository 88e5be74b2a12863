#include "PathProcedures.h"

#include <QRegularExpression>

namespace kelbrin {

QString StripExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    if (dot < 0 || dot < slash)
        return name;
    return name.left(dot);
}

QString FileNameFromPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString WithTrailingSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QStringList PathsFromFileChoice(const QString& answer, QString* folder) {
    const QStringList parts = answer.split(QChar(0), Qt::SkipEmptyParts);
    QStringList paths;
    QString in;
    if (parts.size() <= 1) {
        paths = parts;
        if (!paths.isEmpty()) {
            const qsizetype slash = paths.first().lastIndexOf(QLatin1Char('/'));
            in = slash <= 0 ? QStringLiteral("/") : paths.first().left(slash);
        }
    } else {
        in = parts.first();
        const QString base = WithTrailingSlash(in);
        for (qsizetype i = 1; i < parts.size(); ++i)
            paths << base + parts[i];
    }
    if (folder)
        *folder = in;
    return paths;
}

QString UniqueTrackName(const QString& name, int sameSourceCount) {
    const int n = sameSourceCount + 1;
    static const QRegularExpression counter(QStringLiteral("^(.*)\\((\\d+)\\)$"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = counter.match(name);
    const QString base = m.hasMatch() ? m.captured(1) : name;
    if (n < 2)
        return name;
    return base + QLatin1Char('(') + QString::number(n) + QLatin1Char(')');
}

double RescaleFromPlayerTime(double t, double itemDuration, double playerDuration,
                             bool oldAlgorithm) {
    if (oldAlgorithm)
        return t;
    if (playerDuration <= 0)
        return 0;
    return t / playerDuration * itemDuration;
}

double RescaleToPlayerTime(double t, double itemDuration, double playerDuration,
                           bool oldAlgorithm) {
    if (oldAlgorithm)
        return t;
    if (itemDuration <= 0)
        return 0;
    return t / itemDuration * playerDuration;
}

} // namespace kelbrin
