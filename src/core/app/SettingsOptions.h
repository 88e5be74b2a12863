#pragma once
// The options that the settings dialog edits: read from the settings store as
// the dialog shows them, and written back when it closes. The window only
// maps these fields to its controls.
//
// Every field shows the value the program really uses: a missing key shows
// the program's own default and a stored value outside a control's range is
// clamped into it, so opening and closing the dialog changes no setting.

#include <QString>
#include <functional>

namespace kelbrin {

struct AudioOutputs;
struct LoadedSettings;
struct ProgramObjects;

constexpr int kFontSizeMin = 6, kFontSizeMax = 30;
constexpr int kNodeSizeMin = 200, kNodeSizeMax = 1000;

// The views' font size and the track boxes' size as the program uses them,
// read the one way that the main window and the settings dialog share: a font
// size is clamped into its range, a node size outside its range gives 450.
int StoredFontSize();
int StoredNodeSize();
// The mouse sensitivity's range is kMouseSensMin..kMouseSensMax (AppSettings.h).
constexpr int kFileNamingCount = 4; // texts 3236 to 3239

struct SettingsOptions {
    bool askRemove = false;     // AskRemove
    bool autoOpen = false;      // AutoOpen
    bool autoSave = false;      // AutoSave
    int fileNaming = 0;         // FileNaming, 0..3
    QString moveText;           // Move, whole seconds
    QString overTakeText;       // OverTake, whole milliseconds
    QString destFolder;         // DestPath, no trailing separator
    QString sourceFolder;       // SPath, with one
    int fontSize = 8;           // FontSize
    int nodeSize = 450;         // NodeSize, twips
    int mouseSensitivity = 150; // MouseSens
    QString device;             // DefSoundCard
    bool oneOutputForAll = true; // MultiDevices inverted (UseDefaultRenderer)
};

// Re-reads the settings into the program's loaded settings and recording
// configuration (LoadSettings), sets UseDefaultRenderer, seeds the two folders
// when they are empty, and returns what the dialog shows. `device` is left empty (the device list decides).
SettingsOptions LoadSettingsOptions(ProgramObjects& program);

// Stores every option and refreshes the loaded values that depend on them
// (DestFolder, SourceFolder, OverTakeSeconds, MoveStep, MouseSensitivity,
// UseDefaultRenderer), then announces the change. A non-numeric overlap is
// stored as 100 ms, a seek step of 0 or less as 1; empty folders are not stored.
void SaveSettingsOptions(LoadedSettings& settings, AudioOutputs& outputs, const SettingsOptions& options);

// The device list's refresh: drops `selected` (and empty names) from the
// cached list, stores what is left (nothing at all when nothing is left) and
// builds SoundCards anew, from the store or, when it was emptied, from the
// devices themselves.
void RefreshSoundCards(AudioOutputs& outputs, const QString& selected,
                       const std::function<void(bool)>& busy = {});

// Adds a renderer chosen by hand to SoundCards and to the cached list.
void AddSoundCard(AudioOutputs& outputs, const QString& name);

} // namespace kelbrin
