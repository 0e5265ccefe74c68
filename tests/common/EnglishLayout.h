#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

class QWidget;

// The programs in English while it lives: the built-in English catalogue
// installed and the English locale the default, as ChineseUi::Setup does for
// [OTHER] LANGUAGE=en; both given back at its end. Make the windows after it.
class EnglishScope {
public:
    EnglishScope();
    ~EnglishScope();
    EnglishScope(const EnglishScope&) = delete;
    EnglishScope& operator=(const EnglishScope&) = delete;
    bool Installed() const { return m_installed; }

private:
    QTranslator m_translator;
    QLocale m_locale;
    bool m_installed = false;
};

// What of `window` (shown, laid out) an English reader would find wrong, one
// line each naming the control: a label's, button's or group box's text or a
// column header's caption wider (or, wrapped, taller) than its room, measured
// with the control's font; menu bar entries that do not all fit in the bar;
// any Chinese character left in a window title, a label, a button, a group
// box's title, a header, a menu entry, a tool tip or a field's placeholder.
// `dataTexts` are texts of the records shown (a Chinese name), not checked
// for Chinese. Hidden controls are skipped: show each state to be checked.
QStringList EnglishLayoutProblems(QWidget* window, const QStringList& dataTexts = {});

// A Chinese character or punctuation mark in `text` outside `dataTexts`.
bool HasChinese(QString text, const QStringList& dataTexts = {});
