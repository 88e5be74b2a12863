#pragma once
// Legacy 8-bit text (ID3v1 fields, hidden text, strings in project and script
// files, CUE sheets) is in the system's ANSI code page, derived from the locale
// as Windows derives it, so files written there read back the same.

#include <QByteArray>
#include <QString>

namespace kelbrin {

class AnsiCodec {
public:
    // The code page for a locale name such as "pl_PL" or "ru": Central European
    // languages give 1250, Cyrillic ones 1251, Greek 1253, all others 1252.
    static int codePageForLocale(const QString& localeName);
    // The code page of the running system's locale, or the one set below.
    static int systemCodePage();
    // Makes systemCodePage() give `codePage` (0: the locale's again), so that
    // files of a system with another code page can be read and written, and
    // tests can run as on such a system.
    static void OverrideSystemCodePage(int codePage);

    explicit AnsiCodec(int codePage = systemCodePage());
    int codePage() const { return m_codePage; }

    QString toUnicode(const QByteArray& bytes) const;
    // Bytes the code page leaves undefined read as characters that write back
    // as the same bytes. Characters the code page cannot hold become '?';
    // *lossless tells whether any did.
    QByteArray fromUnicode(const QString& text, bool* lossless = nullptr) const;

private:
    int m_codePage;
};

} // namespace kelbrin
