#include "TrackCommands.h"

#include "Synchro.h"
#include "TrackGraph.h"
#include "core/app/Numbers.h"
#include "core/document/Successors.h"
#include "core/document/cPozycjeMP3.h"

namespace kelbrin {

void ToggleLock(cPozycjaMP3& track) {
    track.blnZablokowany = !track.blnZablokowany;
    track.blnZmodyfikowana = true;
}

void RemoveConnection(cPozycjeMP3& tracks, std::int32_t number) {
    const std::int32_t i = ItemTracka(tracks, number);
    if (i == 0)
        return;
    cPozycjaMP3& t = *tracks.Item(i);
    if (t.lngTrack != 0 && t.lngTrack != t.lngNrPozycji)
        if (const std::int32_t p = ItemTracka(tracks, t.lngTrack))
            UpdateSuccessors(tracks, p, i, successors::RemoveFirst);
    t.lngTrack = t.lngNrPozycji;
    t.blnZmodyfikowana = true;
}

void RemoveLoop(cPozycjaMP3& track) {
    track.blnZmodyfikowana = true;
    track.lngLoopCount = 0;
    track.lngLoopCountBackup = 0;
    track.lngLoopTrack = -1;
}

LoopCountAnswer ParseLoopCount(const QString& typed, std::int32_t& count) {
    const QString text = typed.trimmed().left(6);
    if (text.isEmpty())
        return LoopCountAnswer::Cancelled;
    const std::int64_t value = RoundHalfEven(Val(text));
    if (value < 0 || value > kMaxLoopCount)
        return LoopCountAnswer::Refused;
    count = static_cast<std::int32_t>(value);
    return LoopCountAnswer::Accepted;
}

void SetLoopCount(cPozycjaMP3& track, std::int32_t count) {
    track.blnZmodyfikowana = true;
    track.lngLoopCount = count;
    track.lngLoopCountBackup = count;
}

std::pair<std::shared_ptr<cPozycjaMP3>, std::shared_ptr<cPozycjaMP3>>
FadePair(const cPozycjeMP3& tracks, std::int32_t number) {
    auto t = TrackByNumber(tracks, number);
    if (!t)
        return {nullptr, nullptr};
    auto p = t->lngTrack == 0 ? nullptr : TrackByNumber(tracks, t->lngTrack);
    return {p ? p : t, t};
}

std::shared_ptr<cPozycjaMP3> ClipboardCopy(const cPozycjaMP3& track) {
    auto copy = std::make_shared<cPozycjaMP3>();
    Synchro(track, *copy, synchro::Clipboard);
    return copy;
}

void PasteOnto(const cPozycjaMP3& clipboard, cPozycjaMP3& target, const cPozycjeMP3& tracks) {
    Synchro(clipboard, target, synchro::Paste, &tracks);
}

std::shared_ptr<cPozycjaMP3> PasteAsNew(const cPozycjaMP3& clipboard, const cPozycjeMP3& tracks,
                                        bool keepLabel) {
    auto track = std::make_shared<cPozycjaMP3>();
    Synchro(clipboard, *track, synchro::PasteNew, &tracks);
    if (keepLabel)
        track->strLabel = clipboard.strLabel;
    track->blnAwlaysTop = false;
    track->blnZmodyfikowana = true;
    return track;
}

QString CleanLabel(const QString& text) {
    static const QString forbidden = QStringLiteral(":\\/?*\"<>|");
    QString clean;
    for (const QChar c : text)
        if (!forbidden.contains(c))
            clean += c;
    return clean;
}

} // namespace kelbrin
