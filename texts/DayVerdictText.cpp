#include "texts/DayVerdictText.h"

#include <QStringList>

namespace {

const char* const Context = "DayVerdict";

} // namespace

QString DayVerdictText(const DayVerdict& day, const Translation& tr) {
    const QString missing = tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "未签退"));
    // The joint between the parts of one day's verdict.
    const QString joint = tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "、"));
    switch (day.kind) {
    case DayKind::NotCounted:
        return QString();
    case DayKind::Rest: {
        const QString rest = tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "休息"));
        return day.missingDeparture ? rest + joint + missing : rest;
    }
    case DayKind::Holiday: {
        const QString holiday = tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "节假日"));
        return day.missingDeparture ? holiday + joint + missing : holiday;
    }
    case DayKind::Working:
        break;
    }
    if (day.absent)
        return tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "缺勤"));
    if (!day.present)
        return QString();
    QStringList parts;
    if (day.late)
        parts
            << tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "迟到%1分钟")).arg(day.lateMinutes);
    if (day.early)
        parts << tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "早退%1分钟"))
                     .arg(day.earlyMinutes);
    if (day.missingDeparture)
        parts << missing;
    return parts.isEmpty() ? tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "正常"))
                           : parts.join(joint);
}

QString DayMarkText(DayMark mark, const Translation& tr) {
    switch (mark) {
    case DayMark::Added:
        return tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "补"));
    case DayMark::Changed:
        return tr.Text(Context, QT_TRANSLATE_NOOP("DayVerdict", "改"));
    case DayMark::None:
        break;
    }
    return QString();
}
