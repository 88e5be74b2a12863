#include "ScriptWriter.h"

#include "OutputNames.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"

#include <cstdlib>

namespace kelbrin {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

const cPozycjaPlikow* firstFileWithPath(const cPozycjePlikow& files, const QString& path) {
    for (std::int32_t i = 1; i <= files.Count(); ++i)
        if (files.Item(i)->strFileName == path)
            return files.Item(i).get();
    return nullptr;
}

} // namespace

QString ScriptSecondsText(std::int32_t minutes, std::int32_t seconds, std::int32_t milliseconds) {
    const std::int64_t total =
        (static_cast<std::int64_t>(minutes) * 60 + seconds) * 1000 + milliseconds;
    const std::int64_t magnitude = std::llabs(total);
    QString text =
        (total < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 1000);
    const std::int64_t fraction = magnitude % 1000;
    if (fraction == 0)
        return text;
    QString digits = QStringLiteral("%1").arg(fraction, 3, 10, QLatin1Char('0'));
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    return text + QLatin1Char('.') + digits;
}

QString BuildScriptText(const cPozycjePlikow& files, const cPozycjeMP3& tracks) {
    QString text = QStringLiteral("[Source Files]") + kLineEnd + kLineEnd;
    for (std::int32_t i = 1; i <= files.Count(); ++i) {
        const cPozycjaPlikow& f = *files.Item(i);
        text += QString::number(f.lngNrPozycji) + QLatin1Char(':') + f.strFileName + kLineEnd;
    }
    text += kLineEnd + QStringLiteral("[Destination files]") + kLineEnd + kLineEnd;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        const cPozycjaPlikow* source = firstFileWithPath(files, t.strFileNameSource);
        if (!source)
            continue;
        // A colon or a line break in the name would split the line differently.
        QString line = QString::number(source->lngNrPozycji) + QLatin1Char(':') +
                       CleanOutputName(t.strFileName) + QLatin1Char(':');
        if (t.blnJednostka)
            line += QStringLiteral("1:") +
                    ScriptSecondsText(t.lngPoczatek_M, t.lngPoczatek_S, t.lngPoczatek_SS) +
                    QLatin1Char(':') +
                    ScriptSecondsText(t.lngKoniec_M, t.lngKoniec_S, t.lngKoniec_SS);
        else
            line += QStringLiteral("0:") + QString::number(t.lngRamkaOd) + QLatin1Char(':') +
                    QString::number(t.lngRamkaDo);
        text += line + kLineEnd;
    }
    return text;
}

} // namespace kelbrin
