#pragma once

#include "imaging/ScratchFile.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

// The entropy coder's symbols of one scan in the order they are coded, kept
// compactly until the Huffman tables are known: one byte for the symbol and
// one or two for its extra bits. Pieces beyond the memory limit go to a
// nameless temporary file, so memory stays bounded for any picture size.
class JpegSymbolStore {
public:
    explicit JpegSymbolStore(size_t pieceBytes = size_t(1) << 20, int piecesInMemory = 16);

    // The symbol s and its nbits (0…16) extra bits.
    void Put(int s, quint32 extra, int nbits) {
        if (m_used + 3 > m_tailBytes)
            newPiece();
        uchar* p = m_tail.get() + m_used;
        p[0] = uchar(s);
        p[1] = uchar(extra);
        p[2] = uchar(extra >> 8);
        m_used += 1 + size_t(nbits > 0) + size_t(nbits > 8);
    }
    // False (Error() names the cause) when a piece could not be stored.
    bool Ok() const { return !m_file || m_file->Error().isEmpty(); }
    QString Error() const { return m_file ? m_file->Error() : QString(); }

    // Reads the symbols back from the first; a store may be read any number of times.
    class Reader {
    public:
        explicit Reader(const JpegSymbolStore& store);
        // The next symbol and its extra bits (nbits of them, as told by the symbol).
        int Symbol() { return next(); }
        quint32 Extra(int nbits) {
            if (nbits == 0)
                return 0;
            const quint32 low = next();
            return nbits > 8 ? low | quint32(next()) << 8 : low;
        }
        // False when the temporary file could not be read back.
        bool Ok() const { return m_ok; }

    private:
        uchar next() {
            if (m_at == m_end)
                refill();
            return *m_at++;
        }
        void refill();

        const JpegSymbolStore& m_store;
        size_t m_piece = 0; // next piece: memory, then file, then the tail
        qint64 m_fileOffset = 0;
        std::unique_ptr<uchar[]> m_buffer;
        const uchar* m_at = nullptr;
        const uchar* m_end = nullptr;
        bool m_ok = true;
    };

private:
    void newPiece();

    size_t m_pieceBytes;
    int m_piecesInMemory;
    struct Piece {
        std::unique_ptr<uchar[]> bytes; // null when the piece is in the file
        size_t size;
    };
    std::vector<Piece> m_pieces;
    std::unique_ptr<ScratchFile> m_file;
    size_t m_tailBytes; // grows up to a piece: small pictures take little
    std::unique_ptr<uchar[]> m_tail;
    size_t m_used = 0;
};
