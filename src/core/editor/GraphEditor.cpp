#include "GraphEditor.h"

#include "core/document/Successors.h"
#include "core/document/cPozycjeMP3.h"

namespace kelbrin {

namespace {
// The 25 controls that need a track (Udostepniaj(0) disables them all).
const char* const kTrackControls[] = {
    "cmdCut", "cmdCopy", "cmdPaste(0)", "cmdBlok", "cmdLabel", "cmdPolacz", "cmdUsunPolaczenie",
    "cmdDodajPetle", "cmdUsunPetle", "cmdIloscPetli", "mnuTrack_Kopiuj", "mnuTrack_Wklej",
    "mnuLoopTrack", "mnuTrack_Blok", "mnuTrack_Adv", "mnuTrack_Fade", "mnuTrack_Prop",
    "mnuTrack_Label", "mnuTrack_Remove", "mnuTrack_Loop", "mnuLoopTrack_Ilosc",
    "mnuLoopTrack_Remove", "mnuTrack_Con_Connect", "mnuTrack_Con_Remove", "mnuTrack_Wytnij"};
} // namespace

GraphEditor::GraphEditor(TracksGetter tracks, GraphEditorHost& host)
    : m_tracks(std::move(tracks)), m_host(host) {}

void GraphEditor::setNodeSize(int size) {
    m_nodeSize = size;
    m_startBox.setSize(QSize(size, size));
    m_host.update();
}

QPoint GraphEditor::startCentre() const {
    return QPoint(m_startBox.left() + m_startBox.width() / 2,
                  m_startBox.top() + m_startBox.height() / 2);
}

void GraphEditor::setStartBoxTopLeft(QPoint topLeft) {
    m_startBox.moveTopLeft(topLeft);
    m_host.update();
}

QRect GraphEditor::boxRect(std::int32_t number) const {
    if (number == 0)
        return m_startBox;
    auto t = TrackByNumber(tracks(), number);
    if (!t)
        return QRect();
    return QRect(t->lngLeft - m_nodeSize / 2, t->lngTop - m_nodeSize / 2, m_nodeSize, m_nodeSize);
}

std::uint32_t GraphEditor::bandColour() const {
    return m_linkLoop ? graph_colour::LoopLine : graph_colour::SuccessorLine;
}

QList<LinkLine> GraphEditor::visibleLines() const {
    QList<LinkLine> lines = CollectLinkLines(tracks(), startCentre());
    const std::int32_t liftedPosition = m_dragBox > 0 ? ItemTracka(tracks(), m_dragBox) : 0;
    QList<LinkLine> shown;
    for (const LinkLine& line : lines) {
        if (m_relinkedLine && line.position == m_relinkedLine->position &&
            line.loop == m_relinkedLine->loop)
            continue;
        if (m_dragBox >= 0) {
            // A lifted box takes its lines with it until it is put down.
            if (line.target == m_dragBox && !(m_dragBox == 0 && line.loop))
                continue;
            if (liftedPosition > 0 && line.position == liftedPosition)
                continue;
        }
        shown.append(line);
    }
    return shown;
}

std::int32_t GraphEditor::hit(QPoint p) const { return HitBox(tracks(), startCentre(), p); }

// ---- gestures ----

void GraphEditor::mouseDown(int button, int shift, QPoint p) {
    // A right click leaves link mode, wherever it lands.
    if (m_linkMode && button == mouse::Right) {
        cancelLinkMode();
        return;
    }
    const std::int32_t k = hit(p);
    if (k >= 0) {
        SelectTrackBox(k, button, shift, p);
        return;
    }
    if (m_linkMode)
        return;
    const auto line = HitLinkLine(CollectLinkLines(tracks(), startCentre()), p, mouseSensitivity);
    if (!line)
        return;
    cPozycjeMP3& all = tracks();
    auto i = all.Item(line->position);
    lngCurrentTrack = line->position;
    if (line->loop) {
        m_linkLoop = true;
        if (button == mouse::Right) {
            CommandStates s;
            s["mnuTrack_Loop"] = false;
            s["cmdDodajPetle"] = false;
            s["mnuLoopTrack_Ilosc"] = true;
            s["cmdIloscPetli"] = true;
            s["mnuLoopTrack_Remove"] = true;
            s["cmdUsunPetle"] = true;
            m_host.applyCommandStates(s);
            m_host.showLoopMenu();
            return;
        }
    } else {
        m_linkLoop = false;
        if (button == mouse::Right) {
            auto j = TrackByNumber(all, line->target);
            m_host.openFadeEditor(j ? j : i, i);
            return;
        }
        // The successor entry goes now (so a running player moves past it)
        // and comes back if link mode is left without a link.
        if (i->lngTrack > 0) {
            const std::int32_t jPos = ItemTracka(all, line->target);
            if (jPos > 0) {
                auto j = all.Item(jPos);
                UpdateSuccessors(all, jPos, line->position, successors::RemoveFirst);
                m_removedSuccessor = std::make_pair(j->lngNrPozycji, i->lngNrPozycji);
                if (j->blnPlayed && j->lngOverTakingIndex == line->position)
                    NextSuccessor(all, jPos);
            }
        }
    }
    m_relinkedLine = line;
    enterLinkMode(line->position, line->loop, line->b);
}

void GraphEditor::mouseMove(int buttons, int shift, QPoint p) {
    Q_UNUSED(shift);
    m_mouse = p;
    if (m_linkMode) {
        DrawRubberBand(p);
        return;
    }
    if (m_dragBox >= 0 && (buttons & mouse::Left)) {
        m_moveRect.moveTopLeft(p);
        m_host.update();
        return;
    }
    describeHover(p);
}

void GraphEditor::describeHover(QPoint p) {
    const std::int32_t k = hit(p);
    if (k >= 0) {
        m_hoverBox = k;
        if (hoverInfoShown) {
            auto t = TrackByNumber(tracks(), k);
            m_host.showHoverText(k == 0 || !t ? StartBoxHoverText() : TrackHoverText(tracks(), *t));
        }
        return;
    }
    if (m_dragBox >= 0 || !hoverInfoShown)
        return;
    const auto line = HitLinkLine(CollectLinkLines(tracks(), startCentre()), p, mouseSensitivity);
    if (line)
        m_host.showHoverText(LinkHoverText(tracks(), *line));
}

void GraphEditor::mouseUp(int button, int shift, QPoint p) {
    if (button == mouse::Right)
        return;
    // A drag ends where it is released; the box under the release point, if
    // any, is not touched.
    if (m_dragBox >= 0) {
        LinkOrDrop(m_dragBox, button, shift, p);
        return;
    }
    const std::int32_t k = hit(p);
    if (k >= 0)
        LinkOrDrop(k, button, shift, p);
}

void GraphEditor::doubleClick() {
    const std::int32_t k = hit(m_mouse);
    if (k >= 0)
        OpenFromBox(k);
}

void GraphEditor::SelectTrackBox(std::int32_t index, int button, int shift, QPoint p) {
    Q_UNUSED(shift);
    if (m_linkMode)
        return;
    lngSelectedTrack = index;
    MovePointer();
    Udostepniaj(lngSelectedTrack);
    if (button == mouse::Right) {
        m_host.showTrackMenu();
        return;
    }
    // The snapshot of a drag is taken when the box is put down elsewhere.
    lift(index, p);
}

void GraphEditor::LinkOrDrop(std::int32_t index, int button, int shift, QPoint p) {
    Q_UNUSED(shift);
    if (button == mouse::Right)
        return;
    if (!m_linkMode) {
        // Only the box that was lifted is put down.
        if (m_dragBox >= 0 && m_dragBox == index)
            putDown(index, p);
        return;
    }
    cPozycjeMP3& all = tracks();
    auto s = all.Item(lngCurrentTrack);
    if (!s) {
        cancelLinkMode();
        return;
    }
    if (m_linkLoop) {
        if (index == s->lngNrPozycji) {
            cancelLinkMode();
            return;
        }
        if (index == 0)
            return; // a loop cannot end at the start box: link mode stays
        if (!TrackByNumber(all, index))
            return;
    } else if (index != 0 && !TrackByNumber(all, index)) {
        return;
    }
    CommandStates states;
    states["cmdPolacz"] = false;
    states["cmdUsunPolaczenie"] = true;
    m_host.applyCommandStates(states);

    m_host.TworzUndo();
    if (m_linkLoop) {
        s->lngLoopTrack = index;
        s->lngLoopCountBackup = 1;
        s->lngLoopCount = 1;
    } else {
        s->lngTrack = index;
        m_host.trackLinkChanged(s->lngNrPozycji);
        const std::int32_t tPos = ItemTracka(all, index);
        if (tPos != lngCurrentTrack && index > 0) {
            UpdateSuccessors(all, tPos, lngCurrentTrack, successors::Append);
            UpdateSuccessors(all, tPos, lngCurrentTrack, successors::SortOnly);
        }
    }
    s->blnZmodyfikowana = true;
    m_removedSuccessor.reset();
    leaveLinkMode();
}

void GraphEditor::OpenFromBox(std::int32_t index) {
    if (index == 0) {
        m_host.addTrack();
        return;
    }
    if (!m_host.canOpenProperties())
        return;
    if (auto t = TrackByNumber(tracks(), index))
        m_host.openProperties(t);
}

bool GraphEditor::canOpenFromBox(std::int32_t index) const {
    return index == 0 || (m_host.canOpenProperties() && TrackByNumber(tracks(), index));
}

void GraphEditor::cancelLinkMode() {
    if (!m_linkMode)
        return;
    if (m_removedSuccessor) {
        cPozycjeMP3& all = tracks();
        const std::int32_t jPos = ItemTracka(all, m_removedSuccessor->first);
        const std::int32_t iPos = ItemTracka(all, m_removedSuccessor->second);
        if (jPos > 0 && iPos > 0 && all.Item(iPos)->lngTrack == m_removedSuccessor->first) {
            UpdateSuccessors(all, jPos, iPos, successors::Append);
            UpdateSuccessors(all, jPos, iPos, successors::SortOnly);
        }
        m_removedSuccessor.reset();
    }
    leaveLinkMode();
    // The commands follow the selection again (add a loop set them at once).
    Udostepniaj(lngSelectedTrack);
}

void GraphEditor::enterLinkMode(std::int32_t position, bool loop, QPoint bandEnd) {
    auto s = tracks().Item(position);
    m_linkMode = true;
    m_linkLoop = loop;
    lngCurrentTrack = position;
    m_linkX = s ? s->lngLeft : 0;
    m_linkY = s ? s->lngTop : 0;
    m_bandTo = bandEnd;
    m_host.update();
}

void GraphEditor::leaveLinkMode() {
    m_linkMode = false;
    m_relinkedLine.reset();
    m_host.update();
}

void GraphEditor::lift(std::int32_t index, QPoint p) {
    if (p.x() == 0 && p.y() == 0)
        return;
    if (m_dragBox >= 0)
        return;
    const QRect box = boxRect(index);
    if (box.isNull())
        return;
    m_dragBox = index;
    m_moveRect = box;
    m_host.update();
}

void GraphEditor::putDown(std::int32_t index, QPoint p) {
    const std::int32_t lifted = m_dragBox;
    m_dragBox = -1;
    if (p.x() == 0 && p.y() == 0) {
        m_host.update();
        return;
    }
    Q_UNUSED(lifted);
    const QRect target = m_moveRect;
    if (index == 0) {
        // The project file keeps where the start box stands.
        if (target.topLeft() != m_startBox.topLeft())
            tracks().blnZmodyfikowana = true;
        m_startBox.moveTopLeft(target.topLeft());
        m_droppedBox = 0;
    } else if (auto t = TrackByNumber(tracks(), index)) {
        const std::int32_t left = target.left() + target.width() / 2;
        const std::int32_t top = target.top() + target.height() / 2;
        if (left != t->lngLeft || top != t->lngTop) {
            m_host.TworzUndo();
            t->lngLeft = left;
            t->lngTop = top;
            t->blnZmodyfikowana = true;
        }
        m_droppedBox = index;
    }
    MovePointer();
    m_host.update();
}

// ---- services the track commands offer the other windows ----

void GraphEditor::MovePointer() {
    const QRect box = boxRect(lngSelectedTrack);
    if (box.isNull())
        return;
    m_selectRect = box.adjusted(-5, -5, 5, 5);
    m_host.update();
}

CommandStates GraphEditor::commandStatesFor(std::int32_t number) const {
    CommandStates s;
    if (number == 0) {
        for (const char* name : kTrackControls)
            s[QLatin1String(name)] = false;
        // The start box has no properties and cannot be deleted.
        s["cmdZmien"] = false;
        s["cmdUsun"] = false;
        return s;
    }
    const bool full = clipboardFull();
    s["cmdPaste(0)"] = full;
    s["mnuTrack_Wklej"] = full;
    for (const char* name : {"cmdCut", "cmdCopy", "cmdBlok", "cmdLabel", "mnuTrack_Kopiuj",
                             "mnuLoopTrack", "mnuTrack_Blok", "mnuTrack_Adv", "mnuTrack_Label",
                             "mnuTrack_Remove"})
        s[QLatin1String(name)] = true;
    // Properties need the track panel; the pencil button repeats the command.
    s["mnuTrack_Prop"] = s["cmdZmien"] = m_host.canOpenProperties();
    // Cut deletes, so it goes with the delete button.
    s["mnuTrack_Wytnij"] = s["cmdUsun"] = deleteAllowed();
    auto t = TrackByNumber(tracks(), number);
    if (!t)
        return s;
    const bool looped = t->lngLoopTrack >= 0;
    const bool detached = t->lngTrack == t->lngNrPozycji;
    s["mnuTrack_Loop"] = s["cmdDodajPetle"] = !looped;
    s["mnuLoopTrack_Ilosc"] = s["mnuLoopTrack_Remove"] = s["cmdIloscPetli"] = s["cmdUsunPetle"] = looped;
    s["mnuTrack_Con_Connect"] = s["cmdPolacz"] = detached;
    s["mnuTrack_Con_Remove"] = s["cmdUsunPolaczenie"] = !detached;
    s["mnuTrack_Fade"] = !detached && m_host.canOpenFadeEditor();
    return s;
}

void GraphEditor::Udostepniaj(std::int32_t number) {
    // A pending link belongs to the track it was started from: a node or a
    // row chosen meanwhile must not hand it to another track.
    if (number != 0 && !m_linkMode) {
        const std::int32_t position = ItemTracka(tracks(), number);
        lngCurrentTrack = position;
    }
    m_host.applyCommandStates(commandStatesFor(number));
}

void GraphEditor::DrawRubberBand(QPoint p) {
    if (!m_linkMode)
        return;
    m_bandTo = p;
    m_host.update();
}

void GraphEditor::startLink(bool loop) {
    const std::int32_t position = ItemTracka(tracks(), lngSelectedTrack);
    if (position == 0)
        return;
    // A relink begun on a line holds a successor entry; dropping it here
    // would leave a link drawn that the successor list no longer has.
    cancelLinkMode();
    auto s = tracks().Item(position);
    enterLinkMode(position, loop, QPoint(s->lngLeft, s->lngTop));
    if (loop) {
        CommandStates states;
        states["cmdUsunPetle"] = true;
        states["cmdIloscPetli"] = true;
        states["cmdDodajPetle"] = false;
        m_host.applyCommandStates(states);
    }
}

void GraphEditor::fullRepaint() {
    m_droppedBox = -1;
    m_host.update();
}

void GraphEditor::resetSelection() {
    if (m_linkMode)
        leaveLinkMode();
    m_dragBox = -1;
    m_relinkedLine.reset();
    m_removedSuccessor.reset();
    lngSelectedTrack = 0;
    // A position: a restore may have put another track there.
    lngCurrentTrack = 0;
    MovePointer();
    Udostepniaj(0);
}

} // namespace kelbrin
