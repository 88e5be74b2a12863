#pragma once
// One track: a frame or time range of one open source file, with everything the
// editor needs to draw it, link it into the track graph, play it and write it
// out. Windows read and write the fields directly; besides its construction the
// record's only operations take and let go of its playback graph.
//
// A track keeps its number (lngNrPozycji) for life; stored links (lngTrack,
// lngLoopTrack) hold numbers. The successor list colNastepnik holds 1-based
// positions in the track collection instead, which shift when a track before
// them is deleted.

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

namespace kelbrin {

// The track's own playback graph. The media layer defines it; a track only
// holds it, and releasing the track releases the graph.
class PlaybackGraph;

class cPozycjaMP3 {
public:
    // Takes the default label (text 3097) in the current language and the
    // renderer from the setting DefSoundCard.
    cPozycjaMP3();

    std::int32_t lngNrPozycji = 0;
    // Predecessor's number; 0 = follows the start box; own number = detached.
    std::int32_t lngTrack = 0;
    std::int32_t lngLoopTrack = -1; // -1 = no loop
    std::int32_t lngLoopCount = 0;
    std::int32_t lngLoopCountBackup = 0;
    // Successors as 1-based positions in the track collection, sorted by their
    // sngOvertake; edited only through UpdateSuccessors. The list's own index
    // is 0-based.
    QList<std::int32_t> colNastepnik;
    std::int32_t lngOverTakingIndex = 0;
    std::int32_t lngColNastepnikIndex = 0;
    float sngOverTaking = -100000.0f; // -100000 = no early start pending
    std::int32_t lngBPM = 0;
    std::int32_t lngRamkaOd = 0; // first frame of the range, from 1
    std::int32_t lngRamkaDo = 0; // last frame of the range
    std::int32_t lngPoczatek_M = 0;
    std::int32_t lngPoczatek_S = 0;
    std::int32_t lngPoczatek_SS = 0;
    std::int32_t lngKoniec_M = 0;
    std::int32_t lngKoniec_S = 0;
    std::int32_t lngKoniec_SS = 0;
    QString strFileName;
    QString strFileNameSource; // full path of the source, matched exactly
    double dblDuration = 0;
    bool blnZmodyfikowana = false;
    bool blnJednostka = true; // true: the time fields hold the range; false: the frames
    std::int32_t lngLeft = 0; // box centre on the drawing surface, twips
    std::int32_t lngTop = 0;
    // Three views of the same playback graph (control, position, volume/balance),
    // set and cleared together through AttachGraph and ReleaseGraph.
    std::shared_ptr<PlaybackGraph> MediaControl;
    std::shared_ptr<PlaybackGraph> MediaPosition;
    std::shared_ptr<PlaybackGraph> MediaBasicAudio;
    // The track plays on `graph` from now on (null releases it).
    void AttachGraph(const std::shared_ptr<PlaybackGraph>& graph);
    // Lets go of the graph without stopping it; whoever still holds it keeps it.
    void ReleaseGraph() { AttachGraph(nullptr); }
    // All three views are set.
    bool HasGraph() const { return MediaControl && MediaPosition && MediaBasicAudio; }
    bool blnPlayed = false;
    QString strLabel;
    bool blnZablokowany = false;
    std::int32_t lngBalance = 0; // -10000..10000
    float sngRate = 1.0f;
    bool blnAwlaysTop = false;  // check mark in the export list
    std::int32_t lngVolume = 0; // 1/100 dB, 0 = full
    std::int32_t lngVolumeStart = -10000;
    float sngFadeInTime = 0;
    float sngFadeInOffsetTime = 0;
    float sngFadeInTimeOld = 0;
    float sngFadeInOffsetTimeOld = 0;
    std::int32_t lngVolumeEnd = -10000;
    float sngFadeOutTime = 0;
    float sngFadeOutTimeOld = 0;
    float sngOvertake = 0; // overlap with the preceding track, seconds
    QString strDevice;
    bool blnDeviceChanged = false;
    bool blnLabelEdited = false;
    bool blnPrev = false;
    std::int32_t lngMarkerFrom = 1000; // 0..32767 scale of the fade editor
    std::int32_t lngMarkerTo = 31767;
    bool blnDetails = false;
    std::int32_t lngSpOdtw = 0;
    QString strComment;
    QString strAutor;
    QString strTitle;
    QString strAlbum;
    // 255 is "none": a tag of a track no one gave a genre must not name one.
    std::int32_t lngGenre = 255;
    QString strYear;
};

} // namespace kelbrin
