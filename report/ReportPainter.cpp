#include "report/ReportPainter.h"

#include "report/Code128.h"
#include "report/ReportBatch.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

#include <cmath>

namespace ReportPainter {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kTextInset = 30; // twips between a frame and its text

// Fonts are sized in twips (pixel size under the twips transform), so text
// keeps its size in points on every device.
class FontCache {
public:
    // The laid-out glyphs of a single-line text in the current font: a report
    // repeats few distinct texts (times, day numbers) thousands of times, and
    // shaping each again dominated painting.
    struct Line {
        QList<QGlyphRun> runs;
        QSizeF size;
        QRectF ink; // the glyphs' outlines, relative to the line's origin
    };
    const Line& line(const ReportControl& c) {
        const QFont& font = get(c);
        const QString key = c.text + QChar(0) + m_fontKey;
        auto it = m_lines.constFind(key);
        if (it != m_lines.constEnd())
            return *it;
        QTextLayout layout(c.text, font);
        layout.beginLayout();
        QTextLine l = layout.createLine();
        layout.endLayout();
        Line result{layout.glyphRuns(), QSizeF(l.naturalTextWidth(), l.height()), QRectF()};
        for (const QGlyphRun& run : result.runs) {
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> at = run.positions();
            for (qsizetype i = 0; i < glyphs.size() && i < at.size(); ++i)
                result.ink |= run.rawFont().boundingRect(glyphs[i]).translated(at[i]);
        }
        if (m_lines.size() > 20000)
            m_lines.clear();
        return *m_lines.insert(key, result);
    }

    const QFont& get(const ReportControl& c) {
        const int size = qMax(1, qRound(c.fontSize * 20));
        if (!m_valid || c.fontFamily != m_family || size != m_size || c.bold != m_bold ||
            c.italic != m_italic) {
            m_font = QFont(c.fontFamily);
            m_font.setPixelSize(size);
            m_font.setBold(c.bold);
            m_font.setItalic(c.italic);
            m_family = c.fontFamily;
            m_size = size;
            m_bold = c.bold;
            m_italic = c.italic;
            m_valid = true;
            // Built once a font: the key is a long text, and building it
            // for every cell was most of the painting.
            m_fontKey = m_font.key();
        }
        return m_font;
    }

private:
    QFont m_font;
    QString m_fontKey;
    QString m_family;
    int m_size = 0;
    bool m_bold = false, m_italic = false, m_valid = false;
    QHash<QString, Line> m_lines;
};

void frame(ReportBatch& batch, const ReportControl& c) {
    if (c.border)
        batch.AddFrame(c.rect, c.lineColor, c.lineWidth);
}

void drawBarcode(QPainter& p, const ReportControl& c, FontCache& fonts) {
    Code128 symbol;
    if (c.text.isEmpty() || !symbol.Encode(c.text))
        return;
    // The bars take at least 71 % of the box (a hand scanner needs their
    // height); the digits below get the rest, in a smaller font if need be.
    QFont font = fonts.get(c);
    const int textHeight = qMin(qRound(font.pixelSize() * 1.3), int(c.rect.height() * 0.29));
    font.setPixelSize(qMax(1, qMin(font.pixelSize(), int(textHeight / 1.2))));
    const QRectF bars(c.rect.left(), c.rect.top(), c.rect.width(),
                      qMax(0, c.rect.height() - textHeight));
    // Ten modules of quiet zone on either side, as scanners expect. A module
    // is a whole number of device dots (where a dot is smaller than a
    // module), on the dot grid, so coarse devices keep the bars' ratios.
    const double dotsPerTwip = p.transform().m11();
    double module = bars.width() / (symbol.Modules() + 20);
    if (dotsPerTwip > 0 && module * dotsPerTwip >= 1)
        module = std::floor(module * dotsPerTwip) / dotsPerTwip;
    double x0 = bars.left() + (bars.width() - symbol.Modules() * module) / 2;
    if (dotsPerTwip > 0)
        x0 = std::round(x0 * dotsPerTwip) / dotsPerTwip;
    for (const QRectF& b : symbol.Bars())
        p.fillRect(QRectF(x0 + b.x() * module, bars.top() + b.y() * bars.height(),
                          b.width() * module, b.height() * bars.height()),
                   c.foreColor);
    p.setFont(font);
    p.setPen(c.foreColor);
    p.drawText(QRectF(c.rect.left(), bars.bottom(), c.rect.width(), textHeight),
               Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, c.text);
}

// A single-line label's text at its alignment in its box, through the batch
// where its glyphs stay inside the box (cutting them there changes nothing).
void drawLine(QPainter& p, const ReportControl& c, const QRectF& box, FontCache& fonts,
              ReportBatch& batch) {
    const FontCache::Line& line = fonts.line(c);
    double x = box.left();
    if (c.alignment & Qt::AlignRight)
        x = box.right() - line.size.width();
    else if (c.alignment & Qt::AlignHCenter)
        x = box.left() + (box.width() - line.size.width()) / 2;
    double y = box.top();
    if (c.alignment & Qt::AlignBottom)
        y = box.bottom() - line.size.height();
    else if (c.alignment & Qt::AlignVCenter)
        y = box.top() + (box.height() - line.size.height()) / 2;
    // Text wider or taller than its label is cut at the label's edges: it
    // never runs over its neighbours.
    const bool overflows = (line.size.width() > box.width() || line.size.height() > box.height()) &&
                           !box.contains(line.ink.translated(x, y));
    if (!overflows && batch.AddText(line.runs, QPointF(x, y), c.foreColor))
        return;
    batch.Flush(p);
    p.setPen(c.foreColor);
    if (overflows) {
        p.save();
        p.setClipRect(box, Qt::IntersectClip);
    }
    for (const QGlyphRun& run : line.runs)
        p.drawGlyphRun(QPointF(x, y), run);
    if (overflows)
        p.restore();
}

void drawItem(QPainter& p, const ReportControl& c, FontCache& fonts, ReportBatch& batch) {
    if (c.backColor.isValid()) {
        batch.Flush(p);
        p.fillRect(c.rect, c.backColor);
    }
    switch (c.kind) {
    case ReportControl::Kind::Label: {
        frame(batch, c);
        if (c.text.isEmpty())
            break;
        // Framed text keeps off the frame; unframed labels may adjoin, so two
        // of them can read as one line.
        const int inset = c.border ? kTextInset : 0;
        const QRectF box = c.rect.adjusted(inset, 0, -inset, 0);
        if (!c.wordWrap) {
            drawLine(p, c, box, fonts, batch);
            break;
        }
        batch.Flush(p);
        p.setFont(fonts.get(c));
        p.setPen(c.foreColor);
        p.drawText(box, int(c.alignment) | Qt::TextWordWrap, c.text);
        break;
    }
    case ReportControl::Kind::Picture:
        batch.Flush(p);
        if (!c.picture.isNull())
            p.drawImage(QRectF(c.rect), c.picture);
        frame(batch, c);
        break;
    case ReportControl::Kind::Rectangle:
        frame(batch, c);
        break;
    case ReportControl::Kind::Barcode:
        batch.Flush(p);
        drawBarcode(p, c, fonts);
        break;
    }
}

QPageLayout layoutOf(const ReportDocument& doc) {
    const QSizeF points(doc.PageSize().width() / 20.0, doc.PageSize().height() / 20.0);
    return QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait, QMarginsF());
}

} // namespace

void PaintPage(QPainter& p, const ReportDocument& doc, int page, const QRect& highlight) {
    if (page < 0 || page >= doc.PageCount())
        return;
    p.save();
    p.scale(p.device()->logicalDpiX() / kTwipsPerInch, p.device()->logicalDpiY() / kTwipsPerInch);
    const QRect area = doc.PrintArea();
    p.setClipRect(QRect(area.left(), 0, area.width(), doc.PageSize().height()));
    FontCache fonts;
    ReportBatch batch;
    for (const ReportControl& c : doc.PageAt(page).items)
        drawItem(p, c, fonts, batch);
    batch.Flush(p);
    if (!highlight.isNull()) {
        p.fillRect(highlight, QColor(255, 220, 0, 110));
        p.setPen(QPen(QColor(220, 0, 0), 20));
        p.setBrush(Qt::NoBrush);
        p.drawRect(highlight);
    }
    p.restore();
}

QImage PageImage(const ReportDocument& doc, int page, int dpi, const QRect& highlight) {
    const QSize size(qRound(doc.PageSize().width() * dpi / kTwipsPerInch),
                     qRound(doc.PageSize().height() * dpi / kTwipsPerInch));
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    PaintPage(p, doc, page, highlight);
    return image;
}

bool PaintAll(QPagedPaintDevice& device, const ReportDocument& doc, int first, int last) {
    device.setPageLayout(layoutOf(doc));
    first = qMax(0, first);
    last = last < 0 ? doc.PageCount() - 1 : qMin(last, doc.PageCount() - 1);
    QPainter p;
    if (!p.begin(&device))
        return false;
    for (int i = first; i <= last; ++i) {
        if (i > first && !device.newPage())
            return false;
        PaintPage(p, doc, i);
    }
    return p.end();
}

namespace {

// With SOURCE_DATE_EPOCH set (reproducible builds' convention) the creation
// date is that moment, so the same records give the same PDF bytes. The
// date keeps its form and length, so the cross-reference offsets stay valid.
void fixCreationDate(QByteArray& pdf) {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    const QByteArray key = "/CreationDate (D:";
    const qsizetype from = pdf.indexOf(key);
    const qsizetype to = from < 0 ? -1 : pdf.indexOf(')', from);
    if (!ok || to < 0)
        return;
    const QDateTime when = QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC);
    QByteArray date = when.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    const qsizetype length = to - from - key.size();
    date += length == date.size() + 1 ? QByteArray("Z") : QByteArray("+00'00'");
    if (date.size() == length)
        pdf.replace(from + key.size(), length, date);
}

} // namespace

bool WritePdf(const ReportDocument& doc, QIODevice& out, Error* error, int first, int last) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(doc.Caption());
        writer.setCreator(QStringLiteral("attendance"));
        if (!PaintAll(writer, doc, first, last)) {
            Error(QStringLiteral("cannot write the PDF")).Report(error);
            return false;
        }
    }
    fixCreationDate(bytes);
    if (out.write(bytes) == bytes.size())
        return true;
    Error(QStringLiteral("cannot write the PDF: %1").arg(out.errorString())).Report(error);
    return false;
}

namespace {

bool writeInPlace(const QString& fileName, const QByteArray& bytes, bool replace, Error* error) {
    auto fail = [&](const QString& why) {
        Error(why).Report(error);
        return false;
    };
    if (replace) {
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            return fail(QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
        return true;
    }
    // NewOnly refuses an existing file at the moment of creation.
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(file.exists()
                        ? QStringLiteral("%1 exists already").arg(fileName)
                        : QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.remove();
        return fail(QStringLiteral("cannot write %1: %2").arg(fileName, why));
    }
    return true;
}

FileWriter& fileWriter() {
    static FileWriter writer = writeInPlace;
    return writer;
}

} // namespace

void SetFileWriter(FileWriter writer) {
    fileWriter() = writer ? std::move(writer) : FileWriter(writeInPlace);
}

bool WriteFile(const QString& fileName, const QByteArray& bytes, bool replace, Error* error) {
    return fileWriter()(fileName, bytes, replace, error);
}

bool WritePdfFile(const ReportDocument& doc, const QString& fileName, bool overwrite,
                  Error* error) {
    if (!overwrite && QFileInfo::exists(fileName)) {
        Error(QStringLiteral("%1 exists already").arg(fileName)).Report(error);
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return WritePdf(doc, buffer, error) && WriteFile(fileName, bytes, overwrite, error);
}

bool TextFits(const ReportControl& label) {
    // The font and box as painting sets them: the size in points is pixels of a twip.
    QFont font(label.fontFamily);
    font.setPixelSize(qMax(1, qRound(label.fontSize * 20)));
    font.setBold(label.bold);
    font.setItalic(label.italic);
    const QFontMetricsF metrics(font);
    const int inset = label.border ? kTextInset : 0;
    const QRectF box = QRectF(label.rect).adjusted(inset, 0, -inset, 0);
    const int flags = int(label.alignment) | (label.wordWrap ? Qt::TextWordWrap : 0);
    const QRectF needed = metrics.boundingRect(box, flags, label.text);
    return needed.width() <= box.width() && needed.height() <= box.height();
}

} // namespace ReportPainter
