#pragma once

#include "report/ReportDocument.h"
#include "report/ReportPainter.h"

#include <QStringList>

// The labels of a run report whose text does not fit its box in the font it
// is painted with, "name: text" each (the check of translated fixed texts).
inline QStringList OverflowingLabels(const ReportDocument& doc) {
    QStringList out;
    for (int p = 0; p < doc.PageCount(); ++p)
        for (const ReportControl& c : doc.PageAt(p).items)
            if (c.kind == ReportControl::Kind::Label && !c.text.isEmpty() &&
                !ReportPainter::TextFits(c))
                out << c.name + QStringLiteral(": ") + c.text;
    return out;
}
