#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The keys of a barcode scanner that types like a keyboard, turned into
// barcodes. Scanners differ in what they send around the code: a prefix or
// suffix of control characters (STX, ETX, GS, ...) and Enter, keypad Enter,
// Tab, CR or LF at the end. Every terminator completes one barcode; control
// and other non-printing characters are dropped, whether they come as a
// key's text or as a key without text; blanks at either end are dropped. A
// pause of KeyPauseMs or more before a character starts a new barcode.
//
// Pure: keys go in as (key code, text, clock milliseconds), so the station and
// the scan test window feed it the same way and tests feed it tables.
class ScanInput {
public:
    static constexpr qint64 KeyPauseMs = 2000;

    // One key press. Returns the barcodes it completes, one for each
    // terminator (empty where nothing was gathered before it).
    QStringList Feed(int key, const QString& text, qint64 ms);
    // The characters gathered since the last terminator.
    QString Gathered() const { return m_text; }
    void Clear();

    // Keys that end a barcode whatever text they carry.
    static bool IsTerminatorKey(int key);
    static bool IsTerminator(QChar c);
    // Whether a character becomes part of a barcode.
    static bool IsKept(QChar c);
    // The text with every non-printing character shown by name, "<STX>",
    // "<CR>", "<0x1F>", so that what a scanner sends can be read.
    static QString Visible(const QString& text);
    // A key code by name: "Return", "Tab", "A", "0x01000000".
    static QString KeyName(int key);

private:
    void Append(QChar c, qint64 ms);
    QString Complete();

    QString m_text;
    // Clock milliseconds of the last kept character; none yet after a Clear.
    std::optional<qint64> m_lastKey;
};
