#include "reports/cards/SingleEmployeeInfoReport.h"

#include "report/ReportDocument.h"
#include "report/ReportPainter.h"
#include "reports/cards/clsLogo.h"
#include "reports/cards/clsTextDspStyle.h"
#include "shared/records/clsEmployeeSet.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <stdexcept>

namespace {

const QString kUnitFace = QStringLiteral("隶书");
constexpr double kUnitSize = 26.5;
const QString kMemoFace = QStringLiteral("Arial");
constexpr double kMemoSize = 8.5;
constexpr double kDefaultSize = 14;

ReportControl& label(ReportBand& band, const char* name, const QRect& rect, const QString& face,
                     double size, const QString& text = QString()) {
    ReportControl& c = band.AddLabel(QString::fromLatin1(name), rect, text);
    c.fontFamily = face;
    c.fontSize = size;
    return c;
}

// Restyles a label from one group of the card design. An empty stored face
// keeps the layout's face; a size that is not a positive number prints at 14.
void applyStyle(ReportControl& c, const clsTextDspStyle& style, const QString& layoutFace) {
    c.text = style.GetName();
    const QString face = style.GetFont().trimmed();
    c.fontFamily = face.isEmpty() ? layoutFace : face;
    const double size = style.GetSize().toDouble();
    c.fontSize = size > 0 ? size : kDefaultSize;
    c.foreColor = clsTextDspStyle::ToColor(style.GetColor());
    c.bold = style.GetBold();
    c.italic = style.GetItalic();
}

// The photo area of the sample card: a grey head-and-shoulders outline.
QImage samplePhoto() {
    QImage img(240, 180, QImage::Format_RGB32);
    img.fill(QColor(225, 229, 235));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 158, 170));
    p.drawEllipse(QPointF(120, 70), 34, 40);
    p.drawChord(QRectF(55, 118, 130, 120), 0, 180 * 16);
    return img;
}

// One sample employee, the card design left out.
class SampleCardReport : public SingleEmployeeInfoReport {
public:
    void ReportStart() override {
        m_done = false;
        SetText(QStringLiteral("lblUnit"), QString());
        SetText(QStringLiteral("lblMemo"), QString());
        Control(QStringLiteral("logPic"))->visible = false;
    }
    void FetchData(bool& eof) override {
        eof = m_done;
        if (m_done)
            return;
        m_done = true;
        SetCard(QCoreApplication::translate("SingleEmployeeInfoReport", "张三"),
                QCoreApplication::translate("SingleEmployeeInfoReport", "办公室"),
                QStringLiteral("0001"), QStringLiteral("123456789012345"), samplePhoto());
    }

private:
    bool m_done = false;
};

} // namespace

SingleEmployeeInfoReport::SingleEmployeeInfoReport() {
    setCaption(QCoreApplication::translate("SingleEmployeeInfoReport", "打印签到卡"));
    setPrintWidth(9930);
    // A4: the two cards centred across, four rows of cards down.
    setMargins(988, 720, 988, 720);
    PageHeader().setHeight(0);
    PageFooter().setHeight(0);

    ReportBand& d = Detail();
    d.setHeight(3495);
    d.setColumnCount(2);
    d.AddRectangle(QStringLiteral("Shape1"), CardRect()).border = true;
    d.AddPicture(QStringLiteral("logPic"), {142, 142, 567, 567}).picture = BuiltInLogo();
    label(d, "lblUnit", {709, 283, 3826, 567}, kUnitFace, kUnitSize);
    d.AddPicture(QStringLiteral("ImgHead"), {142, 992, 2267, 1701});
    const QString song = QStringLiteral("宋体");
    const QString fangsong = QStringLiteral("仿宋_GB2312");
    label(d, "Label3", {2693, 1134, 567, 283}, song, 9,
          QCoreApplication::translate("SingleEmployeeInfoReport", "姓名"));
    label(d, "lblName", {3260, 1134, 992, 283}, fangsong, 9);
    label(d, "Label2", {2693, 1771, 567, 283}, song, 9,
          QCoreApplication::translate("SingleEmployeeInfoReport", "岗位"));
    label(d, "lblDept", {3260, 1771, 992, 283}, fangsong, 9);
    label(d, "Label1", {2693, 2408, 567, 284}, song, 9,
          QCoreApplication::translate("SingleEmployeeInfoReport", "编号"));
    label(d, "lblNumber", {3260, 2408, 992, 284}, QStringLiteral("楷体_GB2312"), 11.5);
    label(d, "lblMemo", {142, 2835, 1500, 283}, kMemoFace, kMemoSize);
    ReportControl& bars = d.AddBarcode(QStringLiteral("Barcode"), {1701, 2835, 2834, 283});
    bars.fontFamily = QStringLiteral("Arial");
    bars.fontSize = 8;
}

void SingleEmployeeInfoReport::ReportStart() {
    m_position = 0;
    SetCardHeader();
}

void SingleEmployeeInfoReport::SetCardHeader() {
    clsTextDspStyle style;
    style.InitConfigGroupName(QStringLiteral("UNIT"));
    applyStyle(*Control(QStringLiteral("lblUnit")), style, kUnitFace);
    style.InitConfigGroupName(QStringLiteral("MEMO"));
    applyStyle(*Control(QStringLiteral("lblMemo")), style, kMemoFace);

    ReportControl& logo = *Control(QStringLiteral("logPic"));
    const QString file = clsLogo().ExistingFile();
    const QImage picture = file.isEmpty() ? QImage() : QImage(file);
    logo.picture = picture.isNull() ? BuiltInLogo() : picture;
}

void SingleEmployeeInfoReport::FetchData(bool& eof) {
    ++m_position;
    if (!m_set || m_position > m_set->Count()) {
        eof = true;
        return;
    }
    eof = false;
    const clsEmployee& e = m_set->Item(m_position);
    // The photo straight from the record's bytes: no file needed.
    SetCard(e.ENAME(), e.DNAME(), e.ENUMBER(), e.EBARCODE(), QImage::fromData(e.HeadImgBytes()));
}

void SingleEmployeeInfoReport::SetCard(const QString& name, const QString& dept,
                                       const QString& number, const QString& barcode,
                                       const QImage& photo) {
    SetText(QStringLiteral("lblName"), name);
    SetText(QStringLiteral("Barcode"), barcode);
    SetText(QStringLiteral("lblNumber"), number);
    SetText(QStringLiteral("lblDept"), dept);
    Control(QStringLiteral("ImgHead"))->picture = photo;
}

QImage SingleEmployeeInfoReport::BuiltInLogo() {
    // A blue badge with a white tick.
    QImage img(128, 128, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 78, 160));
    p.drawEllipse(QRectF(4, 4, 120, 120));
    QPainterPath tick;
    tick.moveTo(34, 66);
    tick.lineTo(56, 88);
    tick.lineTo(96, 42);
    p.setPen(QPen(Qt::white, 14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    return img;
}

QImage SingleEmployeeInfoReport::SampleCard(int dpi) {
    SampleCardReport report;
    const ReportDocument doc = ReportDocument::Run(report);
    QRect card;
    for (const ReportControl& c : doc.PageAt(0).items)
        if (c.name == QLatin1String("Shape1"))
            card = c.rect;
    const QImage page = ReportPainter::PageImage(doc, 0, dpi);
    const auto px = [dpi](int twips) { return qRound(twips * dpi / 1440.0); };
    return page.copy(px(card.left()), px(card.top()), px(card.width()) + 1, px(card.height()) + 1);
}

bool SingleEmployeeInfoReport::LoadEmployees(const QStringList& numbers, clsEmployeeSet* set,
                                             QStringList* missing, Error* error) {
    set->Clear();
    clsEmployeeSet all(set->Session());
    // Every employee with a department, photos fetched only when printed.
    if (!all.LoadSet(error))
        return false;
    if (numbers.isEmpty()) {
        *set = std::move(all);
        return true;
    }
    for (const QString& number : numbers) {
        const clsEmployee* found = all.Find(number);
        if (!found) {
            if (missing)
                missing->append(number);
            continue;
        }
        if (set->Contains(number))
            continue;
        auto e = std::make_unique<clsEmployee>(set->Session());
        e->setID(found->ID());
        e->setdid(found->did());
        e->setDNAME(found->DNAME());
        e->setENUMBER(found->ENUMBER());
        e->setEBARCODE(found->EBARCODE());
        e->setENAME(found->ENAME());
        e->setENTERDATE(found->ENTERDATE());
        e->setPhotoDeferred();
        set->Add(std::move(e));
    }
    return true;
}
