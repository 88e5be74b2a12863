#include "DesktopEntryFiles.h"

#include <QFile>

// Q_INIT_RESOURCE must stand outside any namespace: the templates live in a
// static library, whose resources are not registered on their own.
static void InitDesktopResources() { Q_INIT_RESOURCE(desktop); }

namespace kelbrin::xdg {

namespace {

QByteArray resource(const QString& name) {
    static const bool registered = (InitDesktopResources(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/desktop/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString xmlEscaped(const QString& text) {
    QString out = text.toHtmlEscaped();
    // Control characters are not allowed in XML 1.0; a description needs none.
    for (QChar& c : out)
        if (c.unicode() < 0x20)
            c = QLatin1Char(' ');
    return out;
}

} // namespace

QString EscapeValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char(' ') && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

QString QuoteExecArgument(const QString& argument) {
    // Simple readers of the Exec key take its first word as it stands, so an
    // argument is quoted only when it needs to be.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);
    QString out;
    for (const QChar c : argument) {
        if (needsQuotes && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                            c == QLatin1Char('\\')))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            out += QLatin1Char('%');
        out += c;
    }
    return needsQuotes ? QLatin1Char('"') + out + QLatin1Char('"') : out;
}

QString DesktopEntryText(const QString& title, const QString& program, const QString& workingFolder) {
    QString text = QString::fromUtf8(resource(QStringLiteral("kelbrin.desktop.in")));
    // A line break in a value would end the key; the title is one line.
    QString name = title;
    name.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QStringLiteral("@NAME@"), EscapeValue(name));
    text.replace(QStringLiteral("@EXEC@"), EscapeValue(QuoteExecArgument(program) + QStringLiteral(" %f")));
    if (workingFolder.isEmpty())
        text.remove(QStringLiteral("Path=@PATH@\n"));
    else
        text.replace(QStringLiteral("@PATH@"), EscapeValue(workingFolder));
    return text;
}

QString MimePackageText(const QString& projectType, const QString& scriptType) {
    QString text = QString::fromUtf8(resource(QStringLiteral("kelbrin-mime.xml.in")));
    text.replace(QStringLiteral("@PROJECT@"), xmlEscaped(projectType));
    text.replace(QStringLiteral("@SCRIPT@"), xmlEscaped(scriptType));
    return text;
}

QByteArray IconSvg() { return resource(QStringLiteral("kelbrin.svg")); }

} // namespace kelbrin::xdg
