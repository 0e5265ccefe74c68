#pragma once

#include "platform/Seam.h"

#include <QStringList>

class QWidget;

// How the main window reaches the card design dialog and the card preview
// (CardReports.h). Tests override the seams to see the calls without opening
// the card windows.
namespace CardPrinting {

using DesignSeam = ::Seam<struct CardDesignTag, void(QWidget*)>;
using PrintSeam = ::Seam<struct CardPrintTag, void(QWidget*, const QStringList&)>;

// The design dialog, or the preview of the cards of these numbers in this order.
void Design(QWidget* parent);
void Print(QWidget* parent, const QStringList& numbers);

} // namespace CardPrinting
