#pragma once
// Reads an INI-style profile file the way the classic profile-string calls do:
// section and key names match without regard to case, the first matching section
// and key win, blanks around keys and values are dropped, and a value wrapped in
// one pair of matching quotes loses them. The file is UTF-8 (a BOM is allowed).

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace kelbrin {

class ProfileReader {
public:
    // Loads the file; false when it cannot be read. A reader that failed to load
    // answers every lookup with the default.
    bool load(const QString& path);
    void loadFromText(const QString& text);

    // Section names in file order, letters as written.
    QStringList sectionNames() const;
    bool hasSection(const QString& section) const;
    // The first lookup in a section indexes its keys, so a catalogue of a
    // thousand texts is not walked once per text. Not for use from two
    // threads at once.
    QString value(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
        // Case-folded key -> its first entry; built on the first lookup.
        mutable QHash<QString, qsizetype> index;
        mutable bool indexed = false;
    };
    const Section* findSection(const QString& name) const;
    QVector<Section> m_sections;
};

} // namespace kelbrin
