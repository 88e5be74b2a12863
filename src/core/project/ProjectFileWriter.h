#pragma once
// Builds the bytes of a project file (version 1006) from the open files and
// the tracks. Source ids are written as the files' positions 1..n, so that
// they fit the 16-bit field however high the editor's own ids have grown; each
// track points at the position of its source (the last open file with its
// path), or 0 when none has it.

#include "ProjectRecords.h"

#include <QByteArray>
#include <optional>

namespace kelbrin {

class AnsiCodec;
class cPozycjeMP3;
class cPozycjePlikow;

// The header's counts are taken from the collections; the other fields as
// given. Nothing when there are more open files than the id field can number.
std::optional<QByteArray> BuildProjectBytes(const ProjectHeader& header,
                                            const cPozycjePlikow& files, const cPozycjeMP3& tracks,
                                            const AnsiCodec& codec);

} // namespace kelbrin
