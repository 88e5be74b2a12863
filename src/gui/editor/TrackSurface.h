#pragma once
// The drawing surface (picWork): paints the track graph that the editor holds
// and the track collection describes, and hands its mouse gestures to the
// editor in twips (15 to a pixel). It keeps nothing of the model itself.

#include <QFont>
#include <QHash>
#include <QWidget>
#include <cstdint>

namespace kelbrin {

class GraphEditor;

class TrackSurface : public QWidget {
    Q_OBJECT
public:
    TrackSurface(GraphEditor& editor, QWidget* parent = nullptr);

    // The font size of the boxes' name labels (the FontSize setting).
    void setLabelFontSize(int points);
    int labelFontSize() const;

    // The player's time label of a track (lblTime); "00:00" until it writes one.
    void setTimeText(std::int32_t number, const QString& text);
    QString timeText(std::int32_t number) const;
    void clearTimeTexts();

    // The twip point of a pixel point and back.
    static QPoint toTwips(QPoint px);
    static QPoint toPixels(QPoint twips);

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
    GraphEditor& m_editor;
    QHash<std::int32_t, QString> m_timeTexts;
    QFont m_labelFont;
};

} // namespace kelbrin
