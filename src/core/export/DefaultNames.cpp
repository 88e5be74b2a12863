#include "DefaultNames.h"

#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <algorithm>

namespace kelbrin {

namespace {

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

// Plain digits whatever the user's locale says.
QString stamp(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("%1%2%3__%4_%5_%6")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(twoDigits(d.month()), twoDigits(d.day()), twoDigits(t.hour()), twoDigits(t.minute()),
             twoDigits(t.second()));
}

} // namespace

QString DefaultOutputName(const QDateTime& when, std::int32_t n, std::int32_t trackCount) {
    // Compared as text: " 2" or "02" are not "2".
    const QString naming = GetSetting(settingkeys::kFileNaming, QStringLiteral("0"));
    const bool numbered = naming == QLatin1String("2") || naming == QLatin1String("3");
    const bool mp2 = naming == QLatin1String("1") || naming == QLatin1String("3");
    const QString extension = mp2 ? QStringLiteral(".mp2") : QStringLiteral(".mp3");
    if (!numbered)
        return stamp(when) + extension;
    const std::int64_t number = n != 0 ? std::int64_t(n) : std::int64_t(trackCount) + 1;
    return QString::number(number) + extension;
}

OutputNameRegister::OutputNameRegister(const QStringList& taken) {
    m_taken.reserve(taken.size());
    for (const QString& name : taken)
        m_taken.insert(name.toCaseFolded());
}

void OutputNameRegister::add(const QString& name) { m_taken.insert(name.toCaseFolded()); }

QString OutputNameRegister::take(const QString& name) {
    const QString folded = name.toCaseFolded();
    if (!m_taken.contains(folded)) {
        m_taken.insert(folded);
        return name;
    }
    // A leading dot starts a hidden name, not an extension.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    // Names are only ever added, so every counter below the last one found
    // for this name is still taken: the search goes on from there.
    qsizetype& counter = m_nextCounter[folded];
    for (counter = std::max<qsizetype>(counter, 2);; ++counter) {
        const QString candidate = stem + QLatin1Char('-') + QString::number(counter) + extension;
        const QString candidateFolded = candidate.toCaseFolded();
        if (!m_taken.contains(candidateFolded)) {
            m_taken.insert(candidateFolded);
            ++counter;
            return candidate;
        }
    }
}

QString UniqueOutputName(const QString& name, const QStringList& taken) {
    return OutputNameRegister(taken).take(name);
}

QStringList ProjectOutputNames(const cPozycjeMP3* tracks) {
    QStringList names;
    for (std::int32_t i = 1; tracks && i <= tracks->Count(); ++i)
        names.append(tracks->Item(i)->strFileName);
    return names;
}

QString ProposedOutputName(const QDateTime& when, const cPozycjeMP3* tracks) {
    return UniqueOutputName(DefaultOutputName(when, 0, tracks ? tracks->Count() : 0),
                            ProjectOutputNames(tracks));
}

} // namespace kelbrin
