#include "AnsiCodec.h"

#include <QLocale>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <iconv.h>

namespace kelbrin {

namespace {

QByteArray iconvName(int codePage) { return "CP" + QByteArray::number(codePage); }

// Converts with iconv; on an unconvertible input character writes `replacement`
// (when not empty) and skips the character. Returns false if any were replaced.
bool convert(const char* to, const char* from, const QByteArray& input, int inputUnit,
             const QByteArray& replacement, QByteArray& output) {
    output.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    bool lossless = true;
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    QByteArray buffer(4096, '\0');
    while (inLeft > 0) {
        char* out = buffer.data();
        size_t outLeft = static_cast<size_t>(buffer.size());
        const size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer.constData(), buffer.size() - static_cast<qsizetype>(outLeft));
        if (r != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: one input unit cannot be converted.
        lossless = false;
        output.append(replacement);
        size_t skip = static_cast<size_t>(inputUnit);
        if (inputUnit == 2 && inLeft >= 4) {
            const auto hi = static_cast<unsigned char>(in[1]) << 8 | static_cast<unsigned char>(in[0]);
            if (hi >= 0xD800 && hi <= 0xDBFF)
                skip = 4; // a surrogate pair is one character
        }
        skip = std::min(skip, inLeft);
        in += skip;
        inLeft -= skip;
    }
    iconv_close(cd);
    return lossless;
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
    return overridden != 0 ? overridden : codePageForLocale(QLocale::system().name());
}

void AnsiCodec::OverrideSystemCodePage(int codePage) { overriddenCodePage.store(codePage); }

AnsiCodec::AnsiCodec(int codePage) : m_codePage(codePage) {}

QString AnsiCodec::toUnicode(const QByteArray& bytes) const {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QByteArray utf8;
    // Bytes that the code page leaves undefined come out as U+FFFD.
    convert("UTF-8", iconvName(m_codePage).constData(), bytes, 1, "\xEF\xBF\xBD", utf8);
    return QString::fromUtf8(utf8);
}

QByteArray AnsiCodec::fromUnicode(const QString& text, bool* lossless) const {
    if (isAscii(text)) {
        if (lossless)
            *lossless = true;
        return text.toLatin1();
    }
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray out;
    const bool ok = convert(iconvName(m_codePage).constData(), "UTF-16LE", utf16, 2, "?", out);
    if (lossless)
        *lossless = ok;
    return out;
}

} // namespace kelbrin
