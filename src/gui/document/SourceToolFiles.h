#pragma once
// What the hidden-text window and the frame header editor share: their list of
// open files that keep header bytes, finding the chosen one, scanning a file
// whose index is empty, opening another file, their caption and the question
// asked when they are closed while writing.

#include <QString>
#include <cstdint>
#include <memory>

class QComboBox;

namespace kelbrin {

class cPozycjaPlikow;
class SourceToolHost;
struct EditorSession;

// The open files that keep header bytes, then the project's other open
// sources; no entry is selected. Item data is the file's id.
void FillToolFileList(EditorSession& session, QComboBox* list);
// The open file that keeps header bytes for the selected entry, or null. For a
// project source that is the tools' own record of the same file, made on the
// first choice with an empty index (EnsureFrameIndex scans it).
std::shared_ptr<cPozycjaPlikow> SelectedToolFile(EditorSession& session, const QComboBox* list);
// A file with frames in its index. An empty index asks text 3098 and scans the
// file on Yes; false when the answer is No or the scan opened nothing.
bool EnsureFrameIndex(SourceToolHost& host, std::shared_ptr<cPozycjaPlikow>& file,
                      const QString& entryText);
// Asks for another file and scans it into a new open file that keeps header
// bytes; false (and no new open file) when nothing was opened.
bool OpenToolFile(SourceToolHost& host);
// The window caption: the menu item's text without its access key and dots.
QString ToolWindowCaption(int number);
// Asks whether a running write should stop so the window can close.
bool AskStopToolWrite();

} // namespace kelbrin
