#include "StyleIconsOnDemand.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QProxyStyle>
#include <QWidget>

namespace kelbrin {

namespace {

// Stands for one of the style's icons and asks the style for it on first use.
class IconOnDemand final : public QIconEngine {
public:
    IconOnDemand(QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
        : m_style(style), m_which(which), m_widget(const_cast<QWidget*>(widget)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString iconName() override { return icon().name(); }
    QString key() const override { return QStringLiteral("KelbrinStyleIconOnDemand"); }
    QIconEngine* clone() const override {
        auto* copy = new IconOnDemand(m_style, m_which, m_widget);
        copy->m_icon = m_icon;
        copy->m_read = m_read;
        return copy;
    }

private:
    const QIcon& icon() {
        if (!m_read) {
            m_read = true;
            // A style replaced since hands the question to the one now in use.
            QStyle* style = m_style ? m_style.data() : QApplication::style();
            if (style)
                m_icon = style->standardIcon(m_which, nullptr, m_widget);
        }
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QPointer<QWidget> m_widget;
    QIcon m_icon;
    bool m_read = false;
};

class DeferringStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(QStyle::StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        // An icon asked for with an option depends on it: that one is read now.
        if (option)
            return QProxyStyle::standardIcon(which, option, widget);
        return QIcon(new IconOnDemand(baseStyle(), which, widget));
    }
};

} // namespace

void DeferStyleIcons() {
    // The proxy takes the application's style as its base, so a style chosen
    // on the command line or by the desktop stays the one drawn.
    QApplication::setStyle(new DeferringStyle(QApplication::style()));
}

} // namespace kelbrin
