#include "ProfileReader.h"

#include <QFile>

namespace kelbrin {

bool ProfileReader::load(const QString& path) {
    m_sections.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    loadFromText(QString::fromUtf8(file.readAll()));
    return true;
}

void ProfileReader::loadFromText(const QString& text) {
    m_sections.clear();
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    Section* current = nullptr;
    const auto lines = body.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
            continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            const QString name =
                (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
            m_sections.append(Section{name, {}});
            current = &m_sections.last();
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        QString value = trimmed.mid(eq + 1).trimmed();
        if (value.size() >= 2 &&
            ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) ||
             (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\''))))) {
            value = value.mid(1, value.size() - 2);
        }
        current->entries.append(Entry{trimmed.left(eq).trimmed(), value});
    }
}

QStringList ProfileReader::sectionNames() const {
    QStringList names;
    for (const auto& s : m_sections)
        names.append(s.name);
    return names;
}

const ProfileReader::Section* ProfileReader::findSection(const QString& name) const {
    for (const auto& s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

bool ProfileReader::hasSection(const QString& section) const {
    return findSection(section) != nullptr;
}

QString ProfileReader::value(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    const Section* s = findSection(section);
    if (!s)
        return defaultValue;
    for (const auto& e : s->entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0)
            return e.value;
    return defaultValue;
}

} // namespace kelbrin
