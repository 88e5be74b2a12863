#pragma once
// What one export run is asked to do: the choices made in the export dialog
// (or forced by a batch script) and a copy of every ticked track, taken when
// the run starts so that nothing edited while it runs can reach it.

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjePlikow;

class cPozycjaMP3;

// The constant frame length that Turbo assumes.
enum class TurboLength {
    EveryFramePadded = 0,
    NoFramePadded = 1,
    AsReferenceHeader = 2,
};

// The fields of the ID3v1 block written after the audio.
struct Id3v1Fields {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    std::int32_t genre = 0;
};

// One ticked track as the engine needs it.
struct ExportPiece {
    QString label;      // the track's label
    QString outputName; // the track's output file name
    QString sourcePath; // full path of the source, matched against the open files
    bool rangeInFrames = false;
    std::int32_t frameFrom = 0; // first frame written (0 = from the first)
    std::int32_t frameTo = 0;   // first frame not written (0 = to the end)
    double startSeconds = 0;
    double endSeconds = 0;
    Id3v1Fields tag;
};

ExportPiece ExportPieceFromTrack(const cPozycjaMP3& track);

struct SaveRequest {
    QList<ExportPiece> pieces; // the ticked tracks, in the order they are written
    bool joined = false;       // all pieces into one file named joinedName
    QString joinedName;
    QString destFolder;        // without a trailing '/'
    bool nameByLabel = false;  // one file per track: label + ".mp3" instead of the output name
    bool turbo = false;
    TurboLength turboLength = TurboLength::AsReferenceHeader;
    bool exactAnalysis = false;
    bool writeCue = false;
    bool writePlaylist = false;
    bool preview = false; // only the head and the tail of every piece
    std::shared_ptr<cPozycjePlikow> openFiles; // the open sources the pieces are cut from
    std::int32_t copyChunkSize = 65535;        // bytes per copy step
};

enum class SaveStatus {
    Finished,  // the run went through (pieces may have been skipped)
    Refused,   // a check before any work failed; nothing was written
    Declined,  // the user would not replace the joined file
    Cancelled, // stopped from outside; the unfinished output was removed
    Failed,    // an error stopped the run; the unfinished output was removed
};

struct SaveOutcome {
    SaveStatus status = SaveStatus::Finished;
    int messageNumber = 0;  // the text shown for a refusal or failure
    QStringList written;    // output files completed, in order
    QStringList unwritten;  // labels of pieces that yielded no byte through a failure,
                            // or had no file of their own (no name, or the file
                            // an earlier piece was written to)
    // "label (file)" of pieces skipped for holding no whole frame. The dialog
    // skips them without a word, as the user drew them so; a script names them.
    QStringList emptyRanges;
    QString cueSheet;       // path of "cdr.cue" when written
    QString playlist;       // path of the playlist when written
    bool sideFileFailed = false; // the CUE sheet or the playlist asked for was not written

    // Every piece asked for is in its file, and so are the side files.
    bool whole() const {
        return status == SaveStatus::Finished && unwritten.isEmpty() && !sideFileFailed;
    }
};

} // namespace kelbrin
