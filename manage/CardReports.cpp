#include "manage/CardReports.h"

#include "manage/frmCardSet.h"
#include "platform/FileDialog.h"
#include "platform/InputBox.h"
#include "platform/MsgBox.h"
#include "platform/WriteFailure.h"
#include "report/ReportPreview.h"
#include "reports/cards/SingleEmployeeInfoReport.h"
#include "shared/records/clsEmployeeSet.h"

void ShowCardDesignDialog(QWidget* parent) {
    frmCardSet dialog(parent);
    dialog.exec();
}

void PreviewCards(QWidget* parent, const QStringList& numbers) {
    clsEmployeeSet employees;
    // No numbers: no cards (the loader would take every employee).
    if (!numbers.isEmpty() && !SingleEmployeeInfoReport::LoadEmployees(numbers, &employees)) {
        MsgBox::ShowMessage(parent, QStringLiteral("读取员工信息失败！"), QStringLiteral("错误"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    SingleEmployeeInfoReport report;
    report.setEmployeeSet(&employees);
    ReportPreview preview(ReportDocument::Run(report), parent);
    preview.setFindTextProvider([&preview]() {
        const std::optional<QString> text =
            InputBox::GetText(&preview, QStringLiteral("查找"), QStringLiteral("查找内容："));
        return text ? text->trimmed() : QString();
    });
    preview.setPdfFileNameProvider([&preview](const QString& suggested) {
        return FileDialog::SaveFile(&preview, QStringLiteral("导出PDF"),
                                    QStringLiteral("PDF文件 (*.pdf)"), suggested);
    });
    preview.setFailureCauseProvider(WriteFailure::Cause);
    preview.setMessageHandler([&preview](const QString& text, bool isError) {
        MsgBox::ShowMessage(&preview, text,
                            isError ? QStringLiteral("错误") : QStringLiteral("信息"),
                            isError ? MsgBox::Icon::Exclamation : MsgBox::Icon::Information);
    });
    preview.exec();
}
