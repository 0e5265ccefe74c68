#include "imaging/JpegSymbolStore.h"

#include <algorithm>

JpegSymbolStore::JpegSymbolStore(size_t pieceBytes, int piecesInMemory)
    : m_pieceBytes(std::max<size_t>(pieceBytes, 3)), m_piecesInMemory(piecesInMemory),
      m_tailBytes(std::min<size_t>(m_pieceBytes, 4096)),
      m_tail(std::make_unique_for_overwrite<uchar[]>(m_tailBytes)) {}

void JpegSymbolStore::newPiece() {
    if (m_tailBytes < m_pieceBytes) {
        m_tailBytes = std::min(2 * m_tailBytes, m_pieceBytes);
        auto grown = std::make_unique_for_overwrite<uchar[]>(m_tailBytes);
        std::copy_n(m_tail.get(), m_used, grown.get());
        m_tail = std::move(grown);
        return;
    }
    if (int(m_pieces.size()) < m_piecesInMemory) {
        m_pieces.push_back({std::move(m_tail), m_used});
        m_tail = std::make_unique_for_overwrite<uchar[]>(m_pieceBytes);
    } else {
        if (!m_file)
            m_file = std::make_unique<ScratchFile>();
        m_file->Append(m_tail.get(), qint64(m_used));
        m_pieces.push_back({nullptr, m_used});
    }
    m_used = 0;
}

JpegSymbolStore::Reader::Reader(const JpegSymbolStore& store) : m_store(store) {}

void JpegSymbolStore::Reader::refill() {
    static const uchar kNone[3] = {}; // past the end: end-of-block symbols
    for (;;) {
        if (m_piece > m_store.m_pieces.size()) {
            m_at = kNone;
            m_end = kNone + 1;
            return;
        }
        const size_t piece = m_piece++;
        if (piece == m_store.m_pieces.size()) {
            m_at = m_store.m_tail.get();
            m_end = m_at + m_store.m_used;
        } else if (const Piece& p = m_store.m_pieces[piece]; p.bytes) {
            m_at = p.bytes.get();
            m_end = m_at + p.size;
        } else {
            if (!m_buffer)
                m_buffer = std::make_unique_for_overwrite<uchar[]>(m_store.m_pieceBytes);
            m_ok = m_ok && m_store.m_file->ReadAt(m_fileOffset, m_buffer.get(), qint64(p.size));
            m_fileOffset += qint64(p.size);
            m_at = m_buffer.get();
            m_end = m_at + p.size;
        }
        if (m_at != m_end)
            return;
    }
}
