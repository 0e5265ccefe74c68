#include "platform/PreviewWiring.h"

#include "platform/FileDialog.h"
#include "platform/InputBox.h"
#include "platform/MsgBox.h"
#include "platform/WriteFailure.h"
#include "report/ReportPreview.h"

#include <QCoreApplication>

#include <memory>

void WirePreview(ReportPreview& preview) {
    ReportPreview* p = &preview;
    auto lastFind = std::make_shared<QString>();
    preview.setFindTextProvider([p, lastFind]() {
        const std::optional<QString> text = InputBox::GetText(
            p, QCoreApplication::translate("PreviewWiring", "查找"),
            QCoreApplication::translate("PreviewWiring", "请输入要查找的文字："), *lastFind);
        if (!text)
            return QString();
        *lastFind = text->trimmed();
        return *lastFind;
    });
    preview.setPdfFileNameProvider([p](const QString& suggested) {
        const QString name = FileDialog::SaveFile(
            p, QCoreApplication::translate("PreviewWiring", "导出PDF"),
            QCoreApplication::translate("PreviewWiring", "PDF文件 (*.pdf)"), suggested);
        return name.isNull() ? QString() : name;
    });
    preview.setFailureCauseProvider(WriteFailure::Cause);
    preview.setMessageHandler([p](const QString& text, bool isError) {
        MsgBox::ShowMessage(p, text,
                            isError ? QCoreApplication::translate("PreviewWiring", "错误")
                                    : QCoreApplication::translate("PreviewWiring", "信息"),
                            isError ? MsgBox::Icon::Exclamation : MsgBox::Icon::Information);
    });
}
