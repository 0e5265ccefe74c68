#include "platform/PreviewWiring.h"

#include "platform/FileDialog.h"
#include "platform/InputBox.h"
#include "platform/MsgBox.h"
#include "platform/WriteFailure.h"
#include "report/ReportPreview.h"

#include <memory>

void WirePreview(ReportPreview& preview) {
    ReportPreview* p = &preview;
    auto lastFind = std::make_shared<QString>();
    preview.setFindTextProvider([p, lastFind]() {
        const std::optional<QString> text = InputBox::GetText(
            p, ReportPreview::tr("查找"), ReportPreview::tr("请输入要查找的文字："), *lastFind);
        if (!text)
            return QString();
        *lastFind = text->trimmed();
        return *lastFind;
    });
    preview.setPdfFileNameProvider([p](const QString& suggested) {
        const QString name = FileDialog::SaveFile(p, ReportPreview::tr("导出PDF"),
                                                  ReportPreview::tr("PDF文件 (*.pdf)"), suggested);
        return name.isNull() ? QString() : name;
    });
    preview.setFailureCauseProvider(WriteFailure::Cause);
    preview.setMessageHandler([p](const QString& text, bool isError) {
        MsgBox::ShowMessage(p, text,
                            isError ? ReportPreview::tr("错误") : ReportPreview::tr("信息"),
                            isError ? MsgBox::Icon::Exclamation : MsgBox::Icon::Information);
    });
}
