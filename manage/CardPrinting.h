#pragma once

#include <QStringList>
#include <functional>

class QWidget;

// How the main window reaches the card design dialog and the card preview
// (CardReports.h). Tests put hooks in their place to see the calls without
// opening the card windows.
namespace CardPrinting {

using DesignHook = std::function<void(QWidget*)>;
using PrintHook = std::function<void(QWidget*, const QStringList&)>;

void SetHooks(DesignHook design, PrintHook print);
void ClearHooks();

// The hook when one is set, else the design dialog or the preview of the
// cards of these numbers, in this order.
void Design(QWidget* parent);
void Print(QWidget* parent, const QStringList& numbers);

} // namespace CardPrinting
