#pragma once
// Which file a path leads to: its device and inode. Two paths that lead to one
// file (the same name, a name a case-blind file system takes for another, a
// link) have one identity, however differently they are spelled.

#include <QString>
#include <cstdint>
#include <optional>

namespace kelbrin {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
    bool operator<(const FileIdentity& other) const {
        return device != other.device ? device < other.device : inode < other.inode;
    }

    // The file the path leads to now; nothing when there is none.
    static std::optional<FileIdentity> Of(const QString& path);
};

} // namespace kelbrin
