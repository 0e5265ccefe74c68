#pragma once

#include <QStringList>

class QWidget;

// The office program's card windows, as its main window opens them.

// Opens the card design dialog (modal).
void ShowCardDesignDialog(QWidget* parent);
// Previews the sign-in cards of the employees with these numbers, in this order
// (printing and PDF export from the preview).
void PreviewCards(QWidget* parent, const QStringList& numbers);
