#pragma once
// Closing the main window ends the editor: a recording still running is
// finished and kept as a project, unsaved changes are offered for saving
// (Cancel keeps the window as it was, with no setting written), the window's
// placement is stored, the other windows are closed, the shared objects are
// released and the program ends.
//
// The recorder, its tray icon and the players live in their own windows;
// their part of the close is reached through the seams below, whose defaults
// do what is right for a program without them.

#include <QDate>
#include <QString>
#include <functional>

class QMainWindow;

namespace kelbrin {

class Clock;
class cPozycjeMP3;
class cPozycjePlikow;
struct MainMenus;

class MainClose {
public:
    struct Seams {
        // A recording is captured or still encoded. Default: asks the recorder
        // object, when there is one.
        std::function<bool()> recording;
        std::function<void()> stopRecording; // the recorder window's stop button
        std::function<bool()> handingOver;   // its stop button is still enabled
        // The wait for the server's hand-over: 0..100 while it lasts, 100 at its end.
        std::function<void(int percent)> waitProgress;
        // How long the close waits for the server to finish the recording.
        std::function<qint64()> handOverTimeoutMs;
        std::function<void()> closeTrayIcon;
        std::function<QString()> captureBufferName; // inside the temporary recording folder
        std::function<void()> stopPreview;          // the track panel's player
        std::function<void()> stopPlayer;           // the sequence player
        // Zapisz (update-recent, keep-name, project name): true when written.
        std::function<bool(bool, bool, const QString&)> save;
        std::function<bool()> ready;             // no long operation runs
        std::function<cPozycjeMP3*()> tracks;    // the project's tracks
        std::function<QString()> commandLine;    // what the editor was started with
        std::function<void()> yield;             // lets pending events run once
        std::function<QDate()> today;
        // The last step. Default: the open files are released and the event loop ends.
        std::function<void()> endProgram;
    };

    // `clock` times the wait for the encoder server.
    MainClose(QMainWindow& window, const MainMenus& menus, Clock& clock, Seams seams);

    // The recorder, the players and tests fill what they own.
    Seams& seams() { return m_seams; }

    // Form_Unload: false keeps the window open.
    bool Form_Unload();

    // Some track or some open source file has changes not yet saved.
    static bool HasUnsavedChanges(const cPozycjeMP3* tracks, const cPozycjePlikow* files);
    // "Record " with the month and day, two digits each: "Record 03_07".
    static QString RecordProjectName(const QDate& date);
    // The default time the close waits for the encoder server.
    static constexpr qint64 kHandOverTimeoutMs = 180000;

private:
    void finishRecording();
    void closeOtherWindows();
    void savePlacement();
    void offerToDeleteSources();

    QMainWindow& m_window;
    const MainMenus& m_menus;
    Clock& m_clock;
    Seams m_seams;
    bool m_saved = false;
    bool m_keepBuffer = false; // the server may still read it
};

} // namespace kelbrin
