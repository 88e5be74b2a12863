#include "SplitLauncher.h"

#include "frmPozycje.h"
#include "core/document/cPozycjaMP3.h"
#include "core/export/SplitHost.h"

namespace kelbrin {

namespace {

// Passes everything through and tells the requester of each track added.
class NotifyingHost final : public SplitHost {
public:
    NotifyingHost(std::shared_ptr<SplitHost> inner,
                  std::function<void(const QList<std::int32_t>&)> added)
        : m_inner(std::move(inner)), m_added(std::move(added)) {}

    EditorSession& Session() override { return m_inner->Session(); }
    LoadedSettings& Settings() override { return m_inner->Settings(); }
    const RecordingConfiguration& Recording() override { return m_inner->Recording(); }
    std::shared_ptr<cPozycjeMP3> Tracks() override { return m_inner->Tracks(); }
    std::int32_t SelectedTrack() override { return m_inner->SelectedTrack(); }
    bool CanChangeProject() override { return m_inner->CanChangeProject(); }
    bool IsRecording() override { return m_inner->IsRecording(); }
    QString OpenSource(const QString& path, std::int32_t fileType, QString& folder) override {
        return m_inner->OpenSource(path, fileType, folder);
    }
    SplitBox BoxOf(std::int32_t trackNo) override { return m_inner->BoxOf(trackNo); }
    std::int32_t WorkWidth() override { return m_inner->WorkWidth(); }
    std::int32_t WorkHeight() override { return m_inner->WorkHeight(); }
    std::optional<std::int32_t> LastListRowTrack() override { return m_inner->LastListRowTrack(); }
    void AddTrackViews(const cPozycjaMP3& track, std::int32_t position) override {
        m_inner->AddTrackViews(track, position);
        if (m_added)
            m_added({track.lngNrPozycji});
    }
    void SelectTrack(std::int32_t trackNo) override { m_inner->SelectTrack(trackNo); }
    void RefreshTrackRow(const cPozycjaMP3& track) override { m_inner->RefreshTrackRow(track); }
    void EnableCopyAndClone() override { m_inner->EnableCopyAndClone(); }
    void ResetPreviewPlayMode() override { m_inner->ResetPreviewPlayMode(); }
    void ShowInTrackPanel(const std::shared_ptr<cPozycjaMP3>& track) override {
        m_inner->ShowInTrackPanel(track);
    }
    void SetAddButtonEnabled(bool enabled) override { m_inner->SetAddButtonEnabled(enabled); }
    void TakeUndoSnapshot() override { m_inner->TakeUndoSnapshot(); }

private:
    std::shared_ptr<SplitHost> m_inner;
    std::function<void(const QList<std::int32_t>&)> m_added;
};

QDateTime fromDayCount(double days) {
    if (days == 0)
        return QDateTime();
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    return epoch.addMSecs(static_cast<qint64>(days * 86400000.0 + (days < 0 ? -0.5 : 0.5)));
}

} // namespace

SplitLauncher::SplitLauncher(HostFactory makeHost, QWidget* parent)
    : m_makeHost(std::move(makeHost)), m_parent(parent) {}

void SplitLauncher::PokazMnie(const SplitDialogRequest& request) {
    if (!m_makeHost || !request.track)
        return;
    auto host = m_makeHost();
    if (!host)
        return;
    if (request.tracksAdded)
        host = std::make_shared<NotifyingHost>(host, request.tracksAdded);
    SplitOpenOptions options;
    options.newTrack = request.newTrack;
    options.openSource = request.secondFlag;
    options.autoOK = request.runAtOnce;
    options.date = fromDayCount(request.date);
    if (request.bySegmentList)
        options.autoMode = SplitMode::SegmentList;
    frmPozycje::PokazMnie(host, request.track, options, m_parent.data());
}

} // namespace kelbrin
