#include "tests/common/EnglishLayout.h"

#include "texts/Translation.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTextDocument>

EnglishScope::EnglishScope() : m_locale(QLocale()) {
    m_installed = Translation::Load(UiLanguage::English, &m_translator) &&
                  QCoreApplication::installTranslator(&m_translator);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

EnglishScope::~EnglishScope() {
    QCoreApplication::removeTranslator(&m_translator);
    QLocale::setDefault(m_locale);
}

bool HasChinese(QString text, const QStringList& dataTexts) {
    for (const QString& data : dataTexts)
        if (!data.isEmpty())
            text.remove(data);
    static const QRegularExpression han(QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}"
                                                       "\\x{ff00}-\\x{ffef}]"));
    return han.match(text).hasMatch();
}

namespace {

// The text as painted: "&&" is one ampersand, a lone "&" marks the shortcut.
QString shownText(QString text) {
    text.replace(QLatin1String("&&"), QString(QChar(0xE000)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0xE000), QLatin1Char('&'));
    return text;
}

QString name(const QWidget* w) {
    return QStringLiteral("%1 (%2)").arg(w->objectName(),
                                         QString::fromLatin1(w->metaObject()->className()));
}

// Lists `text` of `who` when it holds Chinese beside the records' own texts.
void flagChinese(const QString& who, const QString& what, const QString& text,
                 const QStringList& dataTexts, QStringList* out) {
    if (HasChinese(text, dataTexts))
        *out << QStringLiteral("%1: Chinese %2 \"%3\"").arg(who, what, text);
}

// Lists `text` of `who` when it is wider than its room.
void flagWidth(const QString& who, const QString& what, const QString& text, int needed, int room,
               QStringList* out) {
    if (needed > room)
        *out << QStringLiteral("%1: %2\"%3\" needs %4, has %5")
                    .arg(who, what, text)
                    .arg(needed)
                    .arg(room);
}

int widest(const QFontMetrics& fm, const QString& text) {
    int width = 0;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r"))))
        width = std::max(width, fm.horizontalAdvance(line));
    return width;
}

void checkLabel(const QLabel* label, QStringList* out) {
    const QString text = label->text();
    if (text.isEmpty() || !label->pixmap().isNull())
        return;
    const QRect room = label->contentsRect().marginsRemoved(
        QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    QSize needed;
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(label->font());
        doc.setDocumentMargin(0);
        doc.setHtml(text);
        if (label->wordWrap())
            doc.setTextWidth(room.width());
        needed = QSize(int(doc.idealWidth()), int(doc.size().height()));
    } else if (label->wordWrap()) {
        const QFontMetrics fm(label->font());
        needed = fm.boundingRect(QRect(0, 0, room.width(), 100000),
                                 int(label->alignment()) | Qt::TextWordWrap, shownText(text))
                     .size();
        // A single word longer than the room does not wrap.
        for (const QString& word :
             shownText(text).split(QRegularExpression(QStringLiteral("\\s+"))))
            needed.setWidth(std::max(needed.width(), fm.horizontalAdvance(word)));
    } else {
        const QFontMetrics fm(label->font());
        const QString shown = shownText(text);
        needed = QSize(widest(fm, shown),
                       fm.height() + fm.lineSpacing() * int(shown.count(QLatin1Char('\n'))));
    }
    // One line always has room: the windows' labels may be lower than their
    // font's line, in Chinese as well. More lines need their height.
    const int oneLine = QFontMetrics(label->font()).height();
    if (needed.width() > room.width() || needed.height() > std::max(room.height(), oneLine))
        *out << QStringLiteral("%1: \"%2\" needs %3x%4, has %5x%6")
                    .arg(name(label), text)
                    .arg(needed.width())
                    .arg(needed.height())
                    .arg(room.width())
                    .arg(room.height());
}

void checkButton(const QAbstractButton* button, QStringList* out) {
    const QString text = shownText(button->text());
    if (text.isEmpty())
        return;
    const QStyle* style = button->style();
    int room = button->contentsRect().width();
    if (qobject_cast<const QPushButton*>(button))
        room -= style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    else if (qobject_cast<const QCheckBox*>(button))
        room -= style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
                style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
    else if (qobject_cast<const QRadioButton*>(button))
        room -= style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button) +
                style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, button);
    if (!button->icon().isNull())
        room -= button->iconSize().width() + 4;
    flagWidth(name(button), QString(), text, widest(QFontMetrics(button->font()), text), room, out);
}

void checkGroupBox(const QGroupBox* box, QStringList* out) {
    const QString title = shownText(box->title());
    if (title.isEmpty())
        return;
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    // The style cuts the title's rectangle to the box: it fits when the text does.
    flagWidth(name(box), QStringLiteral("title "), title,
              QFontMetrics(box->font()).horizontalAdvance(title),
              std::min(label.width(), box->width() - label.left()), out);
}

void checkHeader(const QHeaderView* header, const QStringList& dataTexts, QStringList* out) {
    const QAbstractItemModel* model = header->model();
    if (!model || header->isHidden())
        return;
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int count = header->orientation() == Qt::Horizontal
                          ? model->columnCount(header->rootIndex())
                          : model->rowCount(header->rootIndex());
    for (int i = 0; i < count; ++i) {
        if (header->isSectionHidden(i))
            continue;
        const QString text = model->headerData(i, header->orientation()).toString();
        const QString column = QStringLiteral("column %1 ").arg(i);
        flagChinese(name(header), column, text, dataTexts, out);
        if (header->orientation() != Qt::Horizontal || text.isEmpty())
            continue;
        QFont font = header->font();
        const QVariant modelFont = model->headerData(i, header->orientation(), Qt::FontRole);
        if (modelFont.canConvert<QFont>())
            font = qvariant_cast<QFont>(modelFont);
        flagWidth(name(header), column, text, widest(QFontMetrics(font), text) + margin,
                  header->sectionSize(i), out);
    }
}

// Each entry once, wherever it is reached from (a menu bar, a menu, the window).
void checkActions(const QString& where, const QList<QAction*>& actions,
                  const QStringList& dataTexts, QSet<const QAction*>* seen, QStringList* out) {
    for (const QAction* action : actions) {
        if (seen->contains(action))
            continue;
        seen->insert(action);
        // One line an action: its tool tip repeats its text when it has none.
        for (const QString& text : {action->text(), action->toolTip(), action->statusTip()})
            if (HasChinese(text, dataTexts)) {
                flagChinese(where, QStringLiteral("menu entry"), text, dataTexts, out);
                break;
            }
        if (const QMenu* menu = action->menu())
            checkActions(where + QLatin1String(" > ") + shownText(action->text()), menu->actions(),
                         dataTexts, seen, out);
    }
}

void checkMenuBar(const QMenuBar* bar, const QStringList& dataTexts, QSet<const QAction*>* seen,
                  QStringList* out) {
    checkActions(name(bar), bar->actions(), dataTexts, seen, out);
    for (QAction* action : bar->actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QRect r = bar->actionGeometry(action);
        if (r.isEmpty() || !bar->rect().contains(r))
            *out << QStringLiteral("%1: menu \"%2\" does not fit in the bar")
                        .arg(name(bar), shownText(action->text()));
    }
}

} // namespace

QStringList EnglishLayoutProblems(QWidget* window, const QStringList& dataTexts) {
    QStringList out;
    QSet<const QAction*> seen;
    flagChinese(name(window), QStringLiteral("window title"), window->windowTitle(), dataTexts,
                &out);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(window) && w != window)
            continue;
        const auto chinese = [&](const char* what, const QString& text) {
            flagChinese(name(w), QLatin1String(what), text, dataTexts, &out);
        };
        chinese("tool tip", w->toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            chinese("text", label->text());
            checkLabel(label, &out);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            chinese("text", button->text());
            checkButton(button, &out);
        } else if (const auto* box = qobject_cast<const QGroupBox*>(w)) {
            chinese("title", box->title());
            checkGroupBox(box, &out);
        } else if (const auto* header = qobject_cast<const QHeaderView*>(w)) {
            checkHeader(header, dataTexts, &out);
        } else if (const auto* bar = qobject_cast<const QMenuBar*>(w)) {
            checkMenuBar(bar, dataTexts, &seen, &out);
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            chinese("placeholder", edit->placeholderText());
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                chinese("tab", tabs->tabText(i));
        }
    }
    // The window's own menus (a context menu of the main window).
    for (const QMenu* menu : window->findChildren<QMenu*>())
        checkActions(name(menu), menu->actions(), dataTexts, &seen, &out);
    checkActions(name(window), window->actions(), dataTexts, &seen, &out);
    return out;
}
