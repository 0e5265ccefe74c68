#pragma once

#include <stdexcept>

// Error raised by cJpeg: error number 1 and one of the encoder's messages
// ("Invalid Sampling Value", "Illegal Comment Length", "Bad Quantization
// Table", "Illegal precision in Quantization Table", "Bad Huffman Table").
// The encoder's state is unchanged by the call that raised it.
class cJpegError : public std::runtime_error {
public:
    explicit cJpegError(const char* message) : std::runtime_error(message) {}
    int Number() const { return 1; }
};
