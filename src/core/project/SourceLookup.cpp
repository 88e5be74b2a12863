#include "SourceLookup.h"

#include "core/document/cPozycjePlikow.h"

#include <algorithm>

namespace kelbrin {

QString StoredFileName(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

std::shared_ptr<cPozycjaPlikow> FirstOpenFileWithId(const cPozycjePlikow& files, std::int32_t id) {
    for (std::int32_t i = 1; i <= files.Count(); ++i)
        if (files.Item(i)->lngNrPozycji == id)
            return files.Item(i);
    return nullptr;
}

} // namespace kelbrin
