#include "TextCatalog.h"

#include "MessageService.h"
#include "QtTexts.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

namespace {
constexpr int kMaxTextLength = 1023;
const QString kAuthor = QStringLiteral("Pelorin");
} // namespace

bool TextCatalog::load(const QString& languageFilePath) {
    m_cacheNumber = 0;
    m_cacheText.clear();
    return m_file.load(languageFilePath);
}

void TextCatalog::loadFromText(const QString& text) {
    m_cacheNumber = 0;
    m_cacheText.clear();
    m_file.loadFromText(text);
}

void TextCatalog::setLanguage(const QString& language) {
    // The cache is keyed by number alone, so a new language must empty it.
    if (language != m_language) {
        m_cacheNumber = 0;
        m_cacheText.clear();
    }
    m_language = language;
    UseQtTexts(language);
}

bool TextCatalog::isBuiltIn(int nr) {
    switch (nr) {
    case 101: case 102: case 103: case 104: case 105: case 108: case 109: case 111: case 112:
        return true;
    default:
        return false;
    }
}

QString TextCatalog::builtInText(int nr, bool polish) {
    switch (nr) {
    case 101:
        return polish ? QStringLiteral("Kelbrin ZAZIza  (|1)  Wersja ")
                      : QStringLiteral("MP3 Dravon  (|1)   Version ");
    case 102:
        return polish ? QString(18, QLatin1Char(' ')) + QStringLiteral("Pomysł i realizacja: ") + kAuthor
                      : QString(20, QLatin1Char(' ')) + QStringLiteral("Idea and execution: ") + kAuthor;
    case 103:
        return polish ? QStringLiteral("https://kelbrin.example.org/pl/")
                      : QStringLiteral("https://kelbrin.example.org/en/");
    case 104:
    case 109:
        return QStringLiteral("kelbrin@example.org");
    case 105:
        return polish ? QStringLiteral("Kelbrin ZAZI'za ") : QStringLiteral("MP3 Dravon ");
    case 108:
        return polish ? QStringLiteral("Kelbrin ROVEzo ") : QStringLiteral("MP3 Dravon ");
    case 111:
        return polish ? QStringLiteral("https://kelbrin.example.org/pl/pomoc/")
                      : QStringLiteral("https://kelbrin.example.org/en/help/");
    case 112:
        return (polish ? QStringLiteral("Autor: ") : QStringLiteral("Author: ")) + kAuthor;
    default:
        return QString();
    }
}

QString TextCatalog::catalogText(int nr) {
    if (nr == 0)
        return QString();
    if (nr == m_cacheNumber)
        return m_cacheText;
    QString text;
    if (isBuiltIn(nr)) {
        text = builtInText(nr, m_language == QLatin1String("POLSKI"));
    } else {
        ++m_fileReads;
        text = m_file.value(m_language, QString::number(nr));
        text.remove(QChar(0));
        if (text.size() > kMaxTextLength)
            text.truncate(kMaxTextLength);
    }
    m_cacheNumber = nr;
    m_cacheText = text;
    return text;
}

QString TextCatalog::fillPlaceholders(const QString& text, const QStringList& pairs) {
    if (pairs.size() < 2)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (qsizetype p = 0; p + 1 < pairs.size(); p += 2) {
            const QString& placeholder = pairs[p];
            if (!placeholder.isEmpty() &&
                QStringView(text).mid(i).startsWith(placeholder)) {
                out += pairs[p + 1];
                i += placeholder.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

QString TextCatalog::text(int nr, const QStringList& pairs) {
    QString result;
    const char* overrideKey = nullptr;
    switch (nr) {
    case 103: overrideKey = "HomePage"; break;
    case 104: overrideKey = "Email"; break;
    case 109: overrideKey = "Email2"; break;
    case 200: overrideKey = "Sponsor"; break;
    default: break;
    }
    if (overrideKey)
        result = GetSetting(QString::fromLatin1(overrideKey));
    if (result.isEmpty())
        result = catalogText(nr);
    result = fillPlaceholders(result, pairs);
    result.replace(QLatin1Char('`'), QLatin1Char('\r'));
    return result;
}

TextCatalog& Catalog() {
    static TextCatalog catalog;
    return catalog;
}

int ShowCatalogMessage(int nr, int style, const QStringList& pairs, const QString& title) {
    return ShowMessage(Catalog().text(nr, pairs), style, title, nr);
}

} // namespace kelbrin
