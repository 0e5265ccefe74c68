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

namespace {

bool hasChinese(QString text, const QStringList& dataTexts) {
    for (const QString& data : dataTexts)
        if (!data.isEmpty())
            text.remove(data);
    static const QRegularExpression han(QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}"
                                                       "\\x{ff00}-\\x{ffef}]"));
    return han.match(text).hasMatch();
}

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
    const int needed = widest(QFontMetrics(button->font()), text);
    if (needed > room)
        *out << QStringLiteral("%1: \"%2\" needs %3, has %4")
                    .arg(name(button), text)
                    .arg(needed)
                    .arg(room);
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
    const int needed = QFontMetrics(box->font()).horizontalAdvance(title);
    const int room = std::min(label.width(), box->width() - label.left());
    if (needed > room)
        *out << QStringLiteral("%1: title \"%2\" needs %3, has %4")
                    .arg(name(box), title)
                    .arg(needed)
                    .arg(room);
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
        if (hasChinese(text, dataTexts))
            *out << QStringLiteral("%1: Chinese column %2 \"%3\"")
                        .arg(name(header))
                        .arg(i)
                        .arg(text);
        if (header->orientation() != Qt::Horizontal || text.isEmpty())
            continue;
        QFont font = header->font();
        const QVariant modelFont = model->headerData(i, header->orientation(), Qt::FontRole);
        if (modelFont.canConvert<QFont>())
            font = qvariant_cast<QFont>(modelFont);
        const int needed = widest(QFontMetrics(font), text) + margin;
        const int room = header->sectionSize(i);
        if (needed > room)
            *out << QStringLiteral("%1: column %2 \"%3\" needs %4, has %5")
                        .arg(name(header))
                        .arg(i)
                        .arg(text)
                        .arg(needed)
                        .arg(room);
    }
}

// Each entry once, wherever it is reached from (a menu bar, a menu, the window).
void checkActions(const QString& where, const QList<QAction*>& actions,
                  const QStringList& dataTexts, QSet<const QAction*>* seen, QStringList* out) {
    for (const QAction* action : actions) {
        if (seen->contains(action))
            continue;
        seen->insert(action);
        for (const QString& text : {action->text(), action->toolTip(), action->statusTip()})
            if (hasChinese(text, dataTexts)) {
                *out << QStringLiteral("%1: Chinese menu entry \"%2\"").arg(where, text);
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
    if (hasChinese(window->windowTitle(), dataTexts))
        out << QStringLiteral("%1: Chinese window title \"%2\"")
                   .arg(name(window), window->windowTitle());
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(window) && w != window)
            continue;
        if (hasChinese(w->toolTip(), dataTexts))
            out << QStringLiteral("%1: Chinese tool tip \"%2\"").arg(name(w), w->toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (hasChinese(label->text(), dataTexts))
                out << QStringLiteral("%1: Chinese text \"%2\"").arg(name(w), label->text());
            checkLabel(label, &out);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            if (hasChinese(button->text(), dataTexts))
                out << QStringLiteral("%1: Chinese text \"%2\"").arg(name(w), button->text());
            checkButton(button, &out);
        } else if (const auto* box = qobject_cast<const QGroupBox*>(w)) {
            if (hasChinese(box->title(), dataTexts))
                out << QStringLiteral("%1: Chinese title \"%2\"").arg(name(w), box->title());
            checkGroupBox(box, &out);
        } else if (const auto* header = qobject_cast<const QHeaderView*>(w)) {
            checkHeader(header, dataTexts, &out);
        } else if (const auto* bar = qobject_cast<const QMenuBar*>(w)) {
            checkMenuBar(bar, dataTexts, &seen, &out);
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            if (hasChinese(edit->placeholderText(), dataTexts))
                out << QStringLiteral("%1: Chinese placeholder \"%2\"")
                           .arg(name(w), edit->placeholderText());
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (hasChinese(tabs->tabText(i), dataTexts))
                    out << QStringLiteral("%1: Chinese tab \"%2\"").arg(name(w), tabs->tabText(i));
        }
    }
    // The window's own menus (a context menu of the main window).
    for (const QMenu* menu : window->findChildren<QMenu*>())
        checkActions(name(menu), menu->actions(), dataTexts, &seen, &out);
    checkActions(name(window), window->actions(), dataTexts, &seen, &out);
    return out;
}
