#include "CardPrinting.h"

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
        ShowCardDesign(parent);
}

void Print(QWidget* parent, const QStringList& numbers) {
    if (hooks().print)
        hooks().print(parent, numbers);
    else
        PrintCards(parent, numbers);
}

} // namespace CardPrinting
