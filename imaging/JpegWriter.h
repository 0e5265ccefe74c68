#pragma once

#include "imaging/JpegHuffman.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <utility>
#include <vector>

class QIODevice;

// The JPEG file as it is written: markers and segments (ITU T.81 Annex B)
// and the entropy coder's bit writer (most significant bit first, a 0x00
// stuffed behind every 0xFF). The bytes go to a device a piece at a time, or
// gather in memory when there is none.
class JpegWriter {
public:
    explicit JpegWriter(QIODevice* device = nullptr);

    void byte(int b) {
        ensure(1);
        m_data[m_pos++] = char(b);
    }
    void word(int w) {
        byte((w >> 8) & 0xFF);
        byte(w & 0xFF);
    }
    void bytes(const char* data, qsizetype n);

    // Huffman tables DC 0, DC 1, AC 0, AC 1 used by symbol().
    void setTables(const JpegHuffman::HuffTable* const* tables) { m_tables = tables; }
    void symbol(int table, int s, quint32 extra, int nExtra) {
        const JpegHuffman::HuffTable& t = *m_tables[table];
        put((quint32(t.code[size_t(s)]) << nExtra) | extra, t.size[size_t(s)] + nExtra);
    }
    void put(quint32 bits, int len) {
        m_acc = (m_acc << len) | bits;
        m_nbits += len;
        if (m_nbits >= 32)
            flushBits();
    }
    // Ends a scan: fills the last byte with 1-bits.
    void padScan();

    struct FrameComponent {
        int id, h, v, tq;
    };
    void SOI() { word(0xFFD8); }
    void APP0();
    void COM(const char* text, qsizetype size);
    void DQT(int table, const std::array<quint16, 64>& entries);
    void SOF0(int width, int height, const std::vector<FrameComponent>& comps);
    void DHT(int tableClass, int id, const JpegHuffman::HuffTable& h);
    void SOS(const std::vector<std::pair<int, int>>& idAndTable);
    void EOI() { word(0xFFD9); }

    // Hands the rest to the device; false (error() says why) when any write failed.
    bool finish();
    QString error() const { return m_error; }
    // The whole file, when written to memory.
    QByteArray take();

private:
    void ensure(qsizetype n) {
        if (m_pos + n > m_data.size())
            makeRoom(n);
    }
    void makeRoom(qsizetype n);
    void flushBits();

    QIODevice* m_device;
    QString m_error;
    QByteArray m_data;
    qsizetype m_pos = 0;
    quint64 m_acc = 0;
    int m_nbits = 0;
    const JpegHuffman::HuffTable* const* m_tables = nullptr;
};
