#pragma once

#include "platform/Seam.h"

#include <QString>

class QWidget;

// Every message box of the programs goes through ShowMessage, so tests can
// read what the user would see and answer questions without a human.
namespace MsgBox {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, YesNo };
enum class Result { Ok, Yes, No };

struct Shown {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

// Shows a modal box (title empty: the program title) and returns the answer.
Result ShowMessage(QWidget* parent, const QString& text, const QString& title,
                   Icon icon = Icon::None, Buttons buttons = Buttons::Ok);

// Tests: while a Seam::Override lives, its function answers instead.
using Seam = ::Seam<struct MsgBoxTag, Result(const Shown&)>;

} // namespace MsgBox
