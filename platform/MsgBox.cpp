#include "platform/MsgBox.h"

#include "platform/DesktopKit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <optional>

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

// Closes the box as its Escape key does.
void closeBox(QMessageBox& box) {
    if (QAbstractButton* escape = box.escapeButton())
        escape->click();
}

// Gives the key presses of the box to a hook before the box sees them. It
// watches the box's window, which receives each key once before handing it
// to the focused button (and before Tab could move the focus); installed on
// the application, as the window is made only when the box is shown.
class KeyFilter : public QObject {
public:
    KeyFilter(QMessageBox& box, KeyHook hook) : m_box(box), m_hook(std::move(hook)) {
        qApp->installEventFilter(this);
    }
    ~KeyFilter() override { qApp->removeEventFilter(this); }
    KeyFilter(const KeyFilter&) = delete;
    KeyFilter& operator=(const KeyFilter&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !m_box.isVisible() ||
            watched != static_cast<QObject*>(m_box.windowHandle()))
            return false;
        switch (m_hook(*static_cast<const QKeyEvent*>(event))) {
        case KeyAction::Pass:
            return false;
        case KeyAction::Take:
            m_lastTaken.start();
            return true;
        case KeyAction::Close:
            closeBox(m_box);
            return true;
        }
        return false;
    }

    // Milliseconds since the hook last took a key; none taken: -1.
    qint64 SinceTaken() const { return m_lastTaken.isValid() ? m_lastTaken.elapsed() : -1; }

private:
    QMessageBox& m_box;
    KeyHook m_hook;
    QElapsedTimer m_lastTaken;
};

// Keys the hook takes less than this apart are one input (a scanner types
// a card in a few milliseconds a key), which the box's own time does not cut.
constexpr int kTakenKeysPauseMs = 300;

// Runs the box until it is answered, closed by itself or by the key hook.
void exec(QMessageBox& box, const Closing& closing) {
    std::optional<KeyFilter> keys;
    if (closing.keys)
        keys.emplace(box, closing.keys);
    QTimer closer; // precise: a coarse timer may fire up to 5 % early
    closer.setSingleShot(true);
    closer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&closer, &QTimer::timeout, &box, [&] {
        const qint64 since = keys ? keys->SinceTaken() : -1;
        if (since >= 0 && since < kTakenKeysPauseMs)
            closer.start(int(kTakenKeysPauseMs - since));
        else
            closeBox(box);
    });
    if (closing.afterMs > 0)
        closer.start(closing.afterMs);
    box.exec();
}

} // namespace

Result ShowMessage(QWidget* parent, const QString& text, const QString& title, Icon icon,
                   Buttons buttons, const Closing& closing) {
    const QString shownTitle = title.isEmpty() ? DesktopKit::ProgramTitle() : title;
    if (Seam::Active())
        return Seam::Call(Shown{text, shownTitle, icon, buttons, closing.afterMs, closing.keys});

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
        QPushButton* yes =
            box.addButton(QCoreApplication::translate("MsgBox", "是"), QMessageBox::YesRole);
        QPushButton* no =
            box.addButton(QCoreApplication::translate("MsgBox", "否"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        exec(box, closing);
        return box.clickedButton() == yes ? Result::Yes : Result::No;
    }
    QPushButton* ok =
        box.addButton(QCoreApplication::translate("MsgBox", "确定"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    exec(box, closing);
    return Result::Ok;
}

} // namespace MsgBox
