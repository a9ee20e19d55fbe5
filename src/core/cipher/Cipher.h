#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace tiradex {

// The play-data cipher: a 64-bit block cipher whose eight substitution tables
// are built from a 32-character key (codes 32..95), used in cipher-block
// chaining with a zero starting vector. A last partial block is handled by
// enciphering the last eight bytes once more, so the length never changes.
// Data shorter than eight bytes are left as they are.
class BlockCipher
{
public:
    using KeyChars = std::array<unsigned char, 32>;
    using Block = std::array<std::uint8_t, 8>;

    // Packs the key and builds the tables.
    explicit BlockCipher(const KeyChars &keyChars);

    void encipherBlock(Block &block) const;
    void decipherBlock(Block &block) const;

    // Transform a whole file image in place (chaining restarts at zero).
    void encipher(QByteArray &data) const;
    void decipher(QByteArray &data) const;

    // The 24 packed key bytes and their effective length (trailing zero bytes
    // dropped) of a key, as the table construction uses them.
    static std::array<std::uint8_t, 24> packKey(const KeyChars &keyChars, int *length);

    std::uint8_t keySum() const { return m_keySum; }
    const std::array<std::uint8_t, 256> &table(int index) const { return m_s[index]; }

private:
    // XORs each byte with a table lookup of `w` (the opening and closing whitening).
    void whiten(Block &x, std::uint8_t w) const;

    std::array<std::array<std::uint8_t, 256>, 8> m_s{}; // S1..S8 at index 0..7
    std::uint8_t m_keySum = 0;
};

} // namespace tiradex
