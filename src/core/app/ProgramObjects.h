#pragma once
// The owners of the program's state, built once by main (and by the test
// fixture) and handed to those who need them.

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

// One set of owners.
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

};


} // namespace kelbrin
