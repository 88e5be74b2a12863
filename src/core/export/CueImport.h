#pragma once
// The CUE import: one new track per entry of a CUE sheet, all cut from the
// selected track's source, the last one ending where the selected track ends.

#include "CueReader.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <memory>

namespace kelbrin {

class cPozycjaMP3;

struct CueImportTrack {
    std::shared_ptr<cPozycjaMP3> track;
    QDateTime date; // the base time plus the entry's place in seconds: distinct default names
};

// From the last entry to the first (the split dialog takes them the other
// way round, in the sheet's order). Each starts at its INDEX 01 and ends where the entry after it starts (the
// last at `selectedEnd` seconds), carries the entry's performer and title and
// stays off the export list. Entries that would not end after their start are
// named in `skipped`.
QList<CueImportTrack> PlanCueImport(const QList<CueEntry>& entries, const cPozycjaMP3& selected,
                                    double selectedEnd, const QDateTime& base, QStringList* skipped);

} // namespace kelbrin
