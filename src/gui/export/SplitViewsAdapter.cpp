#include "SplitViewsAdapter.h"

#include "core/app/ProgramObjects.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/GraphEditor.h"
#include "core/export/SplitHost.h"
#include "gui/app/Twips.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackListNavigator.h"
#include "gui/editor/TrackSurface.h"
#include "gui/mainwindow/frmDazudizi.h"

#include <QAbstractButton>
#include <QAction>
#include <QTreeWidget>

namespace kelbrin {

namespace {

// The start box's place until the window has a graph editor.
constexpr int kDefaultStartCorner = 300;

class MainWindowSplitHost final : public SplitHost {
public:
    explicit MainWindowSplitHost(const SplitViewsParts& parts) : m(parts) {}

    EditorSession& Session() override { return m.window->Objects().session; }
    LoadedSettings& Settings() override { return m.window->Objects().settings; }
    const RecordingConfiguration& Recording() override { return m.window->Objects().recording; }
    std::shared_ptr<cPozycjeMP3> Tracks() override { return m.window->cPozycje(); }

    std::int32_t SelectedTrack() override {
        return m.editor ? m.editor->editor().lngSelectedTrack : m.window->lngSelectedTrack();
    }

    bool CanChangeProject() override { return m.window->CanChangeProject(); }
    bool IsRecording() override { return m.window->IsCaptureFileOpen(); }

    QString OpenSource(const QString& path, std::int32_t fileType, QString& folder) override {
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = path;
        bool buildIndex = false;
        return m.window->OpenSourceFile(file, buildIndex, true, QString(), nullptr, false, true,
                                        folder, fileType);
    }

    SplitBox BoxOf(std::int32_t trackNo) override {
        QRect r;
        if (m.editor)
            r = m.editor->editor().boxRect(trackNo);
        if (r.isNull()) {
            const int size = m.window->NodeSize();
            r = QRect(kDefaultStartCorner, kDefaultStartCorner, size, size);
        }
        return {r.x(), r.y(), r.width(), r.height()};
    }

    std::int32_t WorkWidth() override { return PxToTwips(surface()->width()); }
    std::int32_t WorkHeight() override { return PxToTwips(surface()->height()); }

    std::optional<std::int32_t> LastListRowTrack() override {
        const QAction* advanced = m.window->Menus().item(QStringLiteral("mnulvw"));
        QTreeWidget* list = m.window->lvwNodes();
        if (!advanced || !advanced->isChecked() || !list || list->topLevelItemCount() == 0)
            return std::nullopt;
        return TrackListNavigator::RowTag(list->topLevelItem(list->topLevelItemCount() - 1));
    }

    void AddTrackViews(const cPozycjaMP3& track, std::int32_t position) override {
        Q_UNUSED(position);
        if (m.editor && m.editor->list()) {
            m.editor->list()->AddRow(track);
        } else if (QTreeWidget* list = m.window->lvwNodes()) {
            auto* row = new QTreeWidgetItem(list, TrackListNavigator::RowTexts(track));
            row->setData(0, Qt::UserRole, track.lngNrPozycji);
        }
        if (m.addTreeNode)
            m.addTreeNode(track);
        else if (m.editor)
            m.editor->trackLinkChanged(track.lngNrPozycji);
        if (m.editor)
            m.editor->update();
    }

    void SelectTrack(std::int32_t trackNo) override {
        m.window->SetSelectedTrack(trackNo);
        if (m.editor) {
            GraphEditor& g = m.editor->editor();
            g.lngSelectedTrack = trackNo;
            g.MovePointer();
            // The commands follow the new selection (delete, properties...).
            if (!g.linkMode())
                g.Udostepniaj(trackNo);
            m.editor->update();
        }
    }

    void RefreshTrackRow(const cPozycjaMP3& track) override {
        if (m.editor && m.editor->list()) {
            m.editor->list()->UpdateRow(track);
            return;
        }
        QTreeWidget* list = m.window->lvwNodes();
        for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = list->topLevelItem(i);
            if (TrackListNavigator::RowTag(row) != track.lngNrPozycji)
                continue;
            const QStringList texts = TrackListNavigator::RowTexts(track);
            row->setText(4, texts.value(4));
            row->setText(5, texts.value(5));
        }
    }

    void EnableCopyAndClone() override {
        setEnabled(QStringLiteral("cmdCopy"), true);
        setEnabled(QStringLiteral("cmdKlon"), true);
    }

    void ResetPreviewPlayMode() override {
        const MainMenus& menus = m.window->Menus();
        for (const char* name : {"mnuPlayR", "mnuPlayS", "mnuPlayZa", "mnuPlayAll"})
            if (QAction* a = menus.item(QLatin1String(name)))
                a->setChecked(QLatin1String(name) == QLatin1String("mnuPlayR"));
    }

    void ShowInTrackPanel(const std::shared_ptr<cPozycjaMP3>& track) override {
        // The track panel shows the track (TrackPanel::PokazMnie_FA).
        if (m.editor)
            m.editor->openProperties(track);
    }

    void SetAddButtonEnabled(bool enabled) override { setEnabled(QStringLiteral("cmdDodaj"), enabled); }

    void TakeUndoSnapshot() override {
        if (m.editor)
            m.editor->TworzUndo();
    }

private:
    QWidget* surface() const {
        if (m.editor && m.editor->surface())
            return m.editor->surface();
        return m.window->picWork();
    }

    void setEnabled(const QString& name, bool on) {
        if (m.editor) {
            m.editor->setControlEnabled(name, on);
            return;
        }
        if (auto* b = m.window->findChild<QAbstractButton*>(name))
            b->setEnabled(on);
    }

    SplitViewsParts m;
};

} // namespace

std::shared_ptr<SplitHost> MakeSplitHost(const SplitViewsParts& parts) {
    if (!parts.window)
        return nullptr;
    return std::make_shared<MainWindowSplitHost>(parts);
}

} // namespace kelbrin
