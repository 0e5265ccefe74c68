#pragma once

#include "tools/admin/AdminCommand.h"

// `report-month YEAR MONTH OUT`: the monthly attendance report without a
// window, as PDF (OUT ending in .pdf) or as CSV (.csv).
class ReportMonthCommand : public AdminCommand {
public:
    ReportMonthCommand();
    int Run(Admin::Context& c) const override;
};
