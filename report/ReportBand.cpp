#include "report/ReportBand.h"

ReportControl& ReportBand::Add(const ReportControl& control) {
    if (!control.name.isEmpty() && !m_index.contains(control.name))
        m_index.insert(control.name, m_controls.size());
    m_controls.push_back(control);
    return m_controls.back();
}

namespace {

ReportControl control(ReportControl::Kind kind, const QString& name, const QRect& rect) {
    ReportControl c;
    c.kind = kind;
    c.name = name;
    c.rect = rect;
    return c;
}

} // namespace

ReportControl& ReportBand::AddLabel(const QString& name, const QRect& rect, const QString& text) {
    ReportControl c = control(ReportControl::Kind::Label, name, rect);
    c.text = text;
    return Add(c);
}

ReportControl& ReportBand::AddRectangle(const QString& name, const QRect& rect) {
    ReportControl c = control(ReportControl::Kind::Rectangle, name, rect);
    c.border = true;
    return Add(c);
}

ReportControl& ReportBand::AddPicture(const QString& name, const QRect& rect) {
    return Add(control(ReportControl::Kind::Picture, name, rect));
}

ReportControl& ReportBand::AddBarcode(const QString& name, const QRect& rect) {
    ReportControl c = control(ReportControl::Kind::Barcode, name, rect);
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
