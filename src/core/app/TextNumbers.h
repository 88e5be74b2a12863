#pragma once
// The catalogue numbers (resources/Kelbrin.ini) of the messages and captions
// that code names, each named once here for the editor and the encoder server
// alike. "|1", "|2" mark what the text fills in.

namespace kelbrin::texts {

constexpr int kCancelText = 1101;
constexpr int kOkText = 1102;

constexpr int kSettingsCaption = 2016;         // the settings window's caption (from its menu item)
constexpr int kRecordingOptionsCaption = 2072; // the recording options window's caption (from its menu item)
constexpr int kRecordingFormatTitle = 2172;    // the codec format chooser's caption

constexpr int kFormatsDiffer = 3007;        // joined tracks differ in rate, version or layer
constexpr int kFileExists = 3011;           // |1 the file
constexpr int kNoOpenFile = 3014;
constexpr int kCaptureError = 3018;         // sound card error in |1, then the system's text
constexpr int kReplaceQuestion = 3022;
constexpr int kCannotCreateQuestion = 3024; // |1 the file, |2 reason: skip it?
constexpr int kAskScan = 3098;              // |1 the file: index its frames now?
constexpr int kSaveTracksCaption = 3108;    // the save window's caption
constexpr int kScanningCaption = 3112;
constexpr int kWritingCaption = 3113;
constexpr int kNoJoinedName = 3118;
constexpr int kNothingTicked = 3119;
constexpr int kNoFolder = 3130;             // |1 the destination folder
constexpr int kStopSavingQuestion = 3151;
constexpr int kApplyDeviceQuestion = 3158;  // play every track on this output device?
constexpr int kNoGraphText = 3162;          // the track cannot be played
constexpr int kNoOutputDeviceText = 3170;
constexpr int kRecorderTooltip = 3177;      // the recorder's tray icon
constexpr int kAbandonBacklog = 3180;       // stop again while the server still encodes
constexpr int kTimeLimitPrompt = 3188;
constexpr int kChooseLanguage = 3210;
constexpr int kEncoderVersionCaption = 3221;
constexpr int kFirstNamingText = 3236;      // first of the file naming choices
constexpr int kSourceNotOpen = 3361;        // |1 the track, |2 its source file
constexpr int kOutputIsSource = 3362;       // |1 the output
constexpr int kReadFailed = 3363;           // |1 the file: saving stopped
constexpr int kWriteFailed = 3364;          // |1 the file: saving stopped
constexpr int kSideFileFailed = 3365;       // |1 the file

constexpr int kNothingRead = 6000;          // |1 the source file, |2 the track
constexpr int kChangedForTurbo = 6001;      // |1 the source file
constexpr int kExportDialogOpen = 6002;
constexpr int kFormatChanged = 6040;        // |1 the file, |2 how much of it is used
constexpr int kFormatFileDamaged = 6402;    // |1 the recording format file, |2 what is wrong
constexpr int kFormatNotSaved = 6403;       // |1 the recording format file, |2 reason
constexpr int kFormatFileUnreadable = 6404; // |1 the recording format file, |2 reason
constexpr int kFormatWrongSize = 6405;
constexpr int kFormatNotChosen = 6406;
constexpr int kFormatWrongChannels = 6407;
constexpr int kFormatWrongRate = 6408;
constexpr int kFormatWrongBlock = 6409;
constexpr int kFormatExtraTooLong = 6410;
constexpr int kUnmappableText = 6503;       // |1 the characters the code page cannot store
constexpr int kMoreSkippedCue = 7326;       // |1 how many more tracks were skipped
constexpr int kHiddenTextTooLong = 7325;    // |1 the file, |2 characters it holds, |3 the text's
constexpr int kFramesMoved = 7345;          // |1 the file, |2 the first frame no longer in place
constexpr int kSourceShrank = 7346;         // |1 the file, cut short while it was scanned
constexpr int kBadTrackText = 6508;         // the track number lies outside 0 to 255
constexpr int kFormatFileMissing = 6650;    // "Formatex.ini not found"
constexpr int kDiskNearlyFull = 6651;       // the recording folder's disk
constexpr int kOutputWriteFailed = 6652;    // |1: the file
constexpr int kBufferUnreadable = 6653;
constexpr int kOutputCreateFailed = 6654;   // |1: the file
constexpr int kBufferOpenFailed = 6655;     // the server's: |1 the file
constexpr int kEncoderFailed = 6656;        // |1: what the encoder said
constexpr int kErrorIn = 6657;              // |1: the call, |2: the system's text
constexpr int kEditorGone = 6658;
constexpr int kServerAskedToEnd = 7391; // the server was asked to end (a signal)
constexpr int kNoServer = 6700;             // no encoder server: nothing can be recorded
constexpr int kBufferWriteFailed = 6701;    // |1 buffer file, |2 reason
constexpr int kServerEnded = 6702;          // the server ended the recording by itself
constexpr int kWaitingForServer = 6703;     // help line while the close waits
constexpr int kServerTimedOut = 6704;       // the close stopped waiting; |1 buffer file
constexpr int kRecorderCaption = 6705;      // the recorder window's caption while idle
constexpr int kRecordBufferOpenFailed = 6706; // the editor's: |1 buffer file, |2 reason
constexpr int kHzText = 6750;               // |1 Hz
constexpr int kKbitText = 6751;             // |1 kbit/s
constexpr int kSpeechWindowTitle = 6810;

constexpr int kPaddingHint = 7000;          // LAME sets the padding bit itself
constexpr int kRecordingRefused = 7040;     // "-rec" while another editor runs
constexpr int kScriptRefused = 7318;        // |1 a batch script given while another editor runs
constexpr int kLanguageFallback = 7041;     // |1 saved language not in the file; English is used
constexpr int kNoDisplay = 7042;            // no display reachable: the program runs without windows
constexpr int kMainWindowFailed = 7043;     // |1 what went wrong
constexpr int kFileArgumentFailed = 7044;   // |1 the file, |2 what went wrong
constexpr int kLastProjectFailed = 7045;    // |1 the project, |2 what went wrong
constexpr int kBufferDiskNearlyFull = 7046; // |1 the temporary recording folder
constexpr int kNoInstanceLock = 7392;       // the single-instance lock cannot be made
constexpr int kBadTimeLimit = 7393;         // |1 the "-rec" limit that is no number of minutes
constexpr int kEndRequested = 7390;         // |1 the signal that asked the editor to end
constexpr int kEndRequestedAgain = 7467;    // |1 the signal that asked again: every box is cancelled
constexpr int kDialogUnanswered = 7465;     // |1 what a file or folder dialog asked: cancelled unattended
constexpr int kNumberedDialogUnanswered = 7466; // follows a dialog's own numbered text: cancelled unattended
constexpr int kUnencodedSoundKept = 7350;  // |1 the kept buffer file
constexpr int kRecordingTooShort = 7410;   // |1 the recorded file with too few frames to be a track
constexpr int kSettingsNotWritten = 7100;   // |1 the settings file
constexpr int kSettingsDamaged = 7450;      // |1 the settings file, read without its unreadable lines
constexpr int kSourcesNotDeleted = 7101;    // |1 the files
constexpr int kChangedReadAgain = 7120;     // |1 the source file
constexpr int kChangedShorter = 7121;       // |1 the source file
constexpr int kOperationRunning = 7180;     // a command refused under another long operation
constexpr int kScriptNoSource = 7316;       // |1 the outputs whose source the batch script does not list
constexpr int kScriptSameOutput = 7317;     // |1 the outputs the batch script names more than once
constexpr int kSameFileTwice = 7341;        // |1 the tracks an earlier track's file kept out
constexpr int kJoinedNotCreated = 7342;     // |1 the joined file, |2 the system's reason
constexpr int kNoOutputName = 7343;         // |1 the tracks without an output file name
constexpr int kSegmentsPastTheEnd = 7344;   // |1 the segment list, |2 its pieces past the source's end
constexpr int kEmptyRanges = 7468;          // |1 the tracks whose range holds no whole frame
constexpr int kNoUsableFrames = 7469;       // |1 the source file, |2 its tracks left unwritten
constexpr int kOwnBufferFolder = 7470;      // |1 the folder of the settings, |2 the user's own one used instead
constexpr int kEndedBeforeTracks = 7471;    // |1 the tracks an export asked to end left unwritten
constexpr int kFolderGoneSkipped = 7431;    // |1 the destination folder, |2 the tracks left out after it went
constexpr int kSegmentsReversed = 7430;     // |1 the segment list, |2 "line (start-end)" of pairs ending before they start
constexpr int kHeaderEditsUnwritten = 7420;  // |1 the files whose edited frame headers are not written
constexpr int kServerBusEnded = 7440;      // the server's session bus ended during a recording
constexpr int kServerRefusedStart = 7441; // the server could not start a recording, and said no reason
constexpr int kNoCodecFormat = 7442;      // |1 the missing codec format file
constexpr int kNoPlaylistPlayer = 7443;   // |1 the playlist written; no player could be started for it

} // namespace kelbrin::texts
