#pragma once
// What the benchmarks share: running a tool, and an hour of MP3 made from
// generated seconds repeated frame by frame.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace kelbrin::bench {

// Runs a program to its end; false (with its error output) when it fails.
bool RunProgram(const QString& program, const QStringList& arguments);
// Writes an hour of 128 kbit/s MPEG-1 Layer III to `target`, using `folder`
// for the seed files; the number of frames written, 0 on failure.
std::int64_t MakeHourLongMp3(const QString& folder, const QString& target);
// The same for an hour of lame -V 4 (variable bit rate, MPEG-1 Layer III).
std::int64_t MakeHourLongVbrMp3(const QString& folder, const QString& target);

} // namespace kelbrin::bench
