#pragma once
// What closing the main window asks of the parts it does not own. The window
// answers for itself (CloseSteps), the recorder for a recording that may still
// run (RecordingClose), and the run for its own end (ProgramEnd).

#include <QDate>
#include <QString>

namespace kelbrin {

class cPozycjeMP3;

class CloseSteps {
public:
    virtual ~CloseSteps() = default;
    // Zapisz with the recent list updated and the name kept: true when written.
    virtual bool saveProject(const QString& projectName) = 0;
    virtual bool ready() const = 0;             // no long operation runs
    // Frame header edits not yet written into their files are written or
    // dropped as the user chooses; false keeps the window open.
    virtual bool settleHeaderEdits() = 0;
    virtual cPozycjeMP3* tracks() const = 0;    // the project's tracks
    virtual void stopPreview() = 0;             // the track panel's player
    virtual void stopPlayer() = 0;              // the sequence player
};

class RecordingClose {
public:
    virtual ~RecordingClose() = default;
    // A recording is captured or still encoded.
    virtual bool recording() const = 0;
    virtual void stopRecording() = 0;           // the recorder window's stop button
    virtual bool handingOver() const = 0;       // its stop button is still enabled
    // The wait for the server's hand-over: 0..100 while it lasts, 100 at its end.
    virtual void waitProgress(int percent) = 0;
    // How long the close waits for the server to finish the recording.
    virtual qint64 handOverTimeoutMs() const = 0;
    virtual void closeTrayIcon() = 0;
    virtual QString captureBufferName() const = 0; // inside the temporary recording folder
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual QString commandLine() const = 0;    // what the editor was started with
    virtual void yield() = 0;                   // serves events for a short while
    virtual QDate today() const = 0;
    // The last step: the open files are released and the event loop ends.
    virtual void endProgram() = 0;
};

} // namespace kelbrin
