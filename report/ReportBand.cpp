#include "ReportBand.h"

ReportControl& ReportBand::Add(const ReportControl& control) {
    if (!control.name.isEmpty() && !m_index.contains(control.name))
        m_index.insert(control.name, m_controls.size());
    m_controls.push_back(control);
    return m_controls.back();
}

ReportControl& ReportBand::AddLabel(const QString& name, const QRect& rect, const QString& text) {
    ReportControl c;
    c.kind = ReportControl::Kind::Label;
    c.name = name;
    c.rect = rect;
    c.text = text;
    return Add(c);
}

ReportControl& ReportBand::AddRectangle(const QString& name, const QRect& rect) {
    ReportControl c;
    c.kind = ReportControl::Kind::Rectangle;
    c.name = name;
    c.rect = rect;
    c.border = true;
    return Add(c);
}

ReportControl& ReportBand::AddPicture(const QString& name, const QRect& rect) {
    ReportControl c;
    c.kind = ReportControl::Kind::Picture;
    c.name = name;
    c.rect = rect;
    return Add(c);
}

ReportControl& ReportBand::AddBarcode(const QString& name, const QRect& rect) {
    ReportControl c;
    c.kind = ReportControl::Kind::Barcode;
    c.name = name;
    c.rect = rect;
    c.alignment = Qt::AlignHCenter | Qt::AlignTop;
    return Add(c);
}

ReportControl* ReportBand::Control(const QString& name) {
    const auto it = m_index.constFind(name);
    return it == m_index.constEnd() ? nullptr : &m_controls[*it];
}

const ReportControl* ReportBand::Control(const QString& name) const {
    return const_cast<ReportBand*>(this)->Control(name);
}

bool ReportBand::SetText(const QString& name, const QString& text) {
    ReportControl* c = Control(name);
    if (!c)
        return false;
    c->text = text;
    return true;
}
