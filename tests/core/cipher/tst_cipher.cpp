#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"
#include "core/cipher/CryptFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {
BlockCipher::KeyChars keyOf(const QByteArray &key)
{
    BlockCipher::KeyChars chars{};
    for (int i = 0; i < 32; ++i)
        chars[i] = static_cast<unsigned char>(key.at(i));
    return chars;
}

BlockCipher::KeyChars fixedKey()
{
    return keyOf(QByteArray(Module1::CipherKey));
}

QByteArray sample(int length)
{
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = char((i * 37 + 11) % 256);
    return data;
}

QByteArray randomBytes(int length, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = char(random.bounded(256));
    return data;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}
} // namespace

class TestCipher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Known answers from an independent rendering of the rules
    // (tests/data/cipher/reference_cipher.py).
    void encipherMatchesKnownAnswers()
    {
        QFile golden(QStringLiteral(TIRADEX_TEST_DATA_DIR "/cipher/golden.txt"));
        QVERIFY(golden.open(QIODevice::ReadOnly | QIODevice::Text));
        const BlockCipher cipher(fixedKey());
        int vectors = 0;
        while (!golden.atEnd()) {
            const QList<QByteArray> fields = golden.readLine().trimmed().split(' ');
            if (fields.first().startsWith('#'))
                continue;
            if (fields.first() == "keysum") {
                QCOMPARE(int(cipher.keySum()), fields.at(1).toInt());
            } else if (fields.first() == "S1" || fields.first() == "S8") {
                const int table = fields.first() == "S1" ? 0 : 7;
                for (int i = 0; i < 16; ++i)
                    QCOMPARE(int(cipher.table(table)[i]), fields.at(i + 1).toInt());
            } else {
                const int length = fields.at(0).toInt();
                QByteArray data = sample(length);
                cipher.encipher(data);
                QCOMPARE(data.toHex(), fields.at(1));
                cipher.decipher(data);
                QCOMPARE(data, sample(length));
                ++vectors;
            }
        }
        QVERIFY(vectors >= 10);
    }

    void tablesArePermutations()
    {
        const BlockCipher cipher(fixedKey());
        for (int t = 0; t < 8; ++t) {
            QList<bool> seen(256, false);
            for (int i = 0; i < 256; ++i)
                seen[cipher.table(t)[i]] = true;
            QVERIFY2(!seen.contains(false), qPrintable(QStringLiteral("S%1").arg(t + 1)));
        }
    }

    void roundTripRestoresEveryLength_data()
    {
        QTest::addColumn<int>("length");
        for (int length = 0; length <= 40; ++length)
            QTest::addRow("%d", length) << length;
        for (int length : {1023, 1024, 1025, 1031, 1032, 1033, 1039, 2047, 2048, 2049, 2055, 2056,
                           2057, 4096 + 3})
            QTest::addRow("%d", length) << length;
    }
    void roundTripRestoresEveryLength()
    {
        QFETCH(int, length);
        const BlockCipher cipher(fixedKey());
        const QByteArray original = randomBytes(length, quint32(length) + 7);
        QByteArray data = original;
        cipher.encipher(data);
        QCOMPARE(data.size(), original.size());
        if (length < 8)
            QCOMPARE(data, original);
        else
            QVERIFY(data != original);
        cipher.decipher(data);
        QCOMPARE(data, original);
    }

    void sameFirstBlockEnciphersAlike()
    {
        const BlockCipher cipher(fixedKey());
        QByteArray a = QByteArray("SAMEHEAD") + randomBytes(30, 1);
        QByteArray b = QByteArray("SAMEHEAD") + randomBytes(21, 2);
        cipher.encipher(a);
        cipher.encipher(b);
        QCOMPARE(a.left(8), b.left(8));
        QVERIFY(a.mid(8, 8) != b.mid(8, 8));
    }

    // Only the last eight bytes are enciphered a second time: everything
    // before them equals the chained encipherment of the whole blocks.
    void partialBlockOnlyTouchesLastEightBytes()
    {
        const BlockCipher cipher(fixedKey());
        const QByteArray plain = randomBytes(8 * 5 + 3, 3);
        QByteArray whole = plain.left(8 * 5);
        QByteArray partial = plain;
        cipher.encipher(whole);
        cipher.encipher(partial);
        QCOMPARE(partial.left(plain.size() - 8), whole.left(plain.size() - 8));
    }

    void blocksDecipherToWhatWasEnciphered()
    {
        const BlockCipher cipher(fixedKey());
        QRandomGenerator random(11);
        for (int n = 0; n < 200; ++n) {
            BlockCipher::Block block;
            for (auto &byte : block)
                byte = std::uint8_t(random.bounded(256));
            BlockCipher::Block copy = block;
            cipher.encipherBlock(copy);
            QVERIFY(copy != block);
            cipher.decipherBlock(copy);
            QCOMPARE(copy, block);
        }
    }

    void trailingBlanksOfKeyDoNotEnterExpandedKey()
    {
        int length = 0;
        const auto packed =
            BlockCipher::packKey(keyOf(QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ01    ")), &length);
        QVERIFY(length <= 21);
        QVERIFY(packed[length - 1] != 0);
        for (int i = length; i < 24; ++i)
            QCOMPARE(int(packed[i]), 0);
        int fixedLength = 0;
        BlockCipher::packKey(fixedKey(), &fixedLength);
        QCOMPARE(fixedLength, 24);
    }

    void cryptFilesTransformsEveryMatchWithChainingRestarted()
    {
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        const QByteArray content = randomBytes(100, 5);
        writeFile(dir.filePath(QStringLiteral("a.dat")), content);
        writeFile(dir.filePath(QStringLiteral("b.dat")), content);
        writeFile(dir.filePath(QStringLiteral("c.txt")), content);
        writeFile(dir.filePath(QStringLiteral("short.dat")), "1234567");

        const CryptFilesResult result = CryptFiles(state, 1, QStringLiteral("*.dat"));
        QCOMPARE(result.transformed, 2);
        QCOMPARE(result.skipped, 1);
        QVERIFY(result.error.isEmpty());
        QCOMPARE(state.CipherMode, 0);
        QByteArray expected = content;
        BlockCipher(state.KeyChars).encipher(expected);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("a.dat"))), expected);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("b.dat"))), expected);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("c.txt"))), content);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("short.dat"))), QByteArray("1234567"));

        CryptFiles(state, 2, QStringLiteral("a.dat"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("a.dat"))), content);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("b.dat"))), expected);
    }

    void cryptFilesDoesNothingForNoModeOrNoName()
    {
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        writeFile(dir.filePath(QStringLiteral("a.dat")), "0123456789abcdef");
        QCOMPARE(CryptFiles(state, 0, QStringLiteral("a.dat")).transformed, 0);
        QCOMPARE(CryptFiles(state, 1, QString()).transformed, 0);
        QCOMPARE(CryptFiles(state, 1, QStringLiteral("none*.dat")).transformed, 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("a.dat"))), QByteArray("0123456789abcdef"));
    }

    void readOnlyFileIsSkippedAndLeftAlone()
    {
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        const QString path = dir.filePath(QStringLiteral("ro.dat"));
        writeFile(path, "0123456789abcdef");
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        const CryptFilesResult result = CryptFiles(state, 1, QStringLiteral("ro.dat"));
        QCOMPARE(result.transformed, 0);
        QCOMPARE(result.skipped, 1);
        QCOMPARE(readFile(path), QByteArray("0123456789abcdef"));
    }

    void decipheringToMemoryNeverWritesTheFile()
    {
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        QByteArray clear("\"HUBERT\",\"a citizen\"\r\n");
        QByteArray enciphered = clear;
        BlockCipher(state.KeyChars).encipher(enciphered);
        const QString path = dir.filePath(QStringLiteral("kingjohn.dat"));
        writeFile(path, enciphered);
        const QDateTime before = QFileInfo(path).lastModified();
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QString error;
        const std::optional<QByteArray> result = DecipherFileToMemory(state, path, &error);
        QVERIFY2(result, qPrintable(error));
        QCOMPARE(*result, clear);
        QCOMPARE(readFile(path), enciphered);
        QCOMPARE(QFileInfo(path).lastModified(), before);

        QVERIFY(!DecipherFileToMemory(state, dir.filePath(QStringLiteral("none.dat")), &error));
        QVERIFY(error.contains(QStringLiteral("none.dat")));
    }
};

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
