#pragma once
// The keys of the shared settings store (Kelbrin.conf) that more than one
// place of the editor or the encoder server reads or writes, each named once
// here. The strings are what stored settings files hold: never change one.
// The recording handshake's keys are named with its protocol
// (core/recording/RecordingHandshake.h); a key one function alone uses may
// stay spelled where it is used.

#include <QString>

namespace kelbrin::settingkeys {

// Folders.
inline constexpr char kSPath[] = "SPath";           // where sources are opened from
inline constexpr char kDestPath[] = "DestPath";     // where exports and recorded projects go
inline constexpr char kRecDir[] = "RecDir";         // where recordings go
inline constexpr char kTempRecDir[] = "TempRecDir"; // the capture buffer's folder

// Language: the stored key is spelled so.
inline constexpr char kLangauge[] = "Langauge";

// The main window and its views.
inline constexpr char kWindowState[] = "WindowState";
inline constexpr char kWidth[] = "Width";
inline constexpr char kHeight[] = "Height";
inline constexpr char kLeft[] = "Left";
inline constexpr char kTop[] = "Top";
inline constexpr char kAdvView[] = "AdvView";
inline constexpr char kLoopProp[] = "LoopProp";
inline constexpr char kHelp[] = "Help";
inline constexpr char kFontSize[] = "FontSize";
inline constexpr char kViewNode[] = "ViewNode";
inline constexpr char kNodeSize[] = "NodeSize";
inline constexpr char kMouseSens[] = "MouseSens";
inline constexpr char kMove[] = "Move";

// Projects and sources.
inline constexpr char kAutoOpen[] = "AutoOpen";
inline constexpr char kAutoSave[] = "AutoSave";
inline constexpr char kAskRemove[] = "AskRemove";
inline constexpr char kTypPliku[] = "TypPliku";
inline constexpr char kS_Buf[] = "S_Buf";
// The recent projects: F1 the newest to F4.
inline QString RecentProjectKey(int n) { return QStringLiteral("F%1").arg(n); }

// Output devices.
inline constexpr char kDefSoundCard[] = "DefSoundCard";
inline constexpr char kSoundCardS[] = "SoundCardS";
inline constexpr char kMultiDevices[] = "MultiDevices";

// Splitting and export.
inline constexpr char kFileNaming[] = "FileNaming";
inline constexpr char kOverTake[] = "OverTake";
inline constexpr char kLMinDiv[] = "LMinDiv";
inline constexpr char kOpenType[] = "OpenType";
inline constexpr char kTAG_Def[] = "TAG_Def";
inline constexpr char kExactSave[] = "ExactSave";
inline constexpr char kFileNameSame[] = "FileNameSame";
inline constexpr char kFileNameSave[] = "FileNameSave";
inline constexpr char kExtPlayer[] = "ExtPlayer";
inline constexpr char kTurbo[] = "Turbo";
inline constexpr char kT_Set[] = "T_Set";
inline constexpr char kCreateCue[] = "CreateCue";

// Recording.
inline constexpr char kEngineType[] = "EngineType";
inline constexpr char kDeviceIn[] = "DeviceIn";
inline constexpr char kDestFormat[] = "DestFormat";
inline constexpr char kRecLast[] = "RecLast";
inline constexpr char kRecBufor[] = "RecBufor";
inline constexpr char kRecBufor2[] = "RecBufor2";
inline constexpr char kRecPrefix[] = "RecPrefix";
inline constexpr char kRecSpeech[] = "RecSpeech";
inline constexpr char kNewFileRec[] = "NewFileRec";
inline constexpr char kAutoPauseRec[] = "AutoPauseRec";
inline constexpr char kRecHeight[] = "RecHeight";
inline constexpr char kLameMPEGver[] = "LameMPEGver";
inline constexpr char kLameSampleRate[] = "LameSampleRate";
inline constexpr char kLameChanMode[] = "LameChanMode";
inline constexpr char kLameQualHigh[] = "LameQualHigh";
inline constexpr char kLameVBR[] = "LameVBR";
inline constexpr char kLameQualLow[] = "LameQualLow";
inline constexpr char kLameBitRate[] = "LameBitRate";
inline constexpr char kLameQualCBR[] = "LameQualCBR";
inline constexpr char kLameOry[] = "LameOry";
inline constexpr char kLamePriv[] = "LamePriv";
inline constexpr char kLameCopy[] = "LameCopy";
inline constexpr char kLameCRC[] = "LameCRC";
inline constexpr char kLamePad[] = "LamePad";
inline constexpr char kLameVBXing[] = "LameVBXing";
inline constexpr char kLameABR[] = "LameABR";
inline constexpr char kLameQual[] = "LameQual";
inline constexpr char kLameBufLen[] = "LameBufLen";

// The speech detector's tuning.
inline constexpr char kProgAkc[] = "ProgAkc";
inline constexpr char kRecMaksPr[] = "RecMaksPr";
inline constexpr char kRecDiffPr[] = "RecDiffPr";
inline constexpr char kRecMinWartPr[] = "RecMinWartPr";
inline constexpr char kRecNerwPeriod[] = "RecNerwPeriod";
inline constexpr char kRecMuteVol[] = "RecMuteVol";

} // namespace kelbrin::settingkeys
