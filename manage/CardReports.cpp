#include "manage/CardReports.h"

#include "manage/frmCardSet.h"
#include "platform/MsgBox.h"
#include "platform/PreviewWiring.h"
#include "report/ReportPreview.h"
#include "reports/cards/SingleEmployeeInfoReport.h"
#include "session/MainSession.h"
#include "shared/records/clsEmployeeSet.h"

#include <QCoreApplication>

void ShowCardDesignDialog(QWidget* parent) {
    frmCardSet dialog(parent);
    dialog.exec();
}

void PreviewCards(QWidget* parent, const QStringList& numbers) {
    clsEmployeeSet employees(MainSession::Get());
    // No numbers: no cards (the loader would take every employee).
    if (!numbers.isEmpty() && !SingleEmployeeInfoReport::LoadEmployees(numbers, &employees)) {
        MsgBox::ShowMessage(
            parent, QCoreApplication::translate("CardReports", "读取员工信息失败！"),
            QCoreApplication::translate("CardReports", "错误"), MsgBox::Icon::Exclamation);
        return;
    }
    SingleEmployeeInfoReport report;
    report.setEmployeeSet(&employees);
    ReportPreview preview(ReportDocument::Run(report), parent);
    WirePreview(preview);
    preview.exec();
}
