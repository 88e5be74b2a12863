#include "TrackCommandSet.h"

#include "EditorController.h"
#include "TrackListNavigator.h"
#include "TrackSurface.h"
#include "frmLabel.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/SplitDialogLauncher.h"
#include "core/editor/TrackCommands.h"
#include "core/editor/TrackDeletion.h"
#include "gui/app/Twips.h"
#include "gui/mainwindow/MainMenus.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <exception>

namespace kelbrin {

TrackCommandSet::TrackCommandSet(EditorController& editor, const MainMenus* menus, QWidget* toolFrame,
                                 std::shared_ptr<cPozycjaMP3>* clipboard, QWidget* window, QObject* parent)
    : QObject(parent), m_editor(editor), m_menus(menus), m_toolFrame(toolFrame), m_clipboard(clipboard),
      m_window(window) {
    // Buttons after the undo pair, in the Track menu's order. Properties and
    // delete wait for a track to be selected.
    addButton("cmdZmien", "1106;5002", 0, &TrackCommandSet::mnuTrack_Prop_Click, false);
    addButton("cmdUsun", "1104;5001", 1, &TrackCommandSet::cmdUsun_Click, false);
    addButton("cmdBlok", "1147;5018", 2, &TrackCommandSet::mnuTrack_Blok_Click, false);
    addButton("cmdPolacz", "1145;5020", 3, &TrackCommandSet::mnuTrack_Con_Connect_Click, false);
    addButton("cmdUsunPolaczenie", "1146;5021", 4, &TrackCommandSet::mnuTrack_Con_Remove_Click, false);
    addButton("cmdDodajPetle", "1143;5022", 5, &TrackCommandSet::mnuTrack_Loop_Click, false);
    addButton("cmdIloscPetli", "1154", 6, &TrackCommandSet::mnuLoopTrack_Ilosc_Click, false);
    addButton("cmdUsunPetle", "1144", 7, &TrackCommandSet::mnuLoopTrack_Remove_Click, false);
    addButton("cmdLabel", "1152;5019", 8, &TrackCommandSet::mnuTrack_Label_Click, false);
    addButton("cmdCut", "1148;5014", 9, &TrackCommandSet::mnuTrack_Wytnij_Click, false);
    addButton("cmdCopy", "1149;5015", 10, &TrackCommandSet::mnuTrack_Kopiuj_Click, false);
    addButton("cmdPaste(0)", "1150;5016", 11, &TrackCommandSet::mnuTrack_Wklej_Click, false);
    addButton("cmdPaste(1)", "1151;5017", 12, &TrackCommandSet::mnuTrack_Wklej_Nowy_Click, false);

    wire("mnuTrack_Blok", &TrackCommandSet::mnuTrack_Blok_Click);
    wire("mnuTrack_Con_Connect", &TrackCommandSet::mnuTrack_Con_Connect_Click);
    wire("mnuTrack_Con_Remove", &TrackCommandSet::mnuTrack_Con_Remove_Click);
    wire("mnuTrack_Loop", &TrackCommandSet::mnuTrack_Loop_Click);
    wire("mnuLoopTrack_Ilosc", &TrackCommandSet::mnuLoopTrack_Ilosc_Click);
    wire("mnuLoopTrack_Remove", &TrackCommandSet::mnuLoopTrack_Remove_Click);
    wire("mnuTrack_Prop", &TrackCommandSet::mnuTrack_Prop_Click);
    wire("mnuTrack_Fade", &TrackCommandSet::mnuTrack_Fade_Click);
    wire("mnuTrack_Label", &TrackCommandSet::mnuTrack_Label_Click);
    wire("mnuTrack_Adv", &TrackCommandSet::mnuTrack_Adv_Click);
    wire("mnuTrack_Remove", &TrackCommandSet::mnuTrack_Remove_Click);
    wire("mnuTrack_Kopiuj", &TrackCommandSet::mnuTrack_Kopiuj_Click);
    wire("mnuTrack_Wklej", &TrackCommandSet::mnuTrack_Wklej_Click);
    wire("mnuTrack_Wklej_Nowy", &TrackCommandSet::mnuTrack_Wklej_Nowy_Click);
    wire("mnuTrack_Wytnij", &TrackCommandSet::mnuTrack_Wytnij_Click);

    GraphEditor& g = m_editor.editor();
    g.setCommandState(this);
    m_editor.setFadeEditors(this);
    // The window's states follow the selection from the start.
    g.Udostepniaj(g.lngSelectedTrack);
}

void TrackCommandSet::HoldDeletion(bool held) {
    m_deleteHeld = held;
    GraphEditor& g = m_editor.editor();
    if (!g.linkMode())
        g.Udostepniaj(g.lngSelectedTrack);
    else
        m_editor.setControlEnabled(QStringLiteral("cmdUsun"), !held && g.lngSelectedTrack != 0);
}

void TrackCommandSet::addButton(const char* name, const char* tag, int slot,
                                void (TrackCommandSet::*handler)(), bool enabled) {
    if (!m_toolFrame)
        return;
    auto* b = new QPushButton(m_toolFrame);
    b->setObjectName(QLatin1String(name));
    b->setProperty("Tag", QLatin1String(tag));
    b->setGeometry(TwipRect{1100.0 + 510.0 * slot, 60, 495, 435}.toPx());
    b->setEnabled(enabled);
    connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    // The two unlink buttons repaint after their command.
    if (QLatin1String(name) == QLatin1String("cmdUsunPetle") ||
        QLatin1String(name) == QLatin1String("cmdUsunPolaczenie"))
        connect(b, &QPushButton::clicked, &m_editor, &EditorController::mnuTrack_Refresh_Click);
}

void TrackCommandSet::wire(const char* action, void (TrackCommandSet::*handler)()) {
    if (!m_menus)
        return;
    if (QAction* a = m_menus->item(QLatin1String(action)))
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
}

QPushButton* TrackCommandSet::button(const QString& name) const {
    return m_toolFrame ? m_toolFrame->findChild<QPushButton*>(name) : nullptr;
}

std::shared_ptr<cPozycjaMP3> TrackCommandSet::selected() const {
    return TrackByNumber(m_editor.tracks(), m_editor.editor().lngSelectedTrack);
}

void TrackCommandSet::changed(const cPozycjaMP3& track) {
    if (m_editor.list())
        m_editor.list()->UpdateRow(track);
    if (TrackTreeUpdates* tree = m_editor.tree())
        tree->TrackChanged(track.lngNrPozycji);
    m_editor.update();
}

// ---- lock, links, loops ----

void TrackCommandSet::mnuTrack_Blok_Click() {
    auto t = selected();
    if (!t)
        return;
    m_editor.TworzUndo();
    ToggleLock(*t);
    changed(*t); // the box's colour follows the lock at once, playing or not
}

void TrackCommandSet::mnuTrack_Con_Connect_Click() { m_editor.editor().startLink(false); }

void TrackCommandSet::mnuTrack_Loop_Click() {
    if (m_editor.editor().lngSelectedTrack != 0)
        m_editor.editor().startLink(true);
}

void TrackCommandSet::mnuTrack_Con_Remove_Click() {
    m_editor.TworzUndo();
    const std::int32_t number = m_editor.editor().lngSelectedTrack;
    RemoveConnection(m_editor.tracks(), number);
    if (TrackTreeUpdates* tree = m_editor.tree())
        tree->TrackRelinked(number);
    CommandStates s;
    s["cmdUsunPolaczenie"] = s["mnuTrack_Con_Remove"] = s["mnuTrack_Fade"] = false;
    s["cmdPolacz"] = s["mnuTrack_Con_Connect"] = true;
    m_editor.applyCommandStates(s);
    m_editor.update();
}

void TrackCommandSet::mnuLoopTrack_Remove_Click() {
    auto t = m_editor.tracks().Count() >= m_editor.editor().lngCurrentTrack
                 ? m_editor.tracks().Item(m_editor.editor().lngCurrentTrack)
                 : nullptr;
    if (!t)
        return;
    m_editor.TworzUndo();
    RemoveLoop(*t);
    CommandStates s;
    s["cmdUsunPetle"] = s["cmdIloscPetli"] = s["mnuLoopTrack_Ilosc"] = s["mnuLoopTrack_Remove"] = false;
    s["cmdDodajPetle"] = s["mnuTrack_Loop"] = true;
    m_editor.applyCommandStates(s);
    changed(*t);
}

void TrackCommandSet::mnuLoopTrack_Ilosc_Click() {
    const std::int32_t current = m_editor.editor().lngCurrentTrack;
    auto t = current >= 1 && current <= m_editor.tracks().Count() ? m_editor.tracks().Item(current) : nullptr;
    if (!t)
        return;
    const auto answer = InputBox(GetText(2038).remove(QLatin1Char('&')), QString(),
                                 QString::number(t->lngLoopCountBackup), 2038);
    std::int32_t count = 0;
    switch (ParseLoopCount(answer.value_or(QString()), count)) {
    case LoopCountAnswer::Cancelled:
        return;
    case LoopCountAnswer::Refused:
        ShowText(3902, mb::Exclamation);
        return;
    case LoopCountAnswer::Accepted:
        break;
    }
    m_editor.TworzUndo();
    SetLoopCount(*t, count);
    changed(*t);
}

// ---- windows of other parts ----

void TrackCommandSet::mnuTrack_Prop_Click() {
    if (auto t = selected())
        m_editor.openProperties(t);
}

void TrackCommandSet::mnuTrack_Fade_Click() {
    const auto pair = FadePair(m_editor.tracks(), m_editor.editor().lngSelectedTrack);
    if (pair.second)
        OpenFadeEditor(pair.first, pair.second);
}

void TrackCommandSet::OpenFadeEditor(std::shared_ptr<cPozycjaMP3> ending,
                                     std::shared_ptr<cPozycjaMP3> starting) {
    if (m_editor.tracks().Count() == 0)
        return;
    fadeEditors.Open(std::move(ending), std::move(starting));
}

void TrackCommandSet::mnuTrack_Label_Click() {
    auto t = selected();
    if (!t)
        return;
    m_editor.TworzUndo();
    EditorController* editor = &m_editor;
    frmLabel* dialog = frmLabel::PokazMnie(
        t->lngNrPozycji, [editor] { return &editor->tracks(); },
        [this](const cPozycjaMP3& track) { changed(track); }, m_window);
    // A deletion, an undo or another project may take the track away.
    connect(&m_editor, &EditorController::tracksChanged, dialog, &frmLabel::CheckTrack);
}

void TrackCommandSet::mnuTrack_Adv_Click() {
    auto t = selected();
    SplitDialogLauncher* split = SplitDialog();
    if (!t || !split)
        return;
    SplitDialogRequest request;
    request.track = t;
    request.tracksAdded = [this](const QList<std::int32_t>&) { m_editor.RebuildViews(); m_editor.update(); };
    split->PokazMnie(request);
}

// ---- deletion ----

void TrackCommandSet::mnuTrack_Remove_Click() {
    if (QPushButton* b = button("cmdUsun"); b && !b->isEnabled())
        return;
    cmdUsun_Click();
}

bool TrackCommandSet::tracksHeld() const {
    return m_editor.tracksHeld();
}

void TrackCommandSet::cmdUsun_Click() {
    // Delete in a text box edits the text.
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
        qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QAbstractSpinBox*>(focus))
        return;
    GraphEditor& g = m_editor.editor();
    if (g.linkMode() || g.lngSelectedTrack == 0 || m_deleteHeld)
        return;
    DeleteTrack(g.lngSelectedTrack);
}

void TrackCommandSet::DeleteTrack(std::int32_t number, bool ownUndoStep) {
    GraphEditor& g = m_editor.editor();
    if (g.linkMode() || number == 0 || tracksHeld())
        return;
    try {
        cPozycjeMP3& tracks = m_editor.tracks();
        const std::int32_t position = ItemTracka(tracks, number);
        if (position == 0)
            return;
        if (MarkForPlayer(tracks, position, &g.run))
            return; // the player deletes it when its run lets it
        if (ownUndoStep)
            m_editor.TworzUndo();
        DeletionOptions options;
        options.deferForPlayer = false;
        DeleteTrackAt(tracks, position, &g.run, options);
        if (m_editor.list())
            m_editor.list()->RemoveRow(number);
        if (TrackTreeUpdates* tree = m_editor.tree())
            tree->TrackDeleted(number);
        g.resetSelection();
        m_editor.TracksChanged();
        m_editor.update();
    } catch (const std::exception& e) {
        ShowErrorBox(9, QString::fromUtf8(e.what()), QStringLiteral("frmDazudizi.Usun_Click"));
    }
}

// ---- clipboard ----

void TrackCommandSet::mnuTrack_Kopiuj_Click() {
    if (m_editor.editor().lngSelectedTrack != 0)
        CopyToClipboard(m_editor.editor().lngSelectedTrack);
}

void TrackCommandSet::CopyToClipboard(std::int32_t number) {
    auto t = TrackByNumber(m_editor.tracks(), number);
    if (!t || !m_clipboard)
        return;
    CommandStates s;
    s["mnuTrack_Wklej"] = s["mnuTrack_Wklej_Nowy"] = s["cmdPaste(0)"] = s["cmdPaste(1)"] = true;
    m_editor.applyCommandStates(s);
    *m_clipboard = ClipboardCopy(*t);
}

void TrackCommandSet::mnuTrack_Wklej_Click() {
    if (!m_clipboard || !*m_clipboard) {
        m_editor.setControlEnabled(QStringLiteral("mnuTrack_Wklej"), false);
        return;
    }
    auto t = selected();
    if (!t)
        return;
    m_editor.TworzUndo();
    PasteOnto(**m_clipboard, *t, m_editor.tracks());
    changed(*t); // the box, the row and the node show the label the track now holds
}

void TrackCommandSet::mnuTrack_Wklej_Nowy_Click() { PasteAsNewTrack({}); }

void TrackCommandSet::PasteAsNewTrack(std::function<void(const QList<std::int32_t>&)> added, bool keepLabel) {
    if (!m_clipboard || !*m_clipboard) {
        m_editor.setControlEnabled(QStringLiteral("mnuTrack_Wklej_Nowy"), false);
        return;
    }
    SplitDialogLauncher* split = SplitDialog();
    if (!split)
        return; // nothing can add the track: no snapshot either
    SplitDialogRequest request;
    request.track = PasteAsNew(**m_clipboard, m_editor.tracks(), keepLabel);
    request.newTrack = true;
    request.runAtOnce = true;
    // The dialog may refuse (no source open); the undo step exists only once
    // a track is really added, and holds the state before it.
    auto snapshotTaken = std::make_shared<bool>(false);
    request.tracksAdded = [this, added, snapshotTaken](const QList<std::int32_t>& numbers) {
        if (!numbers.isEmpty() && !*snapshotTaken) {
            *snapshotTaken = true;
            m_editor.TworzUndoWithout(numbers);
        }
        m_editor.RebuildViews();
        m_editor.update();
        if (added)
            added(numbers);
    };
    split->PokazMnie(request);
    CommandStates s;
    s["cmdUsunPetle"] = s["cmdIloscPetli"] = s["cmdPolacz"] = false;
    s["cmdDodajPetle"] = s["cmdUsunPolaczenie"] = true;
    m_editor.applyCommandStates(s);
    m_editor.editor().OpenFromBox(m_editor.editor().lngSelectedTrack);
}

void TrackCommandSet::mnuTrack_Wytnij_Click() {
    if (m_editor.editor().linkMode() || tracksHeld())
        return;
    mnuTrack_Kopiuj_Click();
    cmdUsun_Click();
}

} // namespace kelbrin
