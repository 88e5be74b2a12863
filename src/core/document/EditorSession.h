#pragma once
// The editing session: the open source files, the numbers the next file and
// the next new track get, and the code page of the open project's file.
// Start-up, a new project and a loaded project set them; the editor's
// commands read and advance them.

#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjePlikow;

struct EditorSession {
    std::shared_ptr<cPozycjePlikow> OpenFiles; // the open-files collection
    std::int32_t NextFileId = 1;
    std::int32_t NextTrackNo = 1; // number of the next new track
    // The code page the open project's file showed it was written in, which
    // its save writes in again; 0: the system's.
    int ProjectCodePage = 0;
};

} // namespace kelbrin
