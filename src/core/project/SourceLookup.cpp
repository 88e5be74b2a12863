#include "SourceLookup.h"

#include "core/document/cPozycjePlikow.h"
#include "platform/text/NameCodec.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace kelbrin {

QString StoredFileName(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString ExistingSourcePath(const QByteArray& storedBytes, const QString& asRead, const QString& folder) {
    if (QFileInfo::exists(asRead))
        return asRead;
    QStringList readings;
    if (NameCodec::IsNonAsciiUtf8(storedBytes))
        readings << QString::fromUtf8(storedBytes);
    for (const int codePage : {1250, 1252, 1251, 1253})
        readings << AnsiCodec(codePage).toUnicode(storedBytes);
    for (const QString& reading : readings) {
        const QString path = folder.isEmpty() ? reading : folder + StoredFileName(reading);
        if (QFileInfo::exists(path))
            return path;
    }
    return asRead;
}

std::shared_ptr<cPozycjaPlikow> FirstOpenFileWithId(const cPozycjePlikow& files, std::int32_t id) {
    for (std::int32_t i = 1; i <= files.Count(); ++i)
        if (files.Item(i)->lngNrPozycji == id)
            return files.Item(i);
    return nullptr;
}

} // namespace kelbrin
