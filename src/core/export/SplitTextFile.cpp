#include "SplitTextFile.h"

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "platform/text/NameCodec.h"

#include <QFile>
#include <QFileInfo>

namespace kelbrin {

namespace {
// Far beyond any real sheet or list; a bigger file is a wrong choice, not a list.
constexpr qint64 kMaxListBytes = 8 * 1024 * 1024;
} // namespace

std::optional<QString> ReadSplitTextFile(const QString& path) {
    QFile file(path);
    // Opening a FIFO would wait for a writer that never comes.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        ShowText(3301, mb::Information, QStringLiteral("|1"), path);
        return std::nullopt;
    }
    if (file.size() > kMaxListBytes) {
        ShowText(3688, mb::Information, QStringLiteral("|1"), path);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    const bool failed = file.error() != QFileDevice::NoError || bytes.size() != file.size();
    file.close();
    if (failed) {
        ShowText(3301, mb::Information, QStringLiteral("|1"), path);
        return std::nullopt;
    }
    // Sheets saved as "Unicode" by CD rippers on other systems are UTF-16.
    return NameCodec().decodeTextFile(bytes);
}

QStringList SplitTextLines(const QString& text) {
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(current);
            current.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        lines.append(current);
    return lines;
}

} // namespace kelbrin
