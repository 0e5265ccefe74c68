#include "manage/CardPrinting.h"

#include "manage/CardReports.h"

namespace CardPrinting {

namespace {

struct Hooks {
    DesignHook design;
    PrintHook print;
};

Hooks& hooks() {
    static Hooks h;
    return h;
}

} // namespace

void SetHooks(DesignHook design, PrintHook print) {
    hooks() = Hooks{std::move(design), std::move(print)};
}

void ClearHooks() {
    hooks() = Hooks{};
}

void Design(QWidget* parent) {
    if (hooks().design)
        hooks().design(parent);
    else
        ShowCardDesignDialog(parent);
}

void Print(QWidget* parent, const QStringList& numbers) {
    if (hooks().print)
        hooks().print(parent, numbers);
    else
        PreviewCards(parent, numbers);
}

} // namespace CardPrinting
