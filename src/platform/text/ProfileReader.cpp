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
    QStringView body(text);
    if (body.startsWith(QChar(0xFEFF)))
        body = body.mid(1);
    Section* current = nullptr;
    // Views into the text: only names and values kept are copied.
    for (const QStringView line : body.tokenize(u'\n')) {
        const QStringView trimmed = line.trimmed(); // a CR ending goes with the blanks
        if (trimmed.isEmpty() || trimmed.startsWith(u';'))
            continue;
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            const QStringView name = close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1);
            m_sections.append(Section{name.trimmed().toString(), {}, {}, false});
            current = &m_sections.last();
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = trimmed.indexOf(u'=');
        if (eq < 0)
            continue;
        QStringView value = trimmed.mid(eq + 1).trimmed();
        if (value.size() >= 2 && ((value.startsWith(u'"') && value.endsWith(u'"')) ||
                                  (value.startsWith(u'\'') && value.endsWith(u'\''))))
            value = value.mid(1, value.size() - 2);
        current->entries.append(Entry{trimmed.left(eq).trimmed().toString(), value.toString()});
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
    if (!s->indexed) {
        s->index.reserve(s->entries.size());
        for (qsizetype i = 0; i < s->entries.size(); ++i) {
            const QString folded = s->entries[i].key.toCaseFolded();
            if (!s->index.contains(folded))
                s->index.insert(folded, i);
        }
        s->indexed = true;
    }
    const auto found = s->index.constFind(key.toCaseFolded());
    return found == s->index.cend() ? defaultValue : s->entries[*found].value;
}

} // namespace kelbrin
