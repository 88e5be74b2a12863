#pragma once
// Writes the open project as a batch script: the open files as "id:path"
// lines, then one "id:name:kind:start:end" line per track whose source is open.
// Lines end in CR LF. Times are written exactly from the track's minutes,
// seconds and milliseconds, with "." before the milliseconds.

#include <QString>
#include <cstdint>

namespace kelbrin {

class cPozycjeMP3;
class cPozycjePlikow;

// "75.6" for 1 min 15 s 600 ms, "75" for 1 min 15 s, "75.065" for 65 ms.
QString ScriptSecondsText(std::int32_t minutes, std::int32_t seconds, std::int32_t milliseconds);

QString BuildScriptText(const cPozycjePlikow& files, const cPozycjeMP3& tracks);

} // namespace kelbrin
