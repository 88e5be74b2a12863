#include "SplitSource.h"

#include "SplitTime.h"
#include "core/document/EditorSession.h"
#include "core/document/MpegHeader.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjePlikow.h"

#include <optional>
#include <stdexcept>

namespace kelbrin {

namespace {

// The playing time of `frames` frames, or nothing when the reference header
// gives no sampling rate.
std::optional<double> framesTime(const cPozycjaPlikow& file, std::int32_t frames) {
    try {
        return double(FramesToSeconds(file, frames));
    } catch (const std::domain_error&) {
        return std::nullopt;
    }
}

} // namespace

std::shared_ptr<cPozycjaPlikow> FindOpenFile(const EditorSession& session, const QString& path) {
    const auto& files = session.OpenFiles;
    if (!files || path.isEmpty())
        return nullptr;
    for (std::int32_t i = 1; i <= files->Count(); ++i) {
        auto file = files->Item(i);
        if (file && file->strFileName == path)
            return file;
    }
    return nullptr;
}

double SourceDuration(const cPozycjaPlikow& file) {
    double length = file.sngCzasTrwania;
    if (file.Daj_Naglowek_Ilosc() >= 1 && file.blnVBR)
        length = framesTime(file, file.Daj_Naglowek_Ilosc()).value_or(length);
    return RoundToMilliseconds(length);
}

double FullSourceLength(const cPozycjaPlikow& file) {
    double length = file.sngCzasTrwania;
    // A partly built index would end the continuation early.
    if (file.Daj_Naglowek_Ilosc() >= 1 && file.blnLoadedFull)
        length = framesTime(file, file.Daj_Naglowek_Ilosc()).value_or(length);
    return RoundToMilliseconds(length);
}

double TrackEndSeconds(const cPozycjaMP3& track, const cPozycjaPlikow* source) {
    if (track.blnJednostka || !source)
        return TrackTimeSeconds(EndTime(track));
    return RoundToMilliseconds(framesTime(*source, track.lngRamkaDo).value_or(0.0));
}

} // namespace kelbrin
