#pragma once
// The output file name proposed for a new track, after the pattern the user
// chose in the settings (FileNaming): a date-and-time stamp or a running
// number, with ".mp3" or ".mp2".

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kelbrin {

class cPozycjeMP3;

// FileNaming "1": stamp + ".mp2"; "2": number + ".mp3"; "3": number + ".mp2";
// any other text: stamp + ".mp3". The stamp is "yyyymmdd__hh_mm_ss" of `when`
// (24-hour clock). The number is `n`, or `trackCount` + 1 when n is 0.
// Nothing checks that the name is free.
QString DefaultOutputName(const QDateTime& when, std::int32_t n, std::int32_t trackCount);

// `name` itself when no name of `taken` equals it, else the name with the
// first free counter before its extension: "a.mp3", "a-2.mp3", "a-3.mp3".
// Names are compared without regard to case, as the FAT and exFAT sticks that
// outputs often go to compare them.
QString UniqueOutputName(const QString& name, const QStringList& taken);

// The same choice for many names in a row, each one taken as soon as it is
// given: a split into a thousand pieces names them without searching every
// name given before for every candidate.
class OutputNameRegister {
public:
    explicit OutputNameRegister(const QStringList& taken);
    // Counts `name` as taken, as it stands.
    void add(const QString& name);
    // UniqueOutputName of `name` and every name taken so far; it is taken.
    QString take(const QString& name);

private:
    QSet<QString> m_taken;                   // case-folded
    QHash<QString, qsizetype> m_nextCounter; // per folded name: the first counter not yet tried
};

// The output names of the project's tracks.
QStringList ProjectOutputNames(const cPozycjeMP3* tracks);

// The name proposed for a new track: DefaultOutputName with n = 0, made
// unique among the project's output names, so that tracks made in the same
// second (or numbered alike after a deletion) never share an output file.
QString ProposedOutputName(const QDateTime& when, const cPozycjeMP3* tracks);

} // namespace kelbrin
