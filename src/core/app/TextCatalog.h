#pragma once
// Numbered texts: every caption, tooltip, hint and message of the editor.
// Nine product texts are built in; all others come from the current language's
// section of Kelbrin.ini in the program folder.

#include "platform/text/ProfileReader.h"

#include <QString>
#include <QStringList>
#include <utility>

namespace kelbrin {

class TextCatalog {
public:
    // Reads the language file; false when it is missing or unreadable.
    bool load(const QString& languageFilePath);
    void loadFromText(const QString& text);
    const ProfileReader& file() const { return m_file; }

    void setLanguage(const QString& language);
    QString language() const { return m_language; }

    // The raw text: backquotes and placeholders unchanged, cut to 1023 characters.
    QString catalogText(int nr);
    // The finished text: settings overrides, placeholders filled, backquote -> CR.
    // `pairs` holds placeholder, value, placeholder, value, ...
    QString text(int nr, const QStringList& pairs = {});

    static bool isBuiltIn(int nr);
    static QString builtInText(int nr, bool polish);
    // One pass over `text`: at each place the first placeholder that matches is
    // replaced; replaced values are never searched again.
    static QString fillPlaceholders(const QString& text, const QStringList& pairs);

    // The one-entry cache, visible for tests.
    int cachedNumber() const { return m_cacheNumber; }
    int fileReads() const { return m_fileReads; }

private:
    ProfileReader m_file;
    QString m_language = QStringLiteral("ENGLISH");
    int m_cacheNumber = 0;
    QString m_cacheText;
    int m_fileReads = 0;
};

// The catalogue of the running program.
TextCatalog& Catalog();

inline QString CatalogText(int nr) { return Catalog().catalogText(nr); }
inline QString GetText(int nr) { return Catalog().text(nr); }
template <typename... Args> QString GetText(int nr, const QString& p1, Args&&... rest) {
    return Catalog().text(nr, QStringList{p1, QString(std::forward<Args>(rest))...});
}

// Shows catalogue text `nr` (placeholder pairs filled) through ShowMessage,
// with the text's number attached so unattended runs can log it.
int ShowCatalogMessage(int nr, int style, const QStringList& pairs = {},
                       const QString& title = QString());
template <typename... Args> int ShowText(int nr, int style, Args&&... pairs) {
    return ShowCatalogMessage(nr, style, QStringList{QString(std::forward<Args>(pairs))...});
}

} // namespace kelbrin
