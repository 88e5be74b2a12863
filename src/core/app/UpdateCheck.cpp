#include "UpdateCheck.h"

#include "MessageService.h"
#include "TextCatalog.h"
#include "platform/settings/SettingsStore.h"

#include <QRegularExpression>

namespace kelbrin {

namespace {

// Eighteen digits always fit a 64-bit number.
constexpr int kMaxDigits = 18;

std::optional<qint64> wholeNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    return text.toLongLong();
}

QList<qint64> localFields(const QString& version) {
    QList<qint64> fields;
    for (const QString& part : version.split(QLatin1Char('.')))
        fields << wholeNumber(part.trimmed()).value_or(0);
    while (fields.size() < 3)
        fields << 0;
    return fields;
}

} // namespace

std::optional<RemoteBuild> ParseVersionText(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char(','));
    if (parts.size() < 2)
        return std::nullopt;
    RemoteBuild remote;
    const QString version = parts[0].trimmed();
    if (version.contains(QLatin1Char('.'))) {
        for (const QString& field : version.split(QLatin1Char('.'))) {
            const auto n = wholeNumber(field);
            if (!n)
                return std::nullopt;
            remote.fields << *n;
        }
    } else {
        remote.joined = wholeNumber(version);
        if (!remote.joined)
            return std::nullopt;
    }
    const auto size = wholeNumber(parts[1].trimmed());
    if (!size)
        return std::nullopt;
    remote.size = *size;
    return remote;
}

bool IsNewerBuild(const RemoteBuild& remote, const LocalBuild& local) {
    if (remote.size != local.size)
        return true;
    const QList<qint64> mine = localFields(local.version);
    if (remote.joined) {
        // The single-number form cannot be split back into its fields; it
        // is compared with this program's numbers written the same way.
        QString digits;
        for (const qint64 f : mine)
            digits += QString::number(f);
        const qint64 joinedLocal = digits.size() <= kMaxDigits ? digits.toLongLong() : 0;
        return *remote.joined > joinedLocal;
    }
    const qsizetype count = std::max(remote.fields.size(), mine.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qint64 theirs = remote.fields.value(i, 0);
        const qint64 ours = mine.value(i, 0);
        if (theirs != ours)
            return theirs > ours;
    }
    return false;
}

UpdateVerdict CheckForUpdates(const FetchSession& session, const LocalBuild& local) {
    QString address = GetSetting(QStringLiteral("UpgAdres"), QLatin1String(kDefaultUpdateAddress));
    if (address.trimmed().isEmpty())
        address = QLatin1String(kDefaultUpdateAddress);
    const QString text = FetchUrlText(address, QString(), session);
    if (text.isEmpty())
        return UpdateVerdict::Failed; // the fetch has told the user
    const std::optional<RemoteBuild> remote = ParseVersionText(text);
    if (!remote) {
        ShowText(3231, mb::Information);
        return UpdateVerdict::Failed;
    }
    if (IsNewerBuild(*remote, local)) {
        ShowText(3230, mb::Information, QStringLiteral("|1"), GetText(103));
        return UpdateVerdict::Newer;
    }
    ShowText(3232, mb::Information);
    return UpdateVerdict::Current;
}

} // namespace kelbrin
