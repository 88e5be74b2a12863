#include "SaveRequest.h"

#include "core/document/cPozycjaMP3.h"

namespace kelbrin {

namespace {
double seconds(std::int32_t minutes, std::int32_t secs, std::int32_t millis) {
    return minutes * 60.0 + secs + millis * 0.001;
}
} // namespace

ExportPiece ExportPieceFromTrack(const cPozycjaMP3& track) {
    ExportPiece piece;
    piece.label = track.strLabel;
    piece.outputName = track.strFileName;
    piece.sourcePath = track.strFileNameSource;
    piece.rangeInFrames = !track.blnJednostka;
    piece.frameFrom = track.lngRamkaOd;
    piece.frameTo = track.lngRamkaDo;
    piece.startSeconds = seconds(track.lngPoczatek_M, track.lngPoczatek_S, track.lngPoczatek_SS);
    piece.endSeconds = seconds(track.lngKoniec_M, track.lngKoniec_S, track.lngKoniec_SS);
    piece.tag.title = track.strTitle;
    piece.tag.artist = track.strAutor;
    piece.tag.album = track.strAlbum;
    piece.tag.year = track.strYear;
    piece.tag.comment = track.strComment;
    piece.tag.genre = track.lngGenre;
    return piece;
}

} // namespace kelbrin
