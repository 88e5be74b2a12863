#pragma once
// The owners of the program's state, built once by main (and by the test
// fixture), and a thin holder of references to them for the readers that are
// not handed the owner they need.

#include "core/app/AudioOutputs.h"
#include "core/app/LoadedSettings.h"
#include "core/document/EditorSession.h"
#include "core/recording/CaptureStatus.h"
#include "core/recording/RecordingConfiguration.h"
#include "core/recording/ServerLink.h"

namespace kelbrin {

struct ProgramObjects {
    EditorSession& session;
    LoadedSettings& settings;
    RecordingConfiguration& recording;
    ServerLink& server;
    AudioOutputs& outputs;
    CaptureStatus& capture;
};

// One set of owners; installs itself as the program's set while it lives.
class ProgramObjectSet {
public:
    ProgramObjectSet();
    ~ProgramObjectSet();
    ProgramObjectSet(const ProgramObjectSet&) = delete;
    ProgramObjectSet& operator=(const ProgramObjectSet&) = delete;

    EditorSession session;
    LoadedSettings settings;
    RecordingConfiguration recording;
    ServerLink server;
    AudioOutputs outputs;
    CaptureStatus capture;
    ProgramObjects objects{session, settings, recording, server, outputs, capture};

private:
    ProgramObjects* m_previous = nullptr;
};

// The installed set; a program reaching it before main built one is a
// programming error and ends at once.
ProgramObjects& Program();

} // namespace kelbrin
