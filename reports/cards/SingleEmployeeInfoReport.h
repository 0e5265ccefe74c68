#pragma once

#include "shared/db/DbErrors.h"

#include "report/ReportDefinition.h"

#include <QImage>
#include <QStringList>

class clsEmployeeSet;

// The sign-in card report ("打印签到卡"): the detail band is one card of
// 4677 x 3260 twips, two cards side by side on an A4 page. Every run reads
// the unit name, memo and logo of the card design afresh and prints the
// employees of the set in its order, from the first.
class SingleEmployeeInfoReport : public ReportDefinition {
public:
    SingleEmployeeInfoReport();

    // The employees to print (not owned; must outlive the run). None: no cards.
    void setEmployeeSet(const clsEmployeeSet* set) { m_set = set; }
    const clsEmployeeSet* EmployeeSet() const { return m_set; }

    void ReportStart() override;
    void FetchData(bool& eof) override;

    // The card's own rectangle within the detail band, twips.
    static QRect CardRect() { return QRect(0, 0, 4677, 3260); }
    // The logo printed when none is set (or its file is gone).
    static QImage BuiltInLogo();
    // A sample card without unit name, memo and logo, as an image at `dpi`:
    // the background of the card design's preview.
    static QImage SampleCard(int dpi);

    // Loads the employees with these numbers in this order (each number
    // once), all employees when `numbers` is empty, on the set's session. Numbers without an
    // employee go to `missing`; false when the database cannot be read.
    static bool LoadEmployees(const QStringList& numbers, clsEmployeeSet* set,
                              QStringList* missing = nullptr, Error* error = nullptr);

protected:
    // Fills the card's employee fields; a null photo leaves the card without one.
    void SetCard(const QString& name, const QString& dept, const QString& number,
                 const QString& barcode, const QImage& photo);
    // The unit name, memo and logo from the stored card design.
    void SetCardHeader();

private:
    const clsEmployeeSet* m_set = nullptr;
    int m_position = 0; // employees fetched in this run
};
