#pragma once
// The Track menu's commands and their tool buttons: lock, connect, remove the
// connection, loops and their count, properties, fade, label, split, delete,
// and the clipboard's copy, cut, paste and paste as new. Each command that
// changes tracks takes one undo snapshot first; link mode blocks cut, undo
// and redo.

#include "EditorPartners.h"
#include "FadeEditors.h"
#include "core/editor/TrackCommandState.h"

#include <QList>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

class QPushButton;
class QWidget;

namespace kelbrin {

class EditorController;
class cPozycjaMP3;
struct MainMenus;

class TrackCommandSet : public QObject, public FadeEditorOpener, public TrackCommandState {
    Q_OBJECT
public:
    // `clipboard` is the window's CpozSchowek; `window` is searched for the
    // active control (Delete in a text box edits the text).
    TrackCommandSet(EditorController& editor, const MainMenus* menus, QWidget* toolFrame,
                    std::shared_ptr<cPozycjaMP3>* clipboard, QWidget* window, QObject* parent = nullptr);

    FadeEditors fadeEditors;

    void mnuTrack_Blok_Click();
    void mnuTrack_Con_Connect_Click();
    void mnuTrack_Con_Remove_Click();
    void mnuTrack_Loop_Click();
    void mnuLoopTrack_Ilosc_Click();
    void mnuLoopTrack_Remove_Click();
    void mnuTrack_Prop_Click();
    void mnuTrack_Fade_Click();
    void mnuTrack_Label_Click();
    void mnuTrack_Adv_Click();
    void mnuTrack_Remove_Click();
    void cmdUsun_Click();
    // Deletes the track with this number as the delete button does, whatever
    // control has the focus. `ownUndoStep` false: the deletion ends an action
    // whose undo step is already taken (a track moved in the tree).
    void DeleteTrack(std::int32_t number, bool ownUndoStep = true);
    void mnuTrack_Kopiuj_Click();
    void CopyToClipboard(std::int32_t number);
    void mnuTrack_Wklej_Click();
    void mnuTrack_Wklej_Nowy_Click();
    // Paste as new; `added` hears the numbers of the tracks the split dialog
    // added (nothing when it added none). `keepLabel` leaves the clipboard's
    // label unnumbered (a track moved in the tree keeps its name).
    void PasteAsNewTrack(std::function<void(const QList<std::int32_t>&)> added, bool keepLabel = false);
    void mnuTrack_Wytnij_Click();
    void OpenFadeEditor(std::shared_ptr<cPozycjaMP3> ending, std::shared_ptr<cPozycjaMP3> starting) override;
    bool FadeEditorAvailable() const override { return fadeEditors.available(); }
    // Another window holds deletion back (the export dialog lists tracks by
    // position): delete, cut and the tree's move are off until it lets go.
    void HoldDeletion(bool held);
    bool deletionHeld() const { return m_deleteHeld; }
    bool deleteAllowed() const override { return !m_deleteHeld; }
    bool clipboardFull() const override { return m_clipboard && *m_clipboard; }

    QPushButton* button(const QString& name) const;

private:
    void wire(const char* action, void (TrackCommandSet::*handler)());
    void addButton(const char* name, const char* tag, int slot, void (TrackCommandSet::*handler)(),
                   bool enabled);
    void changed(const cPozycjaMP3& track);
    std::shared_ptr<cPozycjaMP3> selected() const;
    bool tracksHeld() const;

    EditorController& m_editor;
    const MainMenus* m_menus;
    QWidget* m_toolFrame;
    std::shared_ptr<cPozycjaMP3>* m_clipboard;
    QWidget* m_window;
    bool m_deleteHeld = false;
};

} // namespace kelbrin
