#include "core/cipher/Cipher.h"

#include <utility>

namespace tiradex {

namespace {
using Table = std::array<std::uint8_t, 256>;

inline std::uint8_t add(unsigned a, unsigned b)
{
    return static_cast<std::uint8_t>((a + b) & 0xFF);
}
inline std::uint8_t sub(unsigned a, unsigned b)
{
    return static_cast<std::uint8_t>((a - b) & 0xFF);
}
} // namespace

std::array<std::uint8_t, 24> BlockCipher::packKey(const KeyChars &keyChars, int *length)
{
    std::array<unsigned, 32> v{};
    for (int i = 0; i < 32; ++i)
        v[i] = static_cast<unsigned>(keyChars[i] - 32) & 0xFF;
    std::array<std::uint8_t, 24> k{};
    for (int g = 0; g < 8; ++g) {
        const unsigned a = v[4 * g], b = v[4 * g + 1], c = v[4 * g + 2], d = v[4 * g + 3];
        k[3 * g] = static_cast<std::uint8_t>(a + 64 * (b & 3));
        k[3 * g + 1] = static_cast<std::uint8_t>(((b >> 2) & 15) + 16 * (c & 15));
        k[3 * g + 2] = static_cast<std::uint8_t>(((c >> 4) & 3) + 4 * d);
    }
    int n = 24;
    while (n > 0 && k[n - 1] == 0)
        --n;
    if (length)
        *length = n;
    return k;
}

BlockCipher::BlockCipher(const KeyChars &keyChars)
{
    int n = 0;
    const std::array<std::uint8_t, 24> k = packKey(keyChars, &n);
    // A key that packs to nothing expands to zeros rather than dividing by zero.
    Table expanded{};
    for (int i = 0; i < 256; ++i)
        expanded[i] = n > 0 ? k[i % n] : 0;
    unsigned sum = 0;
    for (int i = 0; i < 16; ++i)
        sum += k[i];
    m_keySum = static_cast<std::uint8_t>(sum & 0xFF);

    for (Table &table : m_s) {
        for (int i = 0; i < 256; ++i)
            table[i] = static_cast<std::uint8_t>(i);
    }
    // One running index is carried through every pass.
    unsigned j = 0;
    Table &s1 = m_s[0];
    for (int i = 0; i < 256; ++i) {
        j = add(j, s1[i] + expanded[i]);
        std::swap(s1[i], s1[j]);
    }
    for (int i = 0; i < 256; ++i) {
        j = add(j, s1[i]);
        std::swap(s1[i], s1[j]);
    }
    for (int m = 1; m < 8; ++m) {
        const Table &p = m_s[m - 1];
        Table &s = m_s[m];
        for (int i = 0; i < 256; ++i) {
            j = add(j, p[s[i]] + p[expanded[i]]);
            std::swap(s[i], s[j]);
        }
    }
}

void BlockCipher::whiten(Block &x, std::uint8_t w) const
{
    const Table &s1 = m_s[0], &s2 = m_s[1], &s3 = m_s[2], &s4 = m_s[3];
    const Table &s5 = m_s[4], &s6 = m_s[5], &s7 = m_s[6], &s8 = m_s[7];
    x[0] ^= s5[s1[w]];
    x[1] ^= s6[s2[w]];
    x[2] ^= s7[s3[w]];
    x[3] ^= s8[s4[w]];
    x[4] ^= s1[s5[w]];
    x[5] ^= s2[s6[w]];
    x[6] ^= s3[s7[w]];
    x[7] ^= s4[s8[w]];
}

void BlockCipher::encipherBlock(Block &x) const
{
    const Table &s1 = m_s[0], &s2 = m_s[1], &s3 = m_s[2], &s4 = m_s[3];
    const Table &s5 = m_s[4], &s6 = m_s[5], &s7 = m_s[6], &s8 = m_s[7];
    whiten(x, m_keySum);
    for (int round = 0; round < 8; ++round) {
        const std::uint8_t a = s1[x[0]], b = s2[x[1]], c = s3[x[2]], d = s4[x[3]];
        x[4] = add(a, x[4] ^ s1[s1[b ^ c] ^ d]);
        x[5] = add(b, x[5] ^ s2[s2[a ^ d] ^ c]);
        x[6] = add(c, x[6] ^ s3[s3[b ^ d] ^ a]);
        x[7] = add(d, x[7] ^ s4[s4[a ^ c] ^ b]);
        const std::uint8_t e = s5[x[4]], f = s6[x[5]], g = s7[x[6]], h = s8[x[7]];
        x[0] = add(e, x[0] ^ s5[s5[f ^ g] ^ h]);
        x[1] = add(f, x[1] ^ s6[s6[e ^ h] ^ g]);
        x[2] = add(g, x[2] ^ s7[s7[f ^ h] ^ e]);
        x[3] = add(h, x[3] ^ s8[s8[e ^ g] ^ f]);
    }
    whiten(x, static_cast<std::uint8_t>(255 - m_keySum));
}

void BlockCipher::decipherBlock(Block &x) const
{
    const Table &s1 = m_s[0], &s2 = m_s[1], &s3 = m_s[2], &s4 = m_s[3];
    const Table &s5 = m_s[4], &s6 = m_s[5], &s7 = m_s[6], &s8 = m_s[7];
    whiten(x, static_cast<std::uint8_t>(255 - m_keySum));
    for (int round = 0; round < 8; ++round) {
        const std::uint8_t e = s5[x[4]], f = s6[x[5]], g = s7[x[6]], h = s8[x[7]];
        x[0] = sub(x[0], e) ^ s5[s5[f ^ g] ^ h];
        x[1] = sub(x[1], f) ^ s6[s6[e ^ h] ^ g];
        x[2] = sub(x[2], g) ^ s7[s7[f ^ h] ^ e];
        x[3] = sub(x[3], h) ^ s8[s8[e ^ g] ^ f];
        const std::uint8_t a = s1[x[0]], b = s2[x[1]], c = s3[x[2]], d = s4[x[3]];
        x[4] = sub(x[4], a) ^ s1[s1[b ^ c] ^ d];
        x[5] = sub(x[5], b) ^ s2[s2[a ^ d] ^ c];
        x[6] = sub(x[6], c) ^ s3[s3[b ^ d] ^ a];
        x[7] = sub(x[7], d) ^ s4[s4[a ^ c] ^ b];
    }
    whiten(x, m_keySum);
}

namespace {
BlockCipher::Block load(const QByteArray &data, qsizetype offset)
{
    BlockCipher::Block block;
    for (int i = 0; i < 8; ++i)
        block[i] = static_cast<std::uint8_t>(data[offset + i]);
    return block;
}
void store(QByteArray &data, qsizetype offset, const BlockCipher::Block &block)
{
    for (int i = 0; i < 8; ++i)
        data[offset + i] = static_cast<char>(block[i]);
}
} // namespace

void BlockCipher::encipher(QByteArray &data) const
{
    const qsizetype length = data.size();
    if (length < 8)
        return;
    const qsizetype blocks = length / 8;
    Block chain{};
    for (qsizetype n = 0; n < blocks; ++n) {
        Block x = load(data, 8 * n);
        for (int i = 0; i < 8; ++i)
            x[i] ^= chain[i];
        encipherBlock(x);
        store(data, 8 * n, x);
        chain = x;
    }
    if (length % 8 != 0) {
        // The last eight bytes overlap the last whole block, already enciphered.
        Block tail = load(data, length - 8);
        encipherBlock(tail);
        store(data, length - 8, tail);
    }
}

void BlockCipher::decipher(QByteArray &data) const
{
    const qsizetype length = data.size();
    if (length < 8)
        return;
    const qsizetype blocks = length / 8;
    const bool partial = length % 8 != 0;
    Block chain{};
    auto decipherChained = [&](qsizetype n) {
        const Block cipherText = load(data, 8 * n);
        Block x = cipherText;
        decipherBlock(x);
        for (int i = 0; i < 8; ++i)
            x[i] ^= chain[i];
        store(data, 8 * n, x);
        chain = cipherText;
    };
    const qsizetype chainedBeforeTail = partial ? blocks - 1 : blocks;
    for (qsizetype n = 0; n < chainedBeforeTail; ++n)
        decipherChained(n);
    if (partial) {
        // Undo the overlapping tail first; block N then reads as it was enciphered.
        Block tail = load(data, length - 8);
        decipherBlock(tail);
        store(data, length - 8, tail);
        decipherChained(blocks - 1);
    }
}

} // namespace tiradex
