#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <memory>

class DbSession;
class Error;
class QSqlQuery;

// An employee (table Employee, joined with Dept for the department name),
// read and written on the session it is given. A loaded record keeps its photo bytes and writes
// them to a JPEG file named after the number, in a private temporary folder of this record, the
// first time HeadImg() is read; the file is deleted with the record.
class clsEmployee {
public:
    explicit clsEmployee(DbSession& session);
    ~clsEmployee();
    clsEmployee(const clsEmployee&) = delete;
    clsEmployee& operator=(const clsEmployee&) = delete;

    qint32 ID() const { return m_id; }
    void setID(qint32 v) { m_id = v; }
    qint16 did() const { return m_did; }
    void setdid(qint16 v) { m_did = v; }
    QString DNAME() const { return m_dname; }
    void setDNAME(const QString& v) { m_dname = v; }
    QString ENUMBER() const { return m_enumber; }
    void setENUMBER(const QString& v) { m_enumber = v; }
    QString EBARCODE() const { return m_ebarcode; }
    void setEBARCODE(const QString& v) { m_ebarcode = v.trimmed().toUpper(); }
    QString ENAME() const { return m_ename; }
    void setENAME(const QString& v) { m_ename = v.trimmed(); }
    QDateTime ENTERDATE() const { return m_enterDate; }
    void setENTERDATE(const QDateTime& v) { m_enterDate = v; }

    // Path of the photo file of this record. For a loaded record the file is
    // written on first read; empty when the record has no photo.
    QString HeadImg() const;
    // A caller-provided photo file (new employee); the record deletes it when destroyed.
    void setHeadImg(const QString& path);
    // The photo bytes of a loaded record (fetched on demand), or the content
    // of the file set with setHeadImg.
    QByteArray HeadImgBytes() const;

    // What a look-up found. The numbers are the ones the station's journal
    // and the greeting have always used.
    enum class Lookup : qint16 { Failed = -1, NotFound = 0, Found = 1 };
    Lookup LoadByENUMBER(); // NotFound for an empty number too
    Lookup IsExist();       // by EBARCODE; NotFound for an empty barcode too
    // A row of the look-up's columns (as IsExist's statement gives them, in
    // order) read into this record as IsExist reads its row.
    Lookup ReadLookupRow(const QSqlQuery& row);
    // Stores the employee (Store without the new-number rule).
    bool Add();
    // Stores the employee: a row of the same number (without regard to case)
    // is changed in place, else a row is added. One transaction holds the
    // number and the department's key and checks that the department exists
    // and, with `numberMustBeNew`, that no employee has the number yet.
    enum class StoreResult { Stored, NumberTaken, NoDepartment, Refused, Failed };
    StoreResult Store(bool numberMustBeNew, Error* error = nullptr);
    bool UpdateEBarCode();
    bool savetoXML(const QString& filePath);
    bool Remove(const QString& eid);
    bool RemoveMe();

    // The stored values of one employee row, as bound to the statement; a
    // null QVariant stores NULL.
    struct Row {
        QVariant ENUMBER, EBARCODE, ENAME, DID, HEADIMG, ENTERDATE;
    };
    // Writes one employee row keyed by number in a transaction of its own
    // on `session` (a savepoint inside the caller's, which then commits it):
    // the first row with the number is changed in place, else a row is
    // added. Holds the number and the department's key until the outermost
    // transaction ends. Checks nothing of the department (an import may
    // bring employees before their departments).
    static bool StoreRow(DbSession& session, const Row& row, Error* error = nullptr);

    // A random 15-digit barcode (not checked against the database).
    static QString GenerateBarcode();

    // For set loads: photo fetched from the database by ID when first needed.
    void setPhotoDeferred();

private:
    Lookup loadBy(const char* column, const QString& key, bool setNumber);
    Lookup readRow(const QSqlQuery& row, bool setNumber);
    void deletePhotoFile();
    // The photo bytes to store: a loaded record's own, else the file's.
    bool photoForStore(QByteArray* photo) const;
    bool hasPhoto() const;

    DbSession* m_session;
    qint32 m_id = 0;
    qint16 m_did = 0;
    QString m_dname, m_enumber, m_ebarcode, m_ename;
    QDateTime m_enterDate;

    // Photo: either a caller's file, or bytes of a loaded record.
    mutable QString m_headImg;
    mutable QByteArray m_photo;
    mutable bool m_photoLoaded = false;   // m_photo holds the database bytes
    mutable bool m_photoDeferred = false; // fetch by ID on first use
    mutable bool m_ownsFolder = false;    // m_headImg lies in a folder of this record
};
