#include "imaging/JpegWriter.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

// Bytes gathered before they go to the device.
constexpr qsizetype kPiece = qsizetype(1) << 20;

} // namespace

JpegWriter::JpegWriter(QIODevice* device) : m_device(device) {
    m_data.resize(device ? kPiece : 4096);
}

void JpegWriter::bytes(const char* data, qsizetype n) {
    ensure(n);
    std::memcpy(m_data.data() + m_pos, data, size_t(n));
    m_pos += n;
}

void JpegWriter::makeRoom(qsizetype n) {
    if (m_device) {
        // After a failed write the rest is dropped; finish() reports it. A
        // short write (a disk filling up) is tried again for the cause.
        for (qsizetype done = 0; m_error.isEmpty() && done < m_pos;) {
            const qint64 n = m_device->write(m_data.constData() + done, m_pos - done);
            if (n <= 0)
                m_error = m_device->errorString();
            done += std::max<qint64>(n, 0);
        }
        m_pos = 0;
    }
    if (m_pos + n > m_data.size())
        m_data.resize(std::max(m_data.size() * 2, m_pos + n));
}

void JpegWriter::flushBits() {
    ensure(2 * 8);
    char* p = m_data.data();
    while (m_nbits >= 8) {
        const int b = int(m_acc >> (m_nbits - 8)) & 0xFF;
        m_nbits -= 8;
        p[m_pos++] = char(b);
        if (b == 0xFF)
            p[m_pos++] = 0;
    }
}

void JpegWriter::padScan() {
    if (m_nbits % 8)
        put((1u << (8 - m_nbits % 8)) - 1, 8 - m_nbits % 8);
    flushBits();
}

bool JpegWriter::finish() {
    if (m_device) {
        makeRoom(0);
        return m_error.isEmpty();
    }
    return true;
}

QByteArray JpegWriter::take() {
    m_data.truncate(m_pos);
    m_pos = 0;
    return std::move(m_data);
}

// JFIF 1.01, aspect ratio 1:1, no thumbnail.
void JpegWriter::APP0() {
    word(0xFFE0);
    word(16);
    bytes("JFIF\0", 5);
    byte(1);
    byte(1);
    byte(0);
    word(1);
    word(1);
    byte(0);
    byte(0);
}

void JpegWriter::COM(const char* text, qsizetype size) {
    word(0xFFFE);
    word(int(size) + 2);
    bytes(text, size);
}

// 8-bit entries, in the order given (zig-zag).
void JpegWriter::DQT(int table, const std::array<quint16, 64>& entries) {
    word(0xFFDB);
    word(67);
    byte(table);
    for (quint16 q : entries)
        byte(q);
}

// Baseline frame header, 8-bit samples.
void JpegWriter::SOF0(int width, int height, const std::vector<FrameComponent>& comps) {
    word(0xFFC0);
    word(8 + 3 * int(comps.size()));
    byte(8);
    word(height);
    word(width);
    byte(int(comps.size()));
    for (const FrameComponent& c : comps) {
        byte(c.id);
        byte(c.h * 16 + c.v);
        byte(c.tq);
    }
}

// tableClass 0 is DC, 1 is AC.
void JpegWriter::DHT(int tableClass, int id, const JpegHuffman::HuffTable& h) {
    word(0xFFC4);
    word(2 + 1 + 16 + int(h.values.size()));
    byte(tableClass * 0x10 + id);
    for (int l = 1; l <= 16; ++l)
        byte(h.bits[size_t(l)]);
    bytes(reinterpret_cast<const char*>(h.values.data()), qsizetype(h.values.size()));
}

// Scan header of a sequential scan: each component (id) codes with the DC and
// AC tables of the same number; full spectral range, no approximation.
void JpegWriter::SOS(const std::vector<std::pair<int, int>>& idAndTable) {
    word(0xFFDA);
    word(6 + 2 * int(idAndTable.size()));
    byte(int(idAndTable.size()));
    for (const auto& [id, t] : idAndTable) {
        byte(id);
        byte(t * 16 + t);
    }
    byte(0);
    byte(63);
    byte(0);
}
