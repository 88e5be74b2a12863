#pragma once
// The names in a folder, read in one pass without looking at any entry, so
// that a question about many paths in one folder costs one listing, not one
// lookup per path.

#include <QByteArray>
#include <QSet>
#include <QString>
#include <optional>

namespace kelbrin {

// The names (as the system stores them, "." and ".." too) of the folder's
// entries; nothing when the folder cannot be listed.
std::optional<QSet<QByteArray>> NamesInFolder(const QString& folder);

} // namespace kelbrin
