#include "Successors.h"

#include "cPozycjeMP3.h"

#include <QHash>
#include <stdexcept>

namespace kelbrin {

namespace {

cPozycjaMP3& trackAt(const cPozycjeMP3& tracks, std::int32_t position) {
    const auto& track = tracks.Item(position);
    if (!track)
        throw std::out_of_range("Subscript out of range");
    return *track;
}

// Stable bubble sort by overlap: only a strictly smaller overlap moves forward,
// and every comparison reads the overlap through the collection.
void sortByOvertake(const cPozycjeMP3& tracks, QList<std::int32_t>& list) {
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (qsizetype i = 1; i < list.size(); ++i) {
            const float before = trackAt(tracks, list[i - 1]).sngOvertake;
            const float after = trackAt(tracks, list[i]).sngOvertake;
            if (after < before) {
                list.move(i, i - 1);
                swapped = true;
            }
        }
    }
}

} // namespace

void UpdateSuccessors(cPozycjeMP3& tracks, std::int32_t index, std::int32_t value,
                      std::int32_t mode) {
    cPozycjaMP3& track = trackAt(tracks, index);
    QList<std::int32_t>& list = track.colNastepnik;
    switch (mode) {
    case successors::Append:
        list.append(value);
        break;
    case successors::RemoveFirst:
        list.removeOne(value);
        break;
    case successors::Rebuild:
        list = QList<std::int32_t>();
        track.blnZmodyfikowana = true;
        for (std::int32_t position = 1; position <= tracks.Count(); ++position) {
            const cPozycjaMP3& candidate = trackAt(tracks, position);
            // A detached track names itself and follows nobody.
            const bool detached = candidate.lngTrack == candidate.lngNrPozycji;
            if (candidate.lngTrack == value && !detached)
                list.append(position);
        }
        break;
    default:
        break;
    }
    sortByOvertake(tracks, list);
}

void RebuildEverySuccessorList(cPozycjeMP3& tracks) {
    // Positions by the number they follow, in collection order; a detached
    // track names itself and follows nobody.
    QHash<std::int32_t, QList<std::int32_t>> followers;
    for (std::int32_t position = 1; position <= tracks.Count(); ++position) {
        const cPozycjaMP3& candidate = trackAt(tracks, position);
        if (candidate.lngTrack != candidate.lngNrPozycji)
            followers[candidate.lngTrack].append(position);
    }
    for (std::int32_t position = 1; position <= tracks.Count(); ++position) {
        cPozycjaMP3& track = trackAt(tracks, position);
        track.colNastepnik = followers.value(track.lngNrPozycji);
        track.blnZmodyfikowana = true;
        sortByOvertake(tracks, track.colNastepnik);
    }
}

} // namespace kelbrin
