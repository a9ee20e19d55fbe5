#!/usr/bin/env python3
"""A second, independent rendering of the play-data cipher, written from the
rules alone, used to produce the known answers in golden.txt. The C++ test
compares the program's cipher with these answers.

Usage: reference_cipher.py > golden.txt
"""

KEY = b"VORTELANVORTELANVORTELANVORTELAN"


def tables(key):
    six = [c - 32 for c in key]
    packed = []
    for g in range(8):
        a, b, c, d = six[4 * g:4 * g + 4]
        packed.append((a + 64 * (b & 3)) & 0xFF)
        packed.append((((b >> 2) & 15) + 16 * (c & 15)) & 0xFF)
        packed.append((((c >> 4) & 3) + 4 * d) & 0xFF)
    n = 24
    while n > 0 and packed[n - 1] == 0:
        n -= 1
    expanded = [packed[i % n] for i in range(256)]
    t = sum(packed[:16]) % 256
    s = [list(range(256)) for _ in range(8)]
    j = 0
    for i in range(256):
        j = (j + s[0][i] + expanded[i]) % 256
        s[0][i], s[0][j] = s[0][j], s[0][i]
    for i in range(256):
        j = (j + s[0][i]) % 256
        s[0][i], s[0][j] = s[0][j], s[0][i]
    for m in range(1, 8):
        p = s[m - 1]
        for i in range(256):
            j = (j + p[s[m][i]] + p[expanded[i]]) % 256
            s[m][i], s[m][j] = s[m][j], s[m][i]
    return s, t


def whiten(x, s, w):
    S1, S2, S3, S4, S5, S6, S7, S8 = s
    pairs = [(S5, S1), (S6, S2), (S7, S3), (S8, S4), (S1, S5), (S2, S6), (S3, S7), (S4, S8)]
    for i, (outer, inner) in enumerate(pairs):
        x[i] ^= outer[inner[w]]


def encipher_block(block, s, t):
    S1, S2, S3, S4, S5, S6, S7, S8 = s
    x = list(block)
    whiten(x, s, t)
    for _ in range(8):
        a, b, c, d = S1[x[0]], S2[x[1]], S3[x[2]], S4[x[3]]
        x[4] = (a + (x[4] ^ S1[S1[b ^ c] ^ d])) % 256
        x[5] = (b + (x[5] ^ S2[S2[a ^ d] ^ c])) % 256
        x[6] = (c + (x[6] ^ S3[S3[b ^ d] ^ a])) % 256
        x[7] = (d + (x[7] ^ S4[S4[a ^ c] ^ b])) % 256
        e, f, g, h = S5[x[4]], S6[x[5]], S7[x[6]], S8[x[7]]
        x[0] = (e + (x[0] ^ S5[S5[f ^ g] ^ h])) % 256
        x[1] = (f + (x[1] ^ S6[S6[e ^ h] ^ g])) % 256
        x[2] = (g + (x[2] ^ S7[S7[f ^ h] ^ e])) % 256
        x[3] = (h + (x[3] ^ S8[S8[e ^ g] ^ f])) % 256
    whiten(x, s, 255 - t)
    return x


def encipher_file(data, s, t):
    out = bytearray(data)
    if len(out) < 8:
        return bytes(out)
    chain = [0] * 8
    whole = len(out) // 8
    for n in range(whole):
        block = [out[8 * n + i] ^ chain[i] for i in range(8)]
        chain = encipher_block(block, s, t)
        out[8 * n:8 * n + 8] = bytes(chain)
    if len(out) % 8:
        tail = encipher_block(list(out[-8:]), s, t)
        out[-8:] = bytes(tail)
    return bytes(out)


def sample(length):
    return bytes((i * 37 + 11) % 256 for i in range(length))


if __name__ == "__main__":
    s, t = tables(KEY)
    print("# length plaintext=(i*37+11)%256 ciphertext-hex; key VORTELAN x4")
    print("keysum %d" % t)
    print("S1 " + " ".join("%d" % v for v in s[0][:16]))
    print("S8 " + " ".join("%d" % v for v in s[7][:16]))
    for length in (7, 8, 9, 15, 16, 17, 24, 31, 1024, 1031, 1032, 1033, 2055):
        print("%d %s" % (length, encipher_file(sample(length), s, t).hex()))
