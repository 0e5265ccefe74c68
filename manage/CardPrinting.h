#pragma once

#include <QStringList>
#include <functional>

class QWidget;

// Opens the card design dialog (modal).
void ShowCardDesign(QWidget* parent);
// Previews the cards of the employees with these numbers, in this order.
void PrintCards(QWidget* parent, const QStringList& numbers);

// How the main window reaches the two functions above. Tests put hooks in
// their place to see the calls without opening the card windows.
namespace CardPrinting {

using DesignHook = std::function<void(QWidget*)>;
using PrintHook = std::function<void(QWidget*, const QStringList&)>;

void SetHooks(DesignHook design, PrintHook print);
void ClearHooks();

// The hook when one is set, else the real function.
void Design(QWidget* parent);
void Print(QWidget* parent, const QStringList& numbers);

} // namespace CardPrinting
