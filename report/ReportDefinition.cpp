#include "report/ReportDefinition.h"

void ReportDefinition::setMargins(int left, int top, int right, int bottom) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

ReportControl* ReportDefinition::Control(const QString& name) {
    if (ReportControl* c = m_header.Control(name))
        return c;
    if (ReportControl* c = m_detail.Control(name))
        return c;
    return m_footer.Control(name);
}

bool ReportDefinition::SetText(const QString& name, const QString& text) {
    ReportControl* c = Control(name);
    if (!c)
        return false;
    c->text = text;
    return true;
}
