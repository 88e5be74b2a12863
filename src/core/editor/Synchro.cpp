#include "Synchro.h"

#include "core/app/PathProcedures.h"
#include "core/document/cPozycjeMP3.h"

namespace kelbrin {

namespace {

void copyPlacement(const cPozycjaMP3& s, cPozycjaMP3& d) {
    d.blnLabelEdited = s.blnLabelEdited;
    d.lngLeft = s.lngLeft;
    d.lngTop = s.lngTop;
    d.lngLoopCountBackup = s.lngLoopCountBackup;
    d.lngLoopTrack = s.lngLoopTrack;
    d.lngTrack = s.lngTrack;
    d.sngOvertake = s.sngOvertake;
    d.strFileName = s.strFileName;
    d.strLabel = s.strLabel;
}

void copyCommon(const cPozycjaMP3& s, cPozycjaMP3& d) {
    d.blnDeviceChanged = s.blnDeviceChanged;
    d.blnAwlaysTop = s.blnAwlaysTop;
    d.blnDetails = s.blnDetails;
    d.blnJednostka = s.blnJednostka;
    d.lngBPM = s.lngBPM;
    d.blnZablokowany = s.blnZablokowany;
    d.dblDuration = s.dblDuration;
    d.lngBalance = s.lngBalance;
    d.lngKoniec_M = s.lngKoniec_M;
    d.lngKoniec_S = s.lngKoniec_S;
    d.lngKoniec_SS = s.lngKoniec_SS;
    d.lngMarkerFrom = s.lngMarkerFrom;
    d.lngMarkerTo = s.lngMarkerTo;
    d.lngPoczatek_M = s.lngPoczatek_M;
    d.lngPoczatek_S = s.lngPoczatek_S;
    d.lngPoczatek_SS = s.lngPoczatek_SS;
    d.lngRamkaDo = s.lngRamkaDo;
    d.lngRamkaOd = s.lngRamkaOd;
    d.lngVolume = s.lngVolume;
    d.lngVolumeEnd = s.lngVolumeEnd;
    d.lngVolumeStart = s.lngVolumeStart;
    d.sngFadeInOffsetTime = s.sngFadeInOffsetTime;
    d.sngFadeInOffsetTimeOld = s.sngFadeInOffsetTimeOld;
    d.sngFadeInTime = s.sngFadeInTime;
    d.sngFadeInTimeOld = s.sngFadeInTimeOld;
    d.sngFadeOutTime = s.sngFadeOutTime;
    d.sngFadeOutTimeOld = s.sngFadeOutTimeOld;
    d.strTitle = s.strTitle;
    d.strAlbum = s.strAlbum;
    d.strAutor = s.strAutor;
    d.strComment = s.strComment;
    d.strYear = s.strYear;
    d.lngGenre = s.lngGenre;
    d.sngRate = s.sngRate;
    d.strDevice = s.strDevice;
    d.strFileNameSource = s.strFileNameSource;
}

} // namespace

QString PastedLabel(const cPozycjaMP3& source, const cPozycjeMP3* project) {
    int sameSource = 0;
    if (project)
        for (std::int32_t i = 1; i <= project->Count(); ++i)
            if (project->Item(i)->strFileNameSource == source.strFileNameSource)
                ++sameSource;
    return UniqueTrackName(source.strLabel, sameSource);
}

void Synchro(const cPozycjaMP3& source, cPozycjaMP3& destination, std::int32_t mode,
             const cPozycjeMP3* project) {
    switch (mode) {
    case synchro::Undo:
        copyPlacement(source, destination);
        break;
    case synchro::Clipboard:
        copyPlacement(source, destination);
        destination.lngNrPozycji = source.lngNrPozycji;
        break;
    case synchro::Paste:
        destination.blnLabelEdited = source.blnLabelEdited;
        destination.blnZmodyfikowana = true;
        destination.strLabel = source.lngNrPozycji == destination.lngNrPozycji
                                   ? source.strLabel
                                   : PastedLabel(source, project);
        break;
    case synchro::PasteNew:
        destination.blnLabelEdited = false;
        destination.strLabel = PastedLabel(source, project);
        break;
    default:
        break;
    }
    copyCommon(source, destination);
}

} // namespace kelbrin
