#pragma once
// The shared file and folder dialogs: every window asks for files and folders
// through these two, with the calling convention of the editor's callers.

#include "core/document/FrameScanHost.h"

#include <QString>
#include <optional>

class QWidget;

namespace kelbrin {

// Shows an open dialog (save false) or a save dialog.
//
// filter: pairs of a description and a pattern, each part ended by NUL; a
//   pattern lists masks separated by ";" ("*.mp3;*.mp2"). An empty
//   description ends the list.
// filterIndex: 1-based; the filter shown first on entry, the filter in force
//   when the user confirmed on return. Left unchanged on cancel.
// multiSelect: lets an open dialog take several files. Only single-selection
//   save dialogs ask before replacing an existing file, and only when
//   askBeforeReplacing is set: a caller that adds an extension to the answer
//   asks itself, about the file it will really write, so the user is asked once.
// title: the window title; empty gives the dialog's own.
//
// Result: the full path of a single choice (also of a multiple choice of one
// file); for several files the folder, NUL, each file name followed by NUL,
// and one more NUL. Empty when the user cancelled, and at once, without a
// dialog, in an unattended run (NobodyAnswers), which writes what it asked to
// standard error.
QString ShowFileDialog(QWidget* owner, const QString& initialFolder, const QString& filter,
                       int& filterIndex, bool save, bool multiSelect, const QString& title,
                       bool askBeforeReplacing = true);

// Lets the user choose a folder; title is the text shown above the folder view
// (CR or CR LF break its lines). Result: the folder with exactly one trailing
// "/" ("/" for the root), or empty on cancel. Unattended, as ShowFileDialog;
// `textNumber` is the title's catalogue number, 0 when it has none.
QString BrowseForFolder(QWidget* owner, const QString& title, int textNumber = 0);

// The frame scanner's open dialog through ShowFileDialog; nothing on cancel.
std::optional<SourceFileChoice> ChooseSourceFiles(QWidget* owner, const SourceFileDialog& dialog);

} // namespace kelbrin
