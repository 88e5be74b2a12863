#pragma once
// The list of audio outputs the user may choose from (SoundCards), cached in
// the setting SoundCardS so that the devices are asked only once per
// installation, and the switch between one output for everything and one
// output per track (UseDefaultRenderer, from MultiDevices).
//
// The stored form: a backquote, then every name followed by a backquote. The
// first character is always skipped and text after the last backquote is
// ignored; an empty value means "not enumerated yet".

#include <QString>
#include <QStringList>
#include <functional>

namespace kelbrin {

struct AudioOutputs;

class cPozycjaMP3;

// Appends the names of a stored list to `names`, each one only when it is not
// there yet (exact comparison).
void AppendStoredSoundCards(QStringList& names, const QString& stored);

// The stored form of `names`; empty when there are none.
QString StoredSoundCardsText(const QStringList& names);

// UseDefaultRenderer as the settings give it: MultiDevices missing or 0.
bool UseDefaultRendererSetting();

// Fills outputs.SoundCards: from SoundCardS when it holds a list, else from
// the platform's output devices, with the default output first and the
// silent "null" output last; a fresh list is stored in SoundCardS and its
// first name in DefSoundCard. Without any output device text 3170 is shown,
// the list holds just the default and "null", and nothing is stored (the next
// start asks again). Always sets UseDefaultRenderer. The caller empties
// SoundCards first when it wants a fresh list; `busy` (optional) shows the
// busy pointer while the devices are asked.
void EnumerateSoundCards(AudioOutputs& outputs, const std::function<void(bool)>& busy = {});

// Start-up's share of the list: UseDefaultRenderer, and the names of a stored
// list. Asks no device (that costs the media framework's start); false when
// no list is stored, so the devices are asked on first need.
bool LoadStoredSoundCards(AudioOutputs& outputs);

// The list before a window shows it: when start-up found no stored list, the
// devices are asked now, once (as EnumerateSoundCards does).
void EnsureSoundCards(AudioOutputs& outputs, const std::function<void(bool)>& busy = {});

// Sends `track` to `device`: the track is marked changed and its player
// builds its graph anew on the next start.
void SetTrackOutput(cPozycjaMP3& track, const QString& device);

} // namespace kelbrin
