#include "ProgramIcons.h"

#include "ProgramIconGlyphs.h"

#include <QIconEngine>
#include <QPainter>

namespace kelbrin {

namespace {

// Paints one glyph at whatever size a button asks for, so the icons stay sharp
// at every size and screen scale.
class GlyphIconEngine final : public QIconEngine {
public:
    explicit GlyphIconEngine(int number) : m_number(number) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal side = qMin(rect.width(), rect.height());
        if (side <= 0)
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.x() + (rect.width() - side) / 2.0,
                           rect.y() + (rect.height() - side) / 2.0);
        painter->scale(side / 24.0, side / 24.0);
        PaintProgramGlyph(*painter, m_number, mode == QIcon::Disabled);
        painter->restore();
    }

    // The base class paints onto an uninitialised pixmap; start from a clear one.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new GlyphIconEngine(m_number); }
    QString key() const override { return QStringLiteral("KelbrinGlyph"); }

private:
    int m_number;
};

} // namespace

QIcon ProgramIcon(int number) {
    if (number < kFirstProgramIcon || number > kLastProgramIcon)
        return QIcon();
    return QIcon(new GlyphIconEngine(number));
}

} // namespace kelbrin
