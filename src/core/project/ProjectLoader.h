#pragma once
// Puts a checked project file into a freshly reset window: the header's
// values, one open file per source record, one track per track record, each
// track's box and list row. A source that is missing on disk is looked for in
// the folder the user chose for missing sources; when it is not found it stays
// open under its missing path with its tracks, so nothing of the project is
// lost. A source found by its name in a code page other than the one the
// file was read in shows the code page the project was written in: the
// project's other texts (output names, labels, devices, tag fields, the paths
// of missing sources) are then read in that one, and its saves write in it.
// In quiet mode nothing is asked.

#include <QString>
#include <memory>

namespace kelbrin {

class cPozycjaPlikow;
class ProjectWindow;
struct ProjectContents;
struct StoredSource;

class ProjectLoader {
public:
    explicit ProjectLoader(ProjectWindow& window) : m_window(window) {}

    // False when the load left tracks out, cleared output names or moved a
    // source to a path where it is missing too: the project in the window is
    // then less than its file holds.
    bool Load(const QString& path, const ProjectContents& contents, bool quiet);

    // Where missing sources are looked for during one opening; each opening
    // starts without one, so a later project's sources are never re-pathed
    // into a folder chosen for another.
    QString MissingSourceFolder;

private:
    std::shared_ptr<cPozycjaPlikow> openSource(const StoredSource& stored, std::int32_t version,
                                               bool quiet);
    // The user's replacement for a missing source; empty when none was opened.
    QString pickReplacement(const QString& storedPath, std::shared_ptr<cPozycjaPlikow>& file);

    ProjectWindow& m_window;
    bool m_movedToMissing = false;
    // The code page the first source found under a non-ASCII name showed;
    // 0 while none did.
    int m_codePage = 0;
};

} // namespace kelbrin
