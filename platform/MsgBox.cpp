#include "platform/MsgBox.h"

#include "platform/DesktopKit.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace MsgBox {

namespace {

QMessageBox::Icon toQtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Result ShowMessage(QWidget* parent, const QString& text, const QString& title, Icon icon,
                   Buttons buttons) {
    const QString shownTitle = title.isEmpty() ? DesktopKit::ProgramTitle() : title;
    if (Seam::Active())
        return Seam::Call(Shown{text, shownTitle, icon, buttons});

    // Without a window manager nobody moves the keyboard: the box takes it
    // when it is up, and gives it back to the widget that had it (or to the
    // parent's window) when it closes, else the X server hands it to the
    // root window and every later key is lost.
    const QPointer<QWidget> hadKeyboard =
        QApplication::focusWidget() ? QApplication::focusWidget() : parent;
    struct GiveBack {
        const QPointer<QWidget>& widget;
        ~GiveBack() { DesktopKit::TakeKeyboardFocus(widget); }
    } giveBack{hadKeyboard};

    QMessageBox box(parent);
    QTimer::singleShot(0, &box, [&box] { DesktopKit::TakeKeyboardFocus(&box); });
    box.setWindowTitle(shownTitle);
    box.setText(text);
    box.setIcon(toQtIcon(icon));
    if (buttons == Buttons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? Result::Yes : Result::No;
    }
    QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return Result::Ok;
}

} // namespace MsgBox
