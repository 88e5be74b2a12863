#pragma once
// Opening source files: asks for them when no name is given, finds the MPEG
// frames in each one, fills its open-file record (reference header, frame
// index, bit-rate kind, duration) and adds new records to the open-files
// collection. Every opener of a source file goes through Plik_Open.

#include <QString>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjaPlikow;
class FrameScanHost;
struct EditorSession;

// Filter indexes of the open dialog.
namespace source_filter {
constexpr std::int32_t Mpeg = 1;
constexpr std::int32_t Wave = 2;
constexpr std::int32_t Media = 3; // played as it is, not scanned, not savable
} // namespace source_filter

// Arguments after the host, in order:
//  session     the editing session whose open files receive new records and
//              give them their ids; needed with asNewFile (may be null else).
//  sourceFolder  the dialog's folder when `folder` is empty.
//  file        the record; its strFileName names the file, empty to ask. With
//              asNewFile a new record is made for each file (and file ends as
//              the last one).
//  buildIndex  index every frame; set when a variable bit rate is found.
//  asNewFile   new records, given the next ids and added to the open files;
//              the dialog allows several files.
//  title       the dialog's title.
//  track       may be null; its range limits how far the index is built.
//  noTimeLimit a time range of the track sets no limit.
//  offerMediaFiles  the dialog offers the media-file filter.
//  folder      the dialog's folder (the source folder when empty); receives the
//              folder of a multiple choice.
//  filterIndex the filter that a given file name counts as.
// Returns the path of the last file opened, or "" when nothing was opened.
QString Plik_Open(FrameScanHost& host, EditorSession* session, const QString& sourceFolder,
                  std::shared_ptr<cPozycjaPlikow>& file, bool& buildIndex,
                  bool asNewFile, const QString& title, const cPozycjaMP3* track, bool noTimeLimit,
                  bool offerMediaFiles, QString& folder, std::int32_t filterIndex);

} // namespace kelbrin
