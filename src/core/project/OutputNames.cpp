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

QString LabelFileName(const QString& label, const QString& outputName) {
    QString name = CleanOutputName(label).trimmed();
    qsizetype lead = 0;
    while (lead < name.size() && (name[lead] == u'.' || name[lead].isSpace()))
        ++lead;
    name = name.mid(lead);
    return IsUsableOutputName(name) ? name + QStringLiteral(".mp3") : outputName;
}

} // namespace kelbrin
