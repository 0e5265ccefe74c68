#include "platform/DeferredIconStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>

namespace {

// An icon that asks the style for the real one the first time it is drawn,
// measured or copied into a pixmap.
class DeferredIcon : public QIconEngine {
public:
    DeferredIcon(const QStyle* style, QStyle::StandardPixmap which)
        : m_style(style), m_which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return real().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return real().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return real().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return real().availableSizes(mode, state);
    }
    // Not null before it is made: a button with a null icon shows its text.
    bool isNull() override { return m_made && m_real.isNull(); }
    QString key() const override { return QStringLiteral("DeferredIcon"); }
    QIconEngine* clone() const override {
        auto* copy = new DeferredIcon(m_style, m_which);
        copy->m_real = m_real;
        copy->m_made = m_made;
        return copy;
    }

private:
    const QIcon& real() {
        if (!std::exchange(m_made, true) && m_style)
            m_real = m_style->standardIcon(m_which);
        return m_real;
    }

    QPointer<const QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_real;
    bool m_made = false;
};

} // namespace

DeferredIconStyle::DeferredIconStyle() : QProxyStyle(QApplication::style()->name()) {}

void DeferredIconStyle::Install() {
    QApplication::setStyle(new DeferredIconStyle); // owned by the application
}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredIcon(baseStyle(), which));
    return QProxyStyle::standardIcon(which, option, widget);
}
