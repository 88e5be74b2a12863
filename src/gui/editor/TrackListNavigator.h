#pragma once
// The track list (lvwNodes): one row per track, rebuilt from the collection,
// whose rows act like the tracks' boxes on the drawing surface. A row's tag
// (its Qt::UserRole data) is the track number.

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

namespace kelbrin {

class GraphEditor;
class cPozycjaMP3;
class cPozycjeMP3;

class TrackListNavigator : public QObject {
    Q_OBJECT
public:
    TrackListNavigator(QTreeWidget& list, GraphEditor& editor, QObject* parent = nullptr);

    // The six columns' texts for a track.
    static QStringList RowTexts(const cPozycjaMP3& track);

    void Rebuild(const cPozycjeMP3& tracks);
    // A row for a track just added (its texts refreshed when it has one).
    void AddRow(const cPozycjaMP3& track);
    // The texts of the track's row, when it has one.
    void UpdateRow(const cPozycjaMP3& track);
    void RemoveRow(std::int32_t number);
    QTreeWidgetItem* RowOf(std::int32_t number) const;
    static std::int32_t RowTag(const QTreeWidgetItem* row);

    // The track panel's preview play button (cmdPlay2), run after a double-click.
    std::function<void()> playPreview;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget& m_list;
    // Kept from the start: the viewport's last events come while the list is
    // already half destroyed, when asking the list for it is no longer valid.
    QObject* const m_viewport;
    GraphEditor& m_editor;
};

} // namespace kelbrin
