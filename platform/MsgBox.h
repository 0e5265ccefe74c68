#pragma once

#include "platform/Seam.h"

#include <QString>
#include <functional>

class QKeyEvent;
class QWidget;

// Every message box of the programs goes through ShowMessage, so tests can
// read what the user would see and answer questions without a human.
namespace MsgBox {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, YesNo };
enum class Result { Ok, Yes, No };

// What a key hook makes of one key press of the box: the box handles it as
// usual, never sees it, or closes without seeing it.
enum class KeyAction { Pass, Take, Close };
using KeyHook = std::function<KeyAction(const QKeyEvent&)>;

// A box that does not wait for its answer alone. Closed by itself or by the
// hook, it answers as its Escape key would: Ok, or No for a question.
struct Closing {
    // Closes by itself this long after it opened, or once keys the hook is
    // taking then have stopped coming; 0: stays until answered.
    int afterMs = 0;
    // Sees every key press of the box before the box does.
    KeyHook keys;
};

struct Shown {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    int closeAfterMs = 0;
    // The box's key hook (empty: none), so a test can type into the box.
    KeyHook keys;
};

// Shows a modal box (title empty: the program title) and returns the answer.
Result ShowMessage(QWidget* parent, const QString& text, const QString& title,
                   Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
                   const Closing& closing = {});

// Tests: while a Seam::Override lives, its function answers instead.
using Seam = ::Seam<struct MsgBoxTag, Result(const Shown&)>;

} // namespace MsgBox
