#include "shared/config/clsSchoolArea.h"

#include "shared/config/clsConfiguration.h"

namespace {
clsConfiguration UnitGroup() {
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(QStringLiteral("UNIT"));
    return cfg;
}
} // namespace

void clsSchoolArea::LoadInfo() {
    m_sname = UnitGroup().GetItem(QStringLiteral("UNITNAME"));
}

bool clsSchoolArea::SaveInfo() {
    return UnitGroup().SetItem(QStringLiteral("UNITNAME"), m_sname);
}
