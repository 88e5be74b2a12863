#include "OutputNames.h"

namespace kelbrin {

QString CleanOutputName(const QString& name) {
    QString cleaned;
    cleaned.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == u'/' || u == u'\\' ||
            u == u':')
            continue;
        cleaned.append(c);
    }
    return cleaned;
}

bool IsUsableOutputName(const QString& cleanedName) {
    return !cleanedName.isEmpty() && cleanedName != QLatin1String(".") &&
           cleanedName != QLatin1String("..");
}

} // namespace kelbrin
