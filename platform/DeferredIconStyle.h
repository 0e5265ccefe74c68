#pragma once

#include <QProxyStyle>

// The program's style, with the icons of the extension buttons (the »
// of a menu bar or tool bar too narrow for its entries) made when first
// drawn instead of when the bar is made. Qt's styles make them from the icon
// theme, which loads the icon engine plugins and probes every image format
// plugin: about 2.5 ms before a main window's first paint, for a button that
// is hidden unless the window is narrowed. Every other part of the style is
// the base style's own.
class DeferredIconStyle : public QProxyStyle {
public:
    // The base style is made by the key of the application's present style,
    // so a style chosen with -style or QT_STYLE_OVERRIDE is kept.
    DeferredIconStyle();

    // Makes it the application's style.
    static void Install();

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
