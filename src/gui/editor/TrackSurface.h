#pragma once
// The drawing surface (picWork): paints the track graph that the editor holds
// and the track collection describes, and hands its mouse gestures to the
// editor in twips (15 to a pixel). It keeps nothing of the model itself.

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

namespace kelbrin {

class GraphEditor;

// The top edge of the help box, which lies over the bottom of the surface.
class HelpBoxEdge {
public:
    virtual ~HelpBoxEdge() = default;
    // The edge in surface twips; none while the help box is hidden.
    virtual std::optional<int> top() const = 0;
    // The edge follows the pointer to this surface Y (twips).
    virtual void dragTo(int y) = 0;
};

class TrackSurface : public QWidget {
    Q_OBJECT
public:
    TrackSurface(GraphEditor& editor, QWidget* parent = nullptr);

    // The font size of the boxes' name labels (the FontSize setting).
    void setLabelFontSize(int points);
    int labelFontSize() const;

    // The player's time label of a track (lblTime): shown only while the
    // player shows it (a playing track), with the last text it wrote. CR LF
    // starts a second line. timeText gives what is shown, "" when hidden.
    void setTimeText(std::int32_t number, const QString& text);
    void setTimeVisible(std::int32_t number, bool visible);
    QString timeText(std::int32_t number) const;
    void clearTimeTexts();
    // The player's colour of a box while it plays or pauses (0x00BBGGRR);
    // none: the box's resting colour.
    void setPlayColour(std::int32_t number, std::optional<std::uint32_t> colour);
    std::uint32_t boxColour(std::int32_t number) const;

    // The twip point of a pixel point and back.
    static QPoint toTwips(QPoint px);
    static QPoint toPixels(QPoint twips);

    // Where a box's name label is painted (pixels); empty when it is not
    // shown. Number 0 is the start box, whose label the View menu's name
    // label toggle leaves alone.
    QRect nameLabelRect(std::int32_t number) const;

    // The help box lies over the bottom of the surface. Within this many
    // twips above its top edge the pointer becomes the sizing arrow, and a
    // move with the left button held (no box being dragged) moves the edge.
    static constexpr int kHelpEdgeBand = 100;
    // The help box's edge (none: the surface has no edge to drag).
    void setHelpEdge(HelpBoxEdge* edge) { m_helpEdge = edge; }
    HelpBoxEdge* helpEdge() const { return m_helpEdge; }
    // True while the pointer is in the help box's edge band.
    bool onHelpEdge(QPoint twips) const;

signals:
    // Esc or a right click left link mode (the window may want to know).
    void linkModeLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The name label's row as wide as its box (no text measured): where
    // painting starts it.
    QRect nameLabelRow(std::int32_t number) const;
    QRect timeLabelRect(const QRect& boxPx) const;
    // Where a time text `shown` (lines split by \n) is painted under a box.
    QRect timeTextRoom(const QRect& boxPx, const QString& shown) const;
    // Where track `number`'s time text is painted now (pixels).
    QRect timeTextRect(std::int32_t number) const;

    GraphEditor& m_editor;
    HelpBoxEdge* m_helpEdge = nullptr;
    QHash<std::int32_t, QString> m_timeTexts;
    QHash<std::int32_t, bool> m_timeShown;
    QHash<std::int32_t, std::uint32_t> m_playColours;
    QFont m_labelFont;
    // Name labels laid out once, not at every repaint (keyed by track number,
    // checked against the label's text).
    mutable QHash<std::int32_t, QStaticText> m_labelTexts;
    bool m_helpDrag = false; // the help box's edge follows the left button
};

} // namespace kelbrin
