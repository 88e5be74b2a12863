#include "QtSettingsStore.h"

#include <QFileInfo>

namespace kelbrin {

namespace {
const QString kGroup = QStringLiteral("Kelbrin/");
}

QtSettingsStore::QtSettingsStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pelorin"),
                 QStringLiteral("Kelbrin")) {}

QString QtSettingsStore::read(const QString& key, const QString& defaultValue) {
    const QVariant v = m_settings.value(kGroup + key);
    if (!v.isValid())
        return defaultValue;
    // A hand-edited value with commas comes back as a list; keep it as the text it was.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

void QtSettingsStore::write(const QString& key, const QString& value) {
    if (m_settings.contains(kGroup + key) && read(key, QString()) == value)
        return; // unchanged values must not rewrite the file
    m_settings.setValue(kGroup + key, value);
}

bool QtSettingsStore::contains(const QString& key) { return m_settings.contains(kGroup + key); }

void QtSettingsStore::sync() { m_settings.sync(); }

QString QtSettingsStore::folder() {
    QSettings probe(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pelorin"),
                    QStringLiteral("Kelbrin"));
    return QFileInfo(probe.fileName()).absolutePath();
}

} // namespace kelbrin
