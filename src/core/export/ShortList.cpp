#include "ShortList.h"

#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"

namespace kelbrin {

QString ShortList(const QStringList& names, qsizetype shown) {
    QString text = names.mid(0, shown).join(QStringLiteral(", "));
    if (names.size() > shown)
        text += QLatin1Char(' ') + GetText(texts::kMoreSkippedCue, QStringLiteral("|1"),
                                           QString::number(names.size() - shown));
    return text;
}

} // namespace kelbrin
