#include "TrackListRow.h"

#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/document/cPozycjaMP3.h"

#include <QFileInfo>

namespace kelbrin {

namespace {

QString TimeText(std::int32_t minutes, std::int32_t seconds, std::int32_t milliseconds) {
    return QStringLiteral("%1:%2:%3").arg(minutes).arg(seconds).arg(milliseconds);
}

double Seconds(std::int32_t minutes, std::int32_t seconds, std::int32_t milliseconds) {
    return minutes * 60.0 + seconds + milliseconds * 0.001;
}

} // namespace

bool HasListRow(const cPozycjaMP3& track) {
    return !track.strFileNameSource.isEmpty() && QFileInfo(track.strFileNameSource).isFile();
}

QStringList TrackListRowTexts(const cPozycjaMP3& t) {
    QString from, to;
    if (t.blnJednostka) {
        from = TimeText(t.lngPoczatek_M, t.lngPoczatek_S, t.lngPoczatek_SS);
        to = TimeText(t.lngKoniec_M, t.lngKoniec_S, t.lngKoniec_SS);
    } else {
        from = QString::number(t.lngRamkaOd);
        to = QString::number(t.lngRamkaDo);
    }
    const double span = Seconds(t.lngKoniec_M, t.lngKoniec_S, t.lngKoniec_SS) -
                        Seconds(t.lngPoczatek_M, t.lngPoczatek_S, t.lngPoczatek_SS);
    // A range that ends before it begins has no length.
    const std::int64_t whole = std::max<std::int64_t>(0, RoundHalfEven(span));
    const QString length = QStringLiteral("%1 : %2").arg(whole / 60).arg(whole % 60);
    return {t.strLabel, from, to, length, FileNameFromPath(t.strFileNameSource), t.strFileName};
}

} // namespace kelbrin
