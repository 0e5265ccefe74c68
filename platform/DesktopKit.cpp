#include "platform/DesktopKit.h"

#include "platform/MsgBox.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbOpener.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsEmployeeSet.h"
#include "texts/Translation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QWindow>
#include <exception>

namespace DesktopKit {

namespace {

// The application's style with "*" as the password character, which the
// station's users know from its dialogs (styles differ: some draw a dot).
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The schema said in its own words where the programs cannot use it: a
// database newer than this program, or an older one that this login may not
// upgrade. True when neither (or the database cannot be asked: the other
// checks say why).
bool schemaUsable(const DbSettings& settings) {
    DbOpener::Inspection seen;
    if (!DbOpener::Inspect(settings, DatabaseFilePath(), &seen))
        return true;
    const int found = seen.state.version;
    QString message;
    if (found > DbSchema::Latest)
        message =
            QCoreApplication::translate(
                "DesktopKit", "数据库的结构版本（%1）比本程序的（%2）新，本程序不能使用它！请安装"
                              "新版本的程序。点击确定后程序将退出！")
                .arg(found)
                .arg(DbSchema::Latest);
    else if (found > 0 && found < DbSchema::Latest && !seen.mayUpgrade)
        message =
            QCoreApplication::translate(
                "DesktopKit", "数据库的结构版本（%1）比本程序的（%2）旧，而当前登录无权升级它！"
                              "请用数据库所有者的登录运行“attendance-admin migrate”。"
                              "点击确定后程序将退出！")
                .arg(found)
                .arg(DbSchema::Latest);
    if (message.isEmpty())
        return true;
    MsgBox::ShowMessage(nullptr, message, QCoreApplication::translate("DesktopKit", "错误"),
                        MsgBox::Icon::Exclamation);
    return false;
}

} // namespace

void SetProgramTitle(const QString& title) {
    QCoreApplication::setApplicationName(title);
}

QString ProgramTitle() {
    return QCoreApplication::applicationName();
}

bool CheckDatabase(const std::function<bool()>& awayButReady) {
    const DbSettings settings = DbSettings::FromConfiguration();
    const QFileInfo file(DatabaseFilePath());
    switch (settings.engine) {
    case DbSettings::Engine::SQLite:
        if (file.isFile() && !file.isHidden())
            return schemaUsable(settings);
        break;
    case DbSettings::Engine::PostgreSQL:
        // A login without rights on the tables would start and then fail
        // every scan: refused here, nothing changed by asking.
        if (clsDbConn conn; !conn.TestConn()) {
            // Only a server out of reach: a refused login stays a failure.
            const QString why = conn.OpenError().Text();
            const bool away = why.contains(QLatin1String("cannot be reached")) ||
                              why.contains(QLatin1String("does not answer"));
            if (away && awayButReady && awayButReady())
                return true;
            if (!away && !schemaUsable(settings))
                return false;
        } else if (clsDbConn::MayWriteTables(clsDbConn().GetDbConn())) {
            return true;
        }
        break;
    case DbSettings::Engine::Unknown:
        break;
    }
    MsgBox::ShowMessage(nullptr,
                        QCoreApplication::translate(
                            "DesktopKit", "数据库异常，程序不能正常运行！点击确定后程序将退出！"),
                        QCoreApplication::translate("DesktopKit", "错误"),
                        MsgBox::Icon::Exclamation);
    return false;
}

bool RunExchange(QWidget* parent, DbSession& session, Exchange kind,
                 const std::function<bool()>& operation) {
    bool ok = false;
    try {
        ok = operation();
    } catch (const std::exception&) {
        ok = false;
    }
    const bool import = kind == Exchange::Import;
    if (ok) {
        MsgBox::ShowMessage(parent,
                            import ? QCoreApplication::translate("DesktopKit", "数据导入完成！")
                                   : QCoreApplication::translate("DesktopKit", "数据已成功导出！"),
                            QCoreApplication::translate("DesktopKit", "信息"),
                            MsgBox::Icon::Information);
        if (import)
            WarnUnknownDepartments(parent, session);
    } else
        MsgBox::ShowMessage(parent,
                            import ? QCoreApplication::translate("DesktopKit", "导入数据失败！")
                                   : QCoreApplication::translate("DesktopKit", "导出数据失败！"),
                            QCoreApplication::translate("DesktopKit", "错误"),
                            MsgBox::Icon::Exclamation);
    return ok;
}

void WarnUnknownDepartments(QWidget* parent, DbSession& session) {
    const QStringList numbers = clsEmployeeSet::WithUnknownDepartment(session);
    if (numbers.isEmpty())
        return;
    const int shown = 10;
    MsgBox::ShowMessage(
        parent,
        QCoreApplication::translate(
            "DesktopKit",
            "有%1名员工所属的部门不存在（员工号：%2），他们不会出现在员工列表中，也不能"
            "签到！\r\n请同时导入其部门信息。")
            .arg(numbers.size())
            .arg(numbers.mid(0, shown).join(QCoreApplication::translate("DesktopKit", "、")) +
                 (numbers.size() > shown ? QCoreApplication::translate("DesktopKit", "等")
                                         : QString())),
        QCoreApplication::translate("DesktopKit", "警告"), MsgBox::Icon::Exclamation);
}

void SetTitleBar(QWidget* dialog, TitleBar bar) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (bar == TitleBar::FixedWithCloseBox)
        flags |= Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint;
    if (bar != TitleBar::NoCloseBox)
        flags |= Qt::WindowCloseButtonHint;
    dialog->setWindowFlags(flags);
}

void MakePasswordField(QLineEdit* field) {
    // The field owns its style; a widget does not own the style it is given.
    auto* style = new StarPasswordStyle;
    style->setParent(field);
    field->setStyle(style);
    field->setEchoMode(QLineEdit::Password);
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
}

void TakeKeyboardFocus(QWidget* widget) {
    if (!widget || !widget->isVisible())
        return;
    QWidget* window = widget->window();
    // QWidget::activateWindow does nothing for a window the toolkit thinks
    // active; the request goes to the window system regardless.
    if (QWindow* handle = window->windowHandle())
        handle->requestActivate();
    widget->setFocus(Qt::ActiveWindowFocusReason);
}

namespace {

bool textFits(const QLabel* label, const QString& text, const QFont& font) {
    const QRectF room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                       -label->margin(), -label->margin());
    int flags = int(label->alignment());
    if (label->wordWrap())
        flags |= Qt::TextWordWrap;
    const QRectF needed = QFontMetricsF(font).boundingRect(room, flags, text);
    const qreal slack = 0.5; // rounding of the measured sizes
    if (needed.width() > room.width() + slack)
        return false;
    return !label->wordWrap() || needed.height() <= room.height() + slack;
}

} // namespace

void SetFittedText(QLabel* label, const QString& text, const QFont& font) {
    constexpr qreal kSmallestPoints = 6;
    constexpr qreal kStep = 0.25;
    // The sizes tried are the font's own, then 0.25 pt smaller each, down to
    // kSmallestPoints: size k is font - k steps. The first that fits is
    // found by halving (a smaller size fits wherever a larger one does),
    // measuring a few sizes instead of every one; the last stands where none fits.
    const qreal points = font.pointSizeF();
    const auto sized = [&font, points](int k) {
        QFont f = font;
        if (k > 0)
            f.setPointSizeF(points - k * kStep);
        return f;
    };
    const int last = points >= kSmallestPoints ? int((points - kSmallestPoints) / kStep) : 0;
    int chosen = 0;
    if (last > 0 && !textFits(label, text, font)) {
        // Size `low` does not fit; size `chosen` fits, or is the last.
        int low = 0;
        chosen = last;
        while (chosen - low > 1) {
            const int middle = (low + chosen) / 2;
            if (textFits(label, text, sized(middle)))
                chosen = middle;
            else
                low = middle;
        }
    }
    label->setFont(sized(chosen));
    label->setText(text);
}

QString HelpPage(const QString& baseName) {
    const bool english = Translation::Current().Language() == UiLanguage::English;
    return JoinPath(ProgramDirectory(),
                    baseName + (english ? QStringLiteral("-en.html") : QStringLiteral(".html")));
}

} // namespace DesktopKit
