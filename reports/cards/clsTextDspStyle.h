#pragma once

#include "shared/config/clsConfiguration.h"

#include <QColor>
#include <QString>

// A text printed on the sign-in card with its display style, kept in one
// group of "attendance.ini" (UNIT for the unit name, MEMO for the memo).
// Nothing is cached: every get reads the file, every set writes it and
// returns whether the write succeeded.
class clsTextDspStyle {
public:
    clsTextDspStyle();

    // Switches to the group (trimmed); a blank name changes nothing.
    void InitConfigGroupName(const QString& groupName);
    QString Group() const { return m_group; }

    bool SetName(const QString& name);
    // The stored text; for UNIT without one, the unit name (UNITNAME).
    QString GetName() const;
    bool SetFont(const QString& face);
    QString GetFont() const;
    bool SetSize(const QString& size);
    // The stored size when it is a number, else "9" for MEMO and "14" otherwise.
    QString GetSize() const;
    // Colour: red in the low byte, green in the next, blue in the third.
    bool SetColor(qint32 color);
    // The stored colour when it is a whole number, else 0 (black).
    qint32 GetColor() const;
    bool SetBold(bool bold);
    bool GetBold() const; // true exactly for "1"
    bool SetItalic(bool italic);
    bool GetItalic() const;

    // The colour value of the settings (red low) and the colour it stands for.
    static QColor ToColor(qint32 value);
    static qint32 FromColor(const QColor& color);

private:
    bool isGroup(const QString& group) const;

    clsConfiguration m_config;
    QString m_group;
};
