#pragma once

#include "error/Error.h"

#include <QRectF>
#include <QString>
#include <vector>

// A Code 128 symbol encoded by zint: its bars in module units.
class Code128 {
public:
    // Encodes `data`; false (with zint's reason) when it cannot be encoded.
    bool Encode(const QString& data, Error* error = nullptr);

    // Bars with x and width in modules, y and height as fractions (0..1) of
    // the bar height.
    const std::vector<QRectF>& Bars() const { return m_bars; }
    // Width of the symbol in modules, without quiet zones.
    double Modules() const { return m_modules; }

private:
    std::vector<QRectF> m_bars;
    double m_modules = 0;
};
