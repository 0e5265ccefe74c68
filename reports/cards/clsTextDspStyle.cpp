#include "reports/cards/clsTextDspStyle.h"

#include <cmath>
#include <limits>

namespace {

const QString kName = QStringLiteral("DSPNAME");
const QString kFont = QStringLiteral("DSPFONT");
const QString kSize = QStringLiteral("DSPSIZE");
const QString kColor = QStringLiteral("DSPCOLOR");
const QString kBold = QStringLiteral("DSPBOLD");
const QString kItalic = QStringLiteral("DSPITALIC");

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

clsTextDspStyle::clsTextDspStyle() {
    m_config.setFileName(clsConfiguration::DefaultFileName());
}

void clsTextDspStyle::InitConfigGroupName(const QString& groupName) {
    const QString group = groupName.trimmed();
    if (group.isEmpty())
        return;
    m_group = group;
    m_config.setGroup(group);
}

bool clsTextDspStyle::SetName(const QString& name) {
    return m_config.SetItem(kName, name.trimmed());
}

QString clsTextDspStyle::GetName() const {
    const QString stored = m_config.GetItem(kName);
    // Until a heading is set, the card carries the unit's own name.
    if (stored.trimmed().isEmpty() && isGroup(QStringLiteral("UNIT")))
        return m_config.GetItem(QStringLiteral("UNITNAME"));
    return stored;
}

bool clsTextDspStyle::SetFont(const QString& face) {
    return m_config.SetItem(kFont, face.trimmed());
}

QString clsTextDspStyle::GetFont() const {
    return m_config.GetItem(kFont);
}

bool clsTextDspStyle::SetSize(const QString& size) {
    return m_config.SetItem(kSize, size.trimmed());
}

QString clsTextDspStyle::GetSize() const {
    const QString stored = m_config.GetItem(kSize).trimmed();
    bool numeric = false;
    const double value = stored.toDouble(&numeric);
    if (numeric && std::isfinite(value))
        return stored;
    // The memo's box holds one line of 9 points.
    return isGroup(QStringLiteral("MEMO")) ? QStringLiteral("9") : QStringLiteral("14");
}

bool clsTextDspStyle::SetColor(qint32 color) {
    return m_config.SetItem(kColor, QString::number(color));
}

qint32 clsTextDspStyle::GetColor() const {
    bool numeric = false;
    const qlonglong value = m_config.GetItem(kColor).trimmed().toLongLong(&numeric);
    if (!numeric || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        return 0;
    return static_cast<qint32>(value);
}

bool clsTextDspStyle::SetBold(bool bold) {
    return m_config.SetItem(kBold, flag(bold));
}

bool clsTextDspStyle::GetBold() const {
    return m_config.GetItem(kBold) == QLatin1String("1");
}

bool clsTextDspStyle::SetItalic(bool italic) {
    return m_config.SetItem(kItalic, flag(italic));
}

bool clsTextDspStyle::GetItalic() const {
    return m_config.GetItem(kItalic) == QLatin1String("1");
}

bool clsTextDspStyle::isGroup(const QString& group) const {
    return m_group.compare(group, Qt::CaseInsensitive) == 0;
}

QColor clsTextDspStyle::ToColor(qint32 value) {
    const auto v = static_cast<quint32>(value);
    return QColor(v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff);
}

qint32 clsTextDspStyle::FromColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}
