#include "TrackPanelRange.h"

#include "TrackPanelFrame.h"
#include "core/app/LoadedSettings.h"
#include "core/app/TextCatalog.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaMP3.h"
#include "core/playback/PreviewPlayer.h"
#include "core/playback/RangeListColumns.h"
#include "frmDazudizi.h"
#include "gui/app/NumericBox.h"
#include "gui/app/SelectAllText.h"
#include "gui/editor/TrackListNavigator.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace kelbrin {

namespace {

void SetText(QLineEdit* box, const QString& text) {
    if (box->text() == text)
        return;
    const QSignalBlocker block(box);
    box->setText(text);
}

} // namespace

TrackPanelRange::TrackPanelRange(frmDazudizi& window, TrackPanelFrame& frame,
                                 PreviewPlayer& preview)
    : QObject(&window), m_window(window), m_frame(frame), m_preview(preview),
      m_editor(*this, preview.session()) {
    connectControls();
}

void TrackPanelRange::connectControls() {
    TrackPanelFrame& f = m_frame;
    for (int i = 0; i < 6; ++i) {
        FilterNumberKeys(f.Text1[i], false, false);
        connect(f.Text1[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            takeState();
            m_editor.SetTimeText(i, text);
            Show();
        });
        connect(f.VscrTime[i], &QScrollBar::valueChanged, this, [this, i](int value) {
            takeState();
            m_editor.SetSpinner(i, value);
            Show();
        });
    }
    QLineEdit* frameBoxes[2] = {f.txtRamkaOd, f.txtRamkaDo};
    for (int side = 0; side < 2; ++side) {
        FilterNumberKeys(frameBoxes[side], false, false);
        connect(frameBoxes[side], &QLineEdit::textEdited, this, [this, side](const QString& text) {
            takeState();
            m_editor.SetFrameText(side, text);
            Show();
        });
    }
    SelectAllTextOnFocus(f.txtRamkaDo);

    for (int i = 0; i < 2; ++i) {
        connect(f.cmdMark[i], &QPushButton::clicked, this, [this, i] { cmdMark_Click(i); });
        if (QAction* unit = m_window.Menus().item(QStringLiteral("mnuUnits_Jednostki(%1)").arg(i))) {
            unit->setEnabled(true);
            connect(unit, &QAction::triggered, this, [this, i] { mnuUnits_Jednostki_Click(i); });
        }
    }
    connect(f.cmdUndo2, &QPushButton::clicked, this, [this] { cmdUndo2_Click(); });
    connect(f.cmdTime, &QPushButton::clicked, this, [this] {
        if (QMenu* m = m_window.Menus().menu(QStringLiteral("mnuTime")))
            m->popup(QCursor::pos());
    });
}

void TrackPanelRange::takeState() {
    m_editor.visible = !m_frame.isHidden();
    m_editor.enabled = m_frame.isEnabled();
}

void TrackPanelRange::Load(std::shared_ptr<cPozycjaMP3> track) {
    takeState();
    m_editor.Load(std::move(track));
    Show();
}

void TrackPanelRange::cmdMark_Click(int index) {
    takeState();
    m_editor.cmdMark_Click(index, m_preview.MediaControl.get(), m_preview.mnuTest_B,
                           m_preview.mnuTest_E, m_preview.settings().UseOldAlgorithm);
    Show();
}

void TrackPanelRange::cmdUndo2_Click() {
    takeState();
    m_editor.cmdUndo2_Click();
    Show();
}

void TrackPanelRange::mnuUnits_Jednostki_Click(int index) {
    takeState();
    m_editor.mnuUnits_Jednostki_Click(index);
    // The row reads in the unit the track now keeps its range in.
    if (m_editor.Cpoz)
        UpdateTrackListRow(*m_editor.Cpoz);
    Show();
}

void TrackPanelRange::Show() {
    TrackPanelFrame& f = m_frame;
    const RangeEditor& e = m_editor;
    const bool frames = e.framesShown;
    SetText(f.txtRamkaOd, e.txtRamka[0]);
    SetText(f.txtRamkaDo, e.txtRamka[1]);
    f.txtRamkaOd->setVisible(frames);
    f.txtRamkaDo->setVisible(frames);
    for (int i = 0; i < 6; ++i) {
        SetText(f.Text1[i], e.Text1[i]);
        const QSignalBlocker block(f.VscrTime[i]);
        f.VscrTime[i]->setValue(e.VscrTime[i]);
        f.Text1[i]->setVisible(!frames);
        // In frames only the milliseconds spinners stay, as frame steppers.
        f.VscrTime[i]->setVisible(!frames || i % 3 == 2);
    }
    for (QLabel* label : f.Label1)
        label->setText(GetText(e.unitCaption));
    const QString unitItems[2] = {QStringLiteral("mnuUnits_Jednostki(0)"), QStringLiteral("mnuUnits_Jednostki(1)")};
    const bool checked[2] = {e.framesChecked, e.secondsChecked};
    for (int i = 0; i < 2; ++i)
        if (QAction* a = m_window.Menus().item(unitItems[i]))
            a->setChecked(checked[i]);
    if (QMenu* time = m_window.Menus().menu(QStringLiteral("mnuTime")); time && !e.mnuTime.isEmpty())
        time->setTitle(e.mnuTime);
}

// ---- Host -------------------------------------------------------------------------

void TrackPanelRange::UpdateTrackListRow(const cPozycjaMP3& track) {
    // Hidden or not: the list shows the current range when it is shown again.
    QTreeWidget* list = m_window.lvwNodes();
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = list->topLevelItem(r);
        if (TrackListNavigator::RowTag(row) != track.lngNrPozycji)
            continue;
        const RangeColumns c = TrackRangeColumns(track);
        const QString texts[3] = {c.begin, c.end, c.length};
        for (int col = 1; col <= 3; ++col)
            if (row->text(col) != texts[col - 1])
                row->setText(col, texts[col - 1]);
        return;
    }
}

void TrackPanelRange::FocusTimeBox(int index) {
    QLineEdit* box = m_frame.Text1[index];
    if (m_window.isEnabled() && box->isVisible() && box->isEnabled() && !box->hasFocus())
        box->setFocus();
}

bool TrackPanelRange::RescanSource(std::shared_ptr<cPozycjaPlikow>& file) {
    bool buildIndex = true;
    QString folder;
    return !m_window.OpenSourceFile(file, buildIndex, false, QString(), nullptr, true, false, folder,
                                    source_filter::Mpeg)
                .isEmpty();
}

} // namespace kelbrin
