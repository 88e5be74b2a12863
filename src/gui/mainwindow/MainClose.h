#pragma once
// Closing the main window ends the editor: a recording still running is
// finished and kept as a project, unsaved changes are offered for saving
// (Cancel keeps the window as it was, with no setting written), the window's
// placement is stored, the other windows are closed, the shared objects are
// released and the program ends.
//
// The window, the recorder and the run each do their part of the close
// through the interfaces in CloseSteps.h. Without a recorder window a
// recording is asked of the server's client object; the run ends by leaving
// the event loop.

#include "CloseSteps.h"
#include "core/recording/ServerPatience.h"

#include <QDate>
#include <QString>
#include <memory>

class QMainWindow;

namespace kelbrin {

class Clock;
class cPozycjePlikow;
struct MainMenus;
struct ProgramObjects;
struct ServerLink;

class MainClose {
public:
    // `clock` times the wait for the encoder server.
    MainClose(QMainWindow& window, ProgramObjects& program, const MainMenus& menus, Clock& clock,
              std::unique_ptr<CloseSteps> steps);
    ~MainClose();

    // The recorder and tests hand in what they own.
    void setSteps(std::unique_ptr<CloseSteps> steps);
    void setRecording(std::unique_ptr<RecordingClose> recording);
    void setProgramEnd(std::unique_ptr<ProgramEnd> end);

    // The server's client object is capturing or still encoding.
    static bool ServerRecording(const ServerLink& server);

    // Form_Unload: false keeps the window open.
    bool Form_Unload();

    // Some track or some open source file has changes not yet saved.
    static bool HasUnsavedChanges(const cPozycjeMP3* tracks, const cPozycjePlikow* files);
    // "Record " with the month and day, two digits each: "Record 03_07".
    static QString RecordProjectName(const QDate& date);
    // The default time the close waits for the encoder server: as long as a
    // recording waits for a silent one.
    static constexpr qint64 kHandOverTimeoutMs = kServerPatienceMs;

private:
    void finishRecording();
    void closeOtherWindows();
    void savePlacement();
    void offerToDeleteSources();

    QMainWindow& m_window;
    ProgramObjects& m_program;
    const MainMenus& m_menus;
    Clock& m_clock;
    std::unique_ptr<CloseSteps> m_steps;
    std::unique_ptr<RecordingClose> m_recording;
    std::unique_ptr<ProgramEnd> m_end;
    bool m_saved = false;
    bool m_keepBuffer = false; // the server may still read it
};

} // namespace kelbrin
