#include "manage/CardPrinting.h"

#include "manage/CardReports.h"

namespace CardPrinting {

void Design(QWidget* parent) {
    if (DesignSeam::Active())
        DesignSeam::Call(parent);
    else
        ShowCardDesignDialog(parent);
}

void Print(QWidget* parent, const QStringList& numbers) {
    if (PrintSeam::Active())
        PrintSeam::Call(parent, numbers);
    else
        PreviewCards(parent, numbers);
}

} // namespace CardPrinting
