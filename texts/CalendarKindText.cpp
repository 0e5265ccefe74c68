#include "texts/CalendarKindText.h"

QString CalendarKindText(CalendarKind kind, const Translation& tr) {
    switch (kind) {
    case CalendarKind::Holiday:
        return tr.Text("CalendarKind", QT_TRANSLATE_NOOP("CalendarKind", "节假日"));
    case CalendarKind::Workday:
        return tr.Text("CalendarKind", QT_TRANSLATE_NOOP("CalendarKind", "调休上班"));
    case CalendarKind::Rest:
        break;
    }
    return tr.Text("CalendarKind", QT_TRANSLATE_NOOP("CalendarKind", "休息日"));
}
