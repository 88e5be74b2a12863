#pragma once
// Reading the small legacy text files that drive a split (CUE sheets and
// segment lists): the whole file in one operation, decoded line by line (UTF-8
// where a line is UTF-8, else the system's ANSI code page; the whole file as
// UTF-16 behind a UTF-16 byte-order mark), split into lines.

#include <QString>
#include <QStringList>
#include <optional>

namespace kelbrin {

// The file's text, or nothing after a numbered message when it cannot be
// opened or read (3301) or is far too large for such a list (3688).
std::optional<QString> ReadSplitTextFile(const QString& path);

// Lines end at CR LF, a lone CR or a lone LF; a final line break adds no line.
QStringList SplitTextLines(const QString& text);

} // namespace kelbrin
