#include "AnsiCodec.h"

#include <QHash>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <array>
#include <atomic>
#include <iconv.h>
#include <memory>
#include <mutex>

namespace kelbrin {

namespace {

// The characters of bytes 0x80-0xFF in one code page. A byte the code page
// leaves undefined stands for the character of the same number (a C1 control
// for 0x80-0x9F, as Windows reads such bytes), so a name read under a code
// page it was not written in goes back to the same bytes when written again.
struct CodePageTable {
    std::array<char16_t, 128> characters{};
    QHash<char16_t, char> bytes;
};

std::shared_ptr<const CodePageTable> buildTable(int codePage) {
    auto table = std::make_shared<CodePageTable>();
    const QByteArray name = "CP" + QByteArray::number(codePage);
    iconv_t cd = iconv_open("UTF-16LE", name.constData());
    std::array<bool, 128> defined{};
    for (int b = 0x80; b <= 0xFF; ++b) {
        char in = static_cast<char>(b);
        char out[8];
        char* inPtr = &in;
        char* outPtr = out;
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        if (cd != reinterpret_cast<iconv_t>(-1) &&
            iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
            sizeof out - outLeft == 2) {
            const auto c = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                 static_cast<unsigned char>(out[1]) << 8);
            table->characters[b - 0x80] = c;
            table->bytes.insert(c, static_cast<char>(b));
            defined[b - 0x80] = true;
        }
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    if (cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(cd);
    for (int b = 0x80; b <= 0xFF; ++b) {
        if (defined[b - 0x80])
            continue;
        // The same number, unless a defined byte already stands for it.
        char16_t c = static_cast<char16_t>(b);
        if (table->bytes.contains(c))
            c = static_cast<char16_t>(0xF700 + b);
        table->characters[b - 0x80] = c;
        table->bytes.insert(c, static_cast<char>(b));
    }
    return table;
}

std::shared_ptr<const CodePageTable> tableFor(int codePage) {
    static std::mutex lock;
    static QHash<int, std::shared_ptr<const CodePageTable>> tables;
    const std::lock_guard<std::mutex> hold(lock);
    auto& table = tables[codePage];
    if (!table)
        table = buildTable(codePage);
    return table;
}

// The code pages all keep ASCII as it is, and most texts are ASCII: those
// need no converter.
bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

int AnsiCodec::codePageForLocale(const QString& localeName) {
    const QString lang = localeName.section(QLatin1Char('_'), 0, 0)
                             .section(QLatin1Char('-'), 0, 0)
                             .section(QLatin1Char('.'), 0, 0)
                             .toLower();
    static const QSet<QString> centralEuropean = {"pl", "cs", "sk", "hu", "sl", "hr",
                                                  "ro", "sq", "bs", "tk"};
    static const QSet<QString> cyrillic = {"ru", "uk", "be", "bg", "mk", "kk",
                                           "ky", "tt", "mn", "ba", "sah"};
    if (centralEuropean.contains(lang))
        return 1250;
    if (cyrillic.contains(lang))
        return 1251;
    if (lang == QLatin1String("sr"))
        return localeName.contains(QLatin1String("Latn")) ? 1250 : 1251;
    if (lang == QLatin1String("el"))
        return 1253;
    return 1252;
}

namespace {
std::atomic<int> overriddenCodePage{0};
}

int AnsiCodec::systemCodePage() {
    const int overridden = overriddenCodePage.load();
    if (overridden != 0)
        return overridden;
    // Asked for again for every tag an export writes: the locale's name is
    // read each time, its code page worked out once for each name.
    thread_local QString lastName;
    thread_local int lastCodePage = 0;
    const QString name = QLocale::system().name();
    if (lastCodePage == 0 || name != lastName) {
        lastCodePage = codePageForLocale(name);
        lastName = name;
    }
    return lastCodePage;
}

void AnsiCodec::OverrideSystemCodePage(int codePage) { overriddenCodePage.store(codePage); }

AnsiCodec::AnsiCodec(int codePage) : m_codePage(codePage) {}

QString AnsiCodec::toUnicode(const QByteArray& bytes) const {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    const auto table = tableFor(m_codePage);
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* at = out.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *at++ = b < 0x80 ? QChar(b) : QChar(table->characters[b - 0x80]);
    }
    return out;
}

QByteArray AnsiCodec::fromUnicode(const QString& text, bool* lossless) const {
    if (isAscii(text)) {
        if (lossless)
            *lossless = true;
        return text.toLatin1();
    }
    const auto table = tableFor(m_codePage);
    bool ok = true;
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out.append(static_cast<char>(c));
            continue;
        }
        const auto found = table->bytes.constFind(c);
        if (found != table->bytes.constEnd()) {
            out.append(*found);
            continue;
        }
        ok = false;
        out.append('?');
        // A surrogate pair is one character.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    if (lossless)
        *lossless = ok;
    return out;
}

} // namespace kelbrin
