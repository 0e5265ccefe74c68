#include "report/Code128.h"

#include <memory>
#include <zint.h>

bool Code128::Encode(const QString& data, Error* error) {
    m_bars.clear();
    m_modules = 0;
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(),
                                                                      ZBarcode_Delete);
    if (!symbol) {
        Error(QStringLiteral("out of memory")).Report(error);
        return false;
    }
    symbol->symbology = BARCODE_CODE128;
    symbol->show_hrt = 0; // the digits are printed by the caller in the report's font
    const QByteArray bytes = data.toUtf8();
    const int rc = ZBarcode_Encode(
        symbol.get(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (rc >= ZINT_ERROR || ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR ||
        !symbol->vector) {
        Error(QString::fromLatin1(symbol->errtxt)).Report(error);
        return false;
    }
    const zint_vector* v = symbol->vector;
    double minX = v->width, maxX = 0, minY = v->height, maxY = 0;
    for (const zint_vector_rect* r = v->rectangles; r; r = r->next) {
        minX = std::min<double>(minX, r->x);
        maxX = std::max<double>(maxX, r->x + r->width);
        minY = std::min<double>(minY, r->y);
        maxY = std::max<double>(maxY, r->y + r->height);
    }
    if (maxX <= minX || maxY <= minY) {
        Error(QStringLiteral("empty symbol")).Report(error);
        return false;
    }
    // zint scales its vector output; one module is the narrowest bar's unit.
    const double module = symbol->width > 0 ? (maxX - minX) / symbol->width : 1.0;
    m_modules = symbol->width;
    for (const zint_vector_rect* r = v->rectangles; r; r = r->next)
        m_bars.emplace_back((r->x - minX) / module, (r->y - minY) / (maxY - minY),
                            r->width / module, r->height / (maxY - minY));
    return true;
}
