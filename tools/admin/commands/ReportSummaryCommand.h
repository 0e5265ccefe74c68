#pragma once

#include "tools/admin/AdminCommand.h"

// `report-summary YEAR MONTH OUT`: the month's attendance summary as PDF,
// CSV or spreadsheet.
class ReportSummaryCommand : public AdminCommand {
public:
    ReportSummaryCommand();
    int Run(Admin::Context& c) const override;
};
