#pragma once
// Every recording setting as the recording settings window shows it: read
// from the settings store when the window opens and written back when it
// closes. The window only maps these fields to its controls.
//
// A stored value that its control cannot show (a list index beyond its list,
// a check state other than 0 or 1, a spin value outside its range) reads as
// the key's default, so what the window shows is always something it can
// store again.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace kelbrin {

struct RecordingConfiguration;

constexpr int kSpinMin = 1, kSpinMax = 32767;   // both buffer spin bars
constexpr int kVbrQualityMin = 0, kVbrQualityMax = 9; // LAME: 0 best, 9 smallest
constexpr int kAutoPauseMax = 65;               // seconds
constexpr int kPrefixMaxLength = 20;
constexpr int kSplitSizeMaxLength = 7;          // digits of NewFileRec (KB)
constexpr int kQualityPresetCount = 4;          // texts 3222 to 3225
constexpr int kChannelModeCount = 4;            // texts 3075 to 3078
constexpr int kMpegVersionCount = 3;            // texts 3071, 3070, 3068

struct RecordingOptions {
    bool lameEngine = true;  // EngineType: LAME (true) or a system codec

    // LAME: list indices into the rows of LameTables.h.
    int mpegVersion = 0;     // LameMPEGver
    int sampleRate = 1;      // LameSampleRate
    int bitRate = 8;         // LameBitRate
    int qualLow = 0;         // LameQualLow: minimum VBR bit rate
    int qualHigh = 13;       // LameQualHigh: maximum VBR bit rate
    int chanMode = 1;        // LameChanMode (3 = mono)
    int qualCBR = 2;         // LameQualCBR: the quality preset
    bool vbr = false;        // LameVBR
    bool abr = false;        // LameABR
    bool vbrHeader = true;   // LameVBXing
    int vbrQuality = 5;      // LameQual
    bool crc = false;        // LameCRC
    bool privateFlag = true; // LamePriv
    bool copyright = true;   // LameCopy
    bool original = true;    // LameOry
    bool padding = false;    // LamePad
    int lameBufLen = 25;     // LameBufLen: multiplier of the encoder's chunk

    // System codec.
    int recBufor = 500;      // RecBufor: capture block in units of 512 bytes
    bool writeWav = false;   // RecLast: codec output as a ".wav" file
    QString destFormat;      // DestFormat: description of the chosen format

    // Capture and output.
    int deviceIn = 0;        // DeviceIn: 0 = "Wave Mapper", n = device n-1
    QString recordFolder;    // RecDir: output folder
    QString bufferFolder;    // TempRecDir: folder of the capture buffer file
    QString prefix;          // RecPrefix
    bool speech = false;     // RecSpeech
    QString autoPauseText;   // AutoPauseRec: seconds of silence, 0 = off
    QString splitSizeText;   // NewFileRec: KB per output file, 0 = no split
};

// Reads every key. `deviceCount` is the number of capture devices now
// present; a stored device beyond them reads as "Wave Mapper".
RecordingOptions LoadRecordingOptions(int deviceCount);

// The stored list indices of the LAME rate lists, read afresh, as positions
// in the lists of `mpegVersion`'s row. An index the row does not have gives
// the position of the rate the encoder would use for it.
struct LameListSelection {
    int sampleRate = 1;
    int bitRate = 8;
    int qualLow = 0;
    int qualHigh = 13;
};
LameListSelection StoredLameListSelection(int mpegVersion);

// Writes every key and the program-wide values that follow them
// (TempRecordFolder, RecordFolder, CaptureDevice). An empty folder keeps the
// one stored before (or the default), the automatic pause is kept within
// 0..65 seconds, and the prefix loses the characters a file name cannot hold.
// DestFormat is left to the format button.
void SaveRecordingOptions(RecordingConfiguration& recording, const RecordingOptions& options);

// The prefix without the characters | > < " * ? / : and backslash.
QString CleanRecordPrefix(const QString& prefix);

// The automatic pause as stored: whole seconds within 0..65.
int AutoPauseSeconds(const QString& text);

// The tooltip of the buffer multiplier: the capture block in whole KB
// (chunk bytes x multiplier / 1024, truncated) followed by " KB".
QString LameBlockSizeText(std::int32_t chunkBytes, int multiplier);

// The folder the recording folders default to.
QString DefaultRecordingFolder();

} // namespace kelbrin
