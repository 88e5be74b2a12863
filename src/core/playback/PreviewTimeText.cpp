#include "PreviewPlayer.h"

#include "core/app/Numbers.h"
#include "core/document/MpegHeader.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/export/SplitSource.h"

#include <cmath>

namespace kelbrin {

std::optional<QString> PreviewTimeText(const EditorSession& session, double trackSeconds,
                                       bool framesUnit, const QString& source) {
    if (!framesUnit) {
        const auto s = static_cast<std::int64_t>(std::trunc(trackSeconds));
        return QStringLiteral("%1 : %2").arg(s / 60).arg(s % 60);
    }
    const auto file = FindOpenFile(session, source);
    if (!file || file->Daj_Naglowek_Ilosc() < 1)
        return std::nullopt;
    const std::int64_t samples = RoundHalfEven(HeaderSampleRate(*file) * trackSeconds);
    const int perFrame = mpeg::SamplesPerFrame(file->btyFrame2);
    return QString::number(samples / perFrame);
}

} // namespace kelbrin
