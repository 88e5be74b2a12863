#include "SourceLookup.h"

#include "core/document/cPozycjePlikow.h"
#include "platform/text/NameCodec.h"

#include <QFileInfo>
#include <QList>

#include <algorithm>
#include <utility>

namespace kelbrin {

QString StoredFileName(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString ExistingSourcePath(const QByteArray& storedBytes, const QString& asRead,
                           const QString& folder, int* codePage) {
    const bool showsCodePage = std::any_of(storedBytes.begin(), storedBytes.end(),
                                           [](char c) { return static_cast<uchar>(c) >= 0x80; }) &&
                               !NameCodec::IsNonAsciiUtf8(storedBytes);
    const auto found = [&](const QString& path, int readIn) {
        if (codePage)
            *codePage = showsCodePage ? readIn : 0;
        return path;
    };
    if (QFileInfo::exists(asRead))
        return found(asRead, AnsiCodec::systemCodePage());
    QList<std::pair<QString, int>> readings;
    if (NameCodec::IsNonAsciiUtf8(storedBytes))
        readings.append({QString::fromUtf8(storedBytes), 0});
    for (const int readIn : {1250, 1252, 1251, 1253})
        readings.append({AnsiCodec(readIn).toUnicode(storedBytes), readIn});
    for (const auto& [reading, readIn] : readings) {
        const QString path = folder.isEmpty() ? reading : folder + StoredFileName(reading);
        if (QFileInfo::exists(path))
            return found(path, readIn);
    }
    return found(asRead, 0);
}

std::shared_ptr<cPozycjaPlikow> FirstOpenFileWithId(const cPozycjePlikow& files, std::int32_t id) {
    for (std::int32_t i = 1; i <= files.Count(); ++i)
        if (files.Item(i)->lngNrPozycji == id)
            return files.Item(i);
    return nullptr;
}

} // namespace kelbrin
