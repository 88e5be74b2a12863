#pragma once
// The output file name proposed for a new track, after the pattern the user
// chose in the settings (FileNaming): a date-and-time stamp or a running
// number, with ".mp3" or ".mp2".

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace kelbrin {

// FileNaming "1": stamp + ".mp2"; "2": number + ".mp3"; "3": number + ".mp2";
// any other text: stamp + ".mp3". The stamp is "yyyymmdd__hh_mm_ss" of `when`
// (24-hour clock). The number is `n`, or `trackCount` + 1 when n is 0.
// Nothing checks that the name is free.
QString DefaultOutputName(const QDateTime& when, std::int32_t n, std::int32_t trackCount);

} // namespace kelbrin
