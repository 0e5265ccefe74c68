#pragma once

#include "report/ReportControl.h"

#include <QHash>
#include <QString>
#include <vector>

// A horizontal section of a report (page header, detail or page footer):
// its height in twips and its controls, addressed by name.
class ReportBand {
public:
    int Height() const { return m_height; }
    void setHeight(int twips) { m_height = twips; }
    // Detail band only: records side by side in this many columns of equal
    // width (the print width shared), across and then down.
    int ColumnCount() const { return m_columns; }
    void setColumnCount(int count) { m_columns = count < 1 ? 1 : count; }

    // Appends a control and returns it for further settings.
    ReportControl& Add(const ReportControl& control);
    ReportControl& AddLabel(const QString& name, const QRect& rect,
                            const QString& text = QString());
    ReportControl& AddRectangle(const QString& name, const QRect& rect);
    ReportControl& AddPicture(const QString& name, const QRect& rect);
    ReportControl& AddBarcode(const QString& name, const QRect& rect);

    // The control of that name, or nullptr.
    ReportControl* Control(const QString& name);
    const ReportControl* Control(const QString& name) const;
    // Sets a control's text; false when there is no control of that name.
    bool SetText(const QString& name, const QString& text);

    const std::vector<ReportControl>& Controls() const { return m_controls; }

private:
    int m_height = 0;
    int m_columns = 1;
    std::vector<ReportControl> m_controls;
    QHash<QString, size_t> m_index; // name -> position (the first control of a name)
};
