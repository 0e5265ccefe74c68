#include "shared/base/AtomicFile.h"
#include "shared/rowset/RowSetXml.h"
#include "tests/common/FileSizeLimit.h"
#include "tests/common/TestProgramDir.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using Type = RowSetColumn::Type;

namespace {

const QByteArray kHead = "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"
                         "\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\r\n"
                         "\txmlns:rs='urn:schemas-microsoft-com:rowset'\r\n"
                         "\txmlns:z='#RowsetSchema'>\r\n";

RowSetColumn column(const QString& name, Type type, int maxLength = 255) {
    RowSetColumn c;
    c.name = name;
    c.type = type;
    c.maxLength = maxLength;
    return c;
}

RowSetRow row(const QVariantList& values, bool pendingInsert = false) {
    RowSetRow r;
    r.values = QVector<QVariant>(values.begin(), values.end());
    r.pendingInsert = pendingInsert;
    return r;
}

QDateTime at(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

// Parses `bytes`; a failure is printed.
bool parses(const QByteArray& bytes, RowSet* rs) {
    Error error;
    if (RowSetXml::Parse(bytes, rs, &error))
        return true;
    qWarning("%s", qPrintable(error.Text()));
    return false;
}

// Saves run through the unnamed file and through the hidden named file of
// file systems without unnamed files.
void writerRows() {
    QTest::addColumn<bool>("named");
    QTest::newRow("unnamed file") << false;
    QTest::newRow("named file") << true;
}

int failingSync(int) {
    errno = EIO;
    return -1;
}

QByteArray readSample(const char* name) {
    return readFile(QStringLiteral(ATTENDANCE_SAMPLES_DIR "/") + QLatin1String(name));
}

// `n` bytes from `start` in steps of 19, as the binary sample holds them.
QByteArray ramp(int start, int n = 96) {
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char((start + 19 * i) & 0xff));
    return b;
}

// A file with a schema of the given attribute types and a data part.
QByteArray document(const QByteArray& attributeTypes, const QByteArray& data) {
    return kHead + "<s:Schema id='RowsetSchema'><s:ElementType name='row' content='eltOnly'>" +
           attributeTypes + "<s:extends type='rs:rowbase'/></s:ElementType></s:Schema>" + data +
           "</xml>";
}

QByteArray typed(const char* name, const char* dtType) {
    return QByteArray("<s:AttributeType name='") + name + "'><s:datatype dt:type='" + dtType +
           "'/></s:AttributeType>";
}

// One column of the given type holding `value`.
bool parseValue(const char* dtType, const QByteArray& value, QVariant* out,
                Error* error = nullptr) {
    RowSet rs;
    if (!RowSetXml::Parse(
            document(typed("V", dtType), "<rs:data><z:row V='" + value + "'/></rs:data>"), &rs,
            error))
        return false;
    if (rs.rows.size() != 1 || rs.columns.size() != 1)
        return false;
    *out = rs.rows[0].values[0];
    return true;
}

// A row set with one column of every type and a row of awkward values.
RowSet everyType() {
    RowSet rs;
    RowSetColumn id = column("ID", Type::Int);
    id.autoIncrement = id.keyColumn = true;
    id.nullable = false;
    RowSetColumn photo = column("HEADIMG", Type::Binary);
    photo.isLong = true;
    RowSetColumn memo = column("MEMO", Type::String);
    memo.isLong = true;
    rs.columns = {id,
                  column("ENAME", Type::String, 20),
                  column("DID", Type::I2),
                  photo,
                  column("ENTERDATE", Type::DateTime),
                  column("OK", Type::Boolean),
                  column("RATE", Type::Double),
                  memo};
    QByteArray bytes("\x00\xff\xd8", 3);
    for (int b = 0x80; b <= 0x9f; ++b)
        bytes.append(char(b));
    bytes.append('\xff').append('\x00');
    const QString text = QStringLiteral("it's \"A&B\" <tag>\tx\r\ny\n张三 ");
    rs.rows = {row({2147483647, text, -32768, bytes, at("1899-12-30T00:00:00"), true, 0.1,
                    QStringLiteral("多行\r\n文本")}),
               row({-2147483647 - 1, QStringLiteral(""), 32767, QVariant(),
                    at("2038-01-19T03:14:07"), false, -1e300, QVariant()}),
               row({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                    QVariant(), QStringLiteral("")},
                   true)};
    return rs;
}

} // namespace

class TestRowSetXml : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { AtomicFile::SetTestSeams(false, nullptr); }
    // --- the real sample files --------------------------------------------

    void sampleDateStates() {
        RowSet rs;
        QVERIFY(parses(readSample("tablegram_exhaustive_flat_Date_states.xml"), &rs));
        QVERIFY(rs.updatable);
        QCOMPARE(rs.columns.size(), 2);
        QVERIFY(rs.columns[0].type == Type::Int && !rs.columns[0].nullable);
        QVERIFY(rs.columns[1].type == Type::DateTime && rs.columns[1].nullable);
        // The update is merged (ID from the original), the insert shows, the delete does not.
        QCOMPARE(rs.rows.size(), 3);
        QCOMPARE(rs.rows[0].values, (QVector<QVariant>{1, at("2026-06-12T14:30:15")}));
        QCOMPARE(rs.rows[1].values, (QVector<QVariant>{3, at("2000-01-01T00:00:01")}));
        QCOMPARE(rs.rows[2].values, (QVector<QVariant>{4, at("2038-01-19T03:14:07")}));
        QVERIFY(!rs.rows[0].pendingInsert && !rs.rows[1].pendingInsert && rs.rows[2].pendingInsert);
        QCOMPARE(rs.value(2, "value_field").toDateTime().timeSpec(), Qt::LocalTime);
    }

    void sampleBinaries() {
        RowSet rs;
        QVERIFY(parses(readSample("tablegram_exhaustive_flat_LongVarBinary_states.xml"), &rs));
        QCOMPARE(rs.columns[1].type, Type::Binary);
        QVERIFY(rs.columns[1].isLong);
        QCOMPARE(rs.columns[1].maxLength, 4000);
        QCOMPARE(rs.rows.size(), 3);
        QCOMPARE(rs.rows[0].values, (QVector<QVariant>{1, ramp(0x6f)}));
        QCOMPARE(rs.rows[1].values, (QVector<QVariant>{3, ramp(0x4a)}));
        QCOMPARE(rs.rows[2].values, (QVector<QVariant>{4, ramp(0x94)}));
        QVERIFY(rs.rows[2].pendingInsert);

        // Short and long binary columns in a file with a single pending insert.
        QVERIFY(parses(readSample("tablegram_generated_binary.xml"), &rs));
        QVERIFY(!rs.columns[1].isLong && rs.columns[1].maxLength == 4 && rs.columns[2].isLong);
        QVERIFY(rs.rows.size() == 1 && rs.rows[0].pendingInsert);
        QCOMPARE(rs.rows[0].values, (QVector<QVariant>{1, QByteArray::fromHex("000102ff"),
                                                       QByteArray::fromHex("deadbeef00102030")}));
    }

    void sampleNameMapping() {
        RowSet rs;
        QVERIFY(parses(readSample("tablegram_fuzz_name_mapping.xml"), &rs));
        QCOMPARE(rs.columns.size(), 5);
        const QStringList names{"ID", "Field Space Text", "1LeadingInteger", "Name-With-Dash",
                                "한글 필드"};
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(rs.columns[c].realName(), names[c]);
            QCOMPARE(rs.columnIndex(names[c]), c);
        }
        QCOMPARE(rs.columns[2].name, QStringLiteral("c2"));
        QCOMPARE(rs.columns[2].type, Type::Int);
        QCOMPARE(rs.columns[3].type, Type::String); // rs:dbtype='str' is still text
        QCOMPARE(rs.rows.size(), 3);
        QCOMPARE(rs.rows[0].values,
                 (QVector<QVariant>{1, "alpha-updated", 11, "dash-one-updated", "한글_4_값"}));
        QCOMPARE(rs.value(1, "1leadinginteger"), QVariant(30));
        QCOMPARE(rs.value(1, "c2"), QVariant(30)); // the alias works too
        QCOMPARE(rs.value(1, "nope"), QVariant());
        QCOMPARE(rs.value(3, "ID"), QVariant());
    }

    // --- writer ------------------------------------------------------------

    void writesTheExactBytes() {
        RowSet rs;
        rs.columns = everyType().columns;
        rs.columns.removeLast(); // MEMO
        rs.columns[0].baseTable = QStringLiteral("Employee");
        rs.columns[0].baseColumn = QStringLiteral("ID");
        rs.rows = {
            row({7, QStringLiteral("张三"), 3, QByteArray("\x00\xAB", 2), at("2026-06-12T08:00:00"),
                 true, 1.5}),
            row({QVariant(), QStringLiteral("'&<>\"\t\r\n"), QVariant(), QVariant(), QVariant(),
                 false, QVariant()},
                true),
            row({QVariant(), QStringLiteral(""), QVariant(), QByteArray(), QVariant(), QVariant(),
                 QVariant()},
                true),
            row({8, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()})};
        // The specials and TAB/CR/LF as character references, an empty text as
        // '', a null and a zero-length binary as absent attributes.
        QCOMPARE(RowSetXml::Serialize(rs), readSample("rowset_written.xml"));
    }

    void aliasesUnusableNames() {
        RowSet rs;
        rs.columns = {column("ID", Type::Int),
                      column("Field Space", Type::String),
                      column("id", Type::Int), // duplicate, ignoring case
                      column("Name-With-Dash", Type::String),
                      column("xmlns", Type::String),
                      column("C1", Type::String), // would clash with alias c1
                      column("名字", Type::String),
                      column("_ok9", Type::String)};
        rs.rows = {row({1, QStringLiteral("a"), 2, QStringLiteral("b"), QStringLiteral("c"),
                        QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f")})};
        const QByteArray bytes = RowSetXml::Serialize(rs);
        // The real name goes to rs:name (checked by the read-back below).
        QVERIFY(bytes.contains("<s:AttributeType name='c1' rs:name='Field Space' rs:number='2' "));
        QVERIFY(bytes.contains("<z:row ID='1' c1='a' c2='2' c3='b' c4='c' c5='d' c6='e' "
                               "_ok9='f'/>"));
        RowSet back;
        QVERIFY(parses(bytes, &back));
        for (int c = 0; c < rs.columns.size(); ++c)
            QCOMPARE(back.columns[c].realName(), rs.columns[c].realName());
        QCOMPARE(back.rows[0].values, rs.rows[0].values);
        QCOMPARE(back.value(0, "Name-With-Dash"), QVariant("b"));
    }

    void serializeStaysWellFormedWhereSaveRefuses() {
        RowSet rs;
        rs.columns = {column("T", Type::String)};
        rs.rows = {row({QStringLiteral("a\x01"
                                       "b")})};
        RowSet back;
        QVERIFY(RowSetXml::Parse(RowSetXml::Serialize(rs), &back));
        QCOMPARE(back.rows[0].values[0], QVariant("a\uFFFDb"));

        QTemporaryDir dir;
        const QString path = dir.filePath("c.xml");
        Error error;
        QVERIFY(!RowSetXml::Save(rs, path, &error));
        QVERIFY(error.Text().contains("U+0001"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());

        // Values that do not fit their column are refused as well.
        const QVector<std::pair<Type, QVariant>> unfit{{Type::I2, 40000},
                                                       {Type::Int, 1LL << 40},
                                                       {Type::Int, QStringLiteral("x")},
                                                       {Type::DateTime, QDateTime()},
                                                       {Type::Double, qQNaN()},
                                                       {Type::String, QString(QChar(0xD800))}};
        for (const auto& [type, value] : unfit) {
            RowSet bad;
            bad.columns = {column("V", type)};
            bad.rows = {row({value})};
            QVERIFY(!RowSetXml::Save(bad, path, &error));
            QVERIFY(!QFile::exists(path));
            QVERIFY(RowSetXml::Parse(RowSetXml::Serialize(bad), &back));
        }
    }

    // --- round trips ---------------------------------------------------------

    void roundTripsEveryType() {
        const RowSet rs = everyType();
        RowSet back;
        QVERIFY(parses(RowSetXml::Serialize(rs), &back));
        // Writing what was read gives the same bytes: every column attribute
        // and every value came back.
        QCOMPARE(RowSetXml::Serialize(back), RowSetXml::Serialize(rs));
        QVERIFY(back.updatable);
        QCOMPARE(back.rows.size(), 3);
        for (int r = 0; r < 3; ++r) // a null stays apart from ""
            QCOMPARE(back.rows[r].values, rs.rows[r].values);
        // A set without rows reads back read-only, its column kept.
        RowSet empty;
        empty.columns = {column("DNAME", Type::String, 50)};
        const QByteArray bytes = RowSetXml::Serialize(empty);
        QVERIFY(bytes.endsWith("<rs:data>\r\n</rs:data>\r\n</xml>"));
        QVERIFY(parses(bytes, &back));
        QVERIFY(!back.updatable && back.columns.size() == 1 && back.rows.isEmpty());
    }

    // --- reader checklist ------------------------------------------------------

    void readsValuesStrictly() {
        // i4 and int mean the same; hex in either case, wrapped or empty;
        // unknown types keep their text.
        const QList<std::tuple<const char*, QByteArray, QVariant>> good{
            {"i4", "-12", -12},
            {"boolean", "true", true},
            {"float", "2.5E+3", 2500.0},
            {"string", "&#x27;&apos;&amp;", QStringLiteral("''&")},
            {"uuid", "{x}", QStringLiteral("{x}")},
            {"bin.hex", "00ABcdEF", QByteArray("\x00\xab\xcd\xef", 4)},
            {"bin.hex", "00&#xD;&#xA;\t\t ab\r\n\tcd", QByteArray("\x00\xab\xcd", 3)},
            {"bin.hex", "", QByteArray("")}};
        QVariant v;
        for (const auto& [type, text, want] : good) {
            QVERIFY2(parseValue(type, text, &v), text.constData());
            QCOMPARE(v, want);
        }
        // Each as "type value", separated by ';'.
        const QByteArrayList bad =
            QByteArray(
                "int abc;int 2147483648;int 1.5;i2 32768;i2 -32769;dateTime 2026-13-01T00:00:00;"
                "dateTime 2026-02-30T00:00:00;dateTime 2026-01-01;dateTime 2026-01-01 10:00:00;"
                "dateTime 2026-01-01T24:00:00;dateTime 2026-01-01T10:00:00Z;boolean yes;float nan;"
                "float x;bin.hex abc;bin.hex 0g;bin.hex 0x12")
                .split(';');
        for (const QByteArray& b : bad) {
            const qsizetype space = b.indexOf(' ');
            Error error;
            QVERIFY2(!parseValue(b.left(space).constData(), b.mid(space + 1), &v, &error), b);
            QVERIFY(error.Text().startsWith("Not a row-set file"));
        }
    }

    void mergesPendingChanges() {
        const QByteArray schema = typed("ID", "int") + typed("T", "string") + typed("N", "i2");
        const QByteArray data =
            "<rs:data>"
            "<rs:update><z:row T='new' rs:forcenull='N'/>"
            "<rs:original><z:row ID='1' T='old' N='5'/></rs:original></rs:update>"
            "<rs:delete><z:row ID='2' T='gone'/></rs:delete>"
            "<rs:insert><z:row ID='3' T=''/><z:row ID='4'/></rs:insert>"
            "<rs:insert><z:row ID='5' rs:forcenull='T&#x9;N '/></rs:insert>"
            "<rs:update><rs:original><z:row ID='6' T='same'/></rs:original></rs:update>"
            "</rs:data>";
        RowSet rs;
        QVERIFY(parses(document(schema, data), &rs));
        QCOMPARE(rs.rows.size(), 5);
        QCOMPARE(rs.rows[0].values, (QVector<QVariant>{1, "new", QVariant()}));
        QCOMPARE(rs.rows[1].values, (QVector<QVariant>{3, "", QVariant()}));
        QVERIFY(rs.rows[1].pendingInsert);
        QCOMPARE(rs.rows[2].values, (QVector<QVariant>{4, QVariant(), QVariant()}));
        QCOMPARE(rs.rows[3].values, (QVector<QVariant>{5, QVariant(), QVariant()}));
        QCOMPARE(rs.rows[4].values, (QVector<QVariant>{6, "same", QVariant()}));
        QVERIFY(!rs.rows[4].pendingInsert);
    }

    void readsMinimalAndLooseSchemas() {
        // Names only: untyped columns read as strings; ordering by rs:number;
        // unknown schema attributes and elements are ignored; dt:type may
        // stand on the AttributeType itself.
        const QByteArray schema =
            "<s:AttributeType name='B' rs:number='2' rs:whatever='x' dt:type='int'/>"
            "<s:AttributeType name='A' rs:number='1'><s:other/></s:AttributeType>";
        RowSet rs;
        QVERIFY(parses(document(schema, "<rs:data/>"), &rs));
        QVERIFY(rs.rows.isEmpty() && rs.columns[0].name == QLatin1String("A"));
        QVERIFY(rs.columns[0].type == Type::String && rs.columns[1].type == Type::Int);
        QVERIFY(parses(document(schema, "<rs:data><z:row B='2' A='x'/></rs:data>"), &rs));
        QCOMPARE(rs.rows[0].values, (QVector<QVariant>{"x", 2}));
    }

    void sniffsTheByteOrderMark() {
        const QByteArray utf8 = readSample("tablegram_fuzz_name_mapping.xml");
        QStringEncoder le(QStringConverter::Utf16LE);
        QStringEncoder be(QStringConverter::Utf16BE);
        const QString text = QString::fromUtf8(utf8);
        const QVector<QByteArray> variants{QByteArray("\xff\xfe") + QByteArray(le(text)),
                                           QByteArray("\xfe\xff") + QByteArray(be(text)),
                                           QByteArray("\xef\xbb\xbf") + utf8};
        for (const QByteArray& bytes : variants) {
            RowSet rs;
            QVERIFY(parses(bytes, &rs));
            QCOMPARE(rs.value(0, "한글 필드"), QVariant("한글_4_값"));
        }
    }

    // --- bad files ---------------------------------------------------------------

    void refusesWhatIsNotARowSet_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray col = typed("ID", "int");
        const auto add = [](const char* name, const QByteArray& bytes, const char* reason) {
            QTest::newRow(name) << bytes << QString::fromUtf8(reason);
        };
        // A file with the ID column and `data` inside its data part.
        const auto rows = [&](const QByteArray& data, const QByteArray& cols = {}) {
            return document(cols.isEmpty() ? col : cols, "<rs:data>" + data + "</rs:data>");
        };
        const QByteArray text = typed("T", "string");
        add("empty", QByteArray(), "Premature end");
        add("text", "ID,NAME\r\n1,x\r\n", "Start tag expected");
        add("binary", QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10),
            "(line 1): the byte 0xff is not valid UTF-8");
        add("other root", "<html><body/></html>", "not <xml>");
        add("no schema", kHead + "<rs:data><z:row ID='1'/></rs:data></xml>", "before the schema");
        add("no data", document(col, ""), "no data part");
        add("no row type",
            kHead + "<s:Schema id='RowsetSchema'/><rs:data><z:row ID='1'/></rs:data></xml>",
            "describes no row");
        add("no schema id",
            kHead + "<s:Schema><s:ElementType name='row'/></s:Schema><rs:data/></xml>", "no id");
        add("unknown attribute", rows("<z:row ID='1' X='2'/>"), "attribute X");
        add("foreign attribute", rows("<z:row ID='1' dt:type='2'/>"), "attribute dt:type");
        add("forcenull unknown", rows("<z:row rs:forcenull='X'/>"), "forcenull names X");
        add("wrong type", rows("<z:row ID='one'/>"), "not a 32-bit integer");
        add("bad hex", rows("<z:row B='0'/>", typed("B", "bin.hex")), "odd number");
        add("bad date", rows("<z:row D='yesterday'/>", typed("D", "dateTime")), "not a date");
        add("wrong row namespace", rows("<rs:row ID='1'/>"), "unexpected element <rs:row>");
        add("element in row", rows("<z:row ID='1'><z:row/></z:row>"), "holds the element");
        add("text in a row", rows("<z:row>1</z:row>"), "unexpected text");
        add("duplicate column", rows("", col + col), "appears twice");
        add("bad number", rows("", "<s:AttributeType name='A' rs:number='x'/>"), "has the number");
        add("number gap",
            rows("", "<s:AttributeType name='A' rs:number='1'/>"
                     "<s:AttributeType name='B' rs:number='3'/>"),
            "not 1 to 2");
        add("unnamed column", rows("", "<s:AttributeType rs:number='1'/>"), "no name");
        add("empty update", rows("<rs:update/>"), "empty <rs:update>");
        add("two changed rows", rows("<rs:update><z:row ID='1'/><z:row ID='2'/></rs:update>"),
            "in <rs:update>");
        add("two data parts", document(col, "<rs:data/><rs:data/>"), "second data part");
        add("undeclared entity", rows("<z:row T='&lol;'/>", text), "not declared");
        // Bad bytes are placed on their own line, also deep in a file.
        add("bad utf-8", rows("<z:row T='\xc3\x28'/>", text),
            "(line 5): the byte 0xc3 is not valid UTF-8");
        add("bad utf-8 far down",
            rows("\r\n<z:row T='\xc3\xa9'/>\r\n<z:row T='\xed\xa0\x80'/>", text),
            "(line 7): the byte 0xed");
        add("two types",
            rows("", "<s:AttributeType name='P'><s:datatype dt:type='bin.hex'/>"
                     "<s:datatype dt:type='string'/></s:AttributeType>"),
            "column P is declared both bin.hex and string");
        add("trailing content", rows("") + "<xml/>", "Extra content");
        // Any DTD is refused, so no entity can expand (a billion laughs).
        add("entity bomb",
            "<!DOCTYPE xml [<!ENTITY a 'aaaa'><!ENTITY b '&a;&a;&a;&a;'>]>" +
                rows("<z:row T='&b;'/>", text),
            "document type declarations");
    }

    void refusesWhatIsNotARowSet() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        RowSet rs;
        rs.columns = {column("KEEP", Type::Int)};
        Error error;
        QVERIFY(!RowSetXml::Parse(bytes, &rs, &error));
        QVERIFY2(error.Text().contains(reason), qPrintable(error.Text()));
        QCOMPARE(rs.columns.size(), 1); // the output is left alone on failure
    }

    void refusesEveryTruncation() {
        const QVector<QByteArray> samples{
            readSample("tablegram_exhaustive_flat_LongVarBinary_states.xml"),
            readSample("tablegram_fuzz_name_mapping.xml"), RowSetXml::Serialize(everyType())};
        for (const QByteArray& sample : samples) {
            RowSet rs;
            QVERIFY(RowSetXml::Parse(sample, &rs));
            for (qsizetype n = 0; n < sample.size() - 1; n += 7) {
                Error error;
                QVERIFY2(!RowSetXml::Parse(sample.left(n), &rs, &error),
                         qPrintable(QString::number(n)));
                QVERIFY(!error.Text().isEmpty());
            }
        }
    }

    void loadRefusesOversizedAndMissingFiles() {
        QTemporaryDir dir;
        RowSet rs;
        Error error;
        QVERIFY(!RowSetXml::Load(dir.filePath("none.xml"), &rs, &error));
        QVERIFY(error.Text().contains("does not exist"));
        QVERIFY(!RowSetXml::Load(dir.path(), &rs, &error));
        // A sparse file just over the limit is refused by its size, unread.
        const QString big = dir.filePath("big.xml");
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write(kHead) > 0);
        QVERIFY(f.resize(RowSetXml::MaxFileSize + 1));
        f.close();
        QVERIFY(!RowSetXml::Load(big, &rs, &error));
        QVERIFY(error.Text().contains("larger than"));
    }

    // --- saving --------------------------------------------------------------------

    void saveWritesNewFilesOnly_data() { writerRows(); }
    void saveWritesNewFilesOnly() {
        QFETCH(bool, named);
        AtomicFile::SetTestSeams(named, nullptr);
        QTemporaryDir dir;
        const QString path = dir.filePath("员工信息_2026-12-06.xml");
        const RowSet rs = everyType();
        Error error;
        QVERIFY2(RowSetXml::Save(rs, path, &error), qPrintable(error.Text()));
        const QByteArray written = readFile(path);
        QCOMPARE(written, RowSetXml::Serialize(rs));

        // A second save onto the same path fails and leaves the file as it was.
        RowSet other;
        other.columns = {column("X", Type::Int)};
        QVERIFY(!RowSetXml::Save(other, path, &error));
        QVERIFY(error.Text().contains("already exists"));
        QCOMPARE(readFile(path), written);

        // So does a save onto a dangling symbolic link; nothing is created behind it.
        const QString link = dir.filePath("link.xml");
        const QString behind = dir.filePath("behind.xml");
        QVERIFY(::symlink(QFile::encodeName(behind).constData(),
                          QFile::encodeName(link).constData()) == 0);
        QVERIFY(!RowSetXml::Save(other, link, &error));
        QVERIFY(!QFile::exists(behind));

        // No temporary file is left behind by either failure.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 (QStringList{"link.xml", "员工信息_2026-12-06.xml"}));

        // A missing folder is an error, not a crash.
        QVERIFY(!RowSetXml::Save(rs, dir.filePath("no/such.xml"), &error));
        QVERIFY(!error.Text().isEmpty());
        QVERIFY(!RowSetXml::Save(rs, QString(), &error));
    }

    void killedSaveLeavesNothingBehind() {
        // A child killed in the middle of writing (by the file-size limit,
        // as abruptly as kill -9): neither a new nor a replaced export leaves
        // a partial or temporary file.
        QTemporaryDir dir;
        const QString path = dir.filePath("e.xml");
        const QString old = dir.filePath("old.xml");
        RowSet big = everyType();
        big.rows = QVector<RowSetRow>(2000, big.rows[0]);
        QVERIFY(RowSetXml::Save(everyType(), old));
        const QByteArray oldBytes = RowSetXml::Serialize(everyType());
        for (bool replace : {false, true}) {
            QVERIFY(FileSizeLimit::Fork(64 * 1024, FileSizeLimit::Outcome::Killed, [&] {
                return replace ? RowSetXml::SaveReplacing(big, old) : RowSetXml::Save(big, path);
            }));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                     QStringList{"old.xml"});
            QCOMPARE(readFile(old), oldBytes);
        }
    }

    void saveReplacingSwapsTheFile_data() { writerRows(); }
    void saveReplacingSwapsTheFile() {
        QFETCH(bool, named);
        AtomicFile::SetTestSeams(named, nullptr);
        QTemporaryDir dir;
        const QString path = dir.filePath("部门信息.xml");
        RowSet first;
        first.columns = {column("ID", Type::Int)};
        first.rows = {row({1})};
        Error error;
        QVERIFY2(RowSetXml::SaveReplacing(first, path, &error), qPrintable(error.Text()));
        RowSet second = first;
        second.rows = {row({2}), row({3})};
        QVERIFY2(RowSetXml::SaveReplacing(second, path, &error), qPrintable(error.Text()));
        RowSet back;
        QVERIFY(RowSetXml::Load(path, &back, &error));
        QCOMPARE(back.rows.size(), 2);
        QCOMPARE(back.value(1, "ID"), QVariant(3));

        // A refused row set leaves the old file in place.
        RowSet bad = first;
        bad.rows = {row({QStringLiteral("x")})};
        QVERIFY(!RowSetXml::SaveReplacing(bad, path, &error));
        // So does a flush to the disk that fails, which creates no new file either.
        AtomicFile::SetTestSeams(named, failingSync);
        QVERIFY(!RowSetXml::SaveReplacing(first, path, &error));
        QVERIFY2(error.Text().contains(QString::fromLocal8Bit(std::strerror(EIO))),
                 qPrintable(error.Text()));
        QVERIFY(!RowSetXml::Save(first, dir.filePath("new.xml")));
        QVERIFY(RowSetXml::Load(path, &back, &error));
        QCOMPARE(back.rows.size(), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRowSetXml)
#include "tst_rowsetxml.moc"
