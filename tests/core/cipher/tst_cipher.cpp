#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"
#include "core/cipher/CryptFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace tiradex;

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

    // Files of the application folder: a.dat and b.dat (100 bytes), c.txt,
    // short.dat (7 bytes) and ro.dat (read-only); "E" is enciphered content.
    void cryptFilesTransformsEveryMatchAndSkipsTheRest_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("transformed");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QString>("after"); // a, b, c, short, ro: "E" or "-"
        QTest::newRow("pattern, chaining restarted per file") << 1 << "*.dat" << 2 << 2 << "EE---";
        QTest::newRow("one name") << 1 << "b.dat" << 1 << 0 << "-E---";
        QTest::newRow("read-only skipped") << 1 << "ro.dat" << 0 << 1 << "-----";
        QTest::newRow("no mode") << 0 << "a.dat" << 0 << 0 << "-----";
        QTest::newRow("no name") << 1 << "" << 0 << 0 << "-----";
        QTest::newRow("no match") << 1 << "none*.dat" << 0 << 0 << "-----";
    }
    void cryptFilesTransformsEveryMatchAndSkipsTheRest()
    {
        QFETCH(int, mode);
        QFETCH(QString, name);
        QFETCH(int, transformed);
        QFETCH(int, skipped);
        QFETCH(QString, after);
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        const QByteArray content = randomBytes(100, 5);
        QByteArray enciphered = content;
        BlockCipher(fixedKey()).encipher(enciphered); // the state's key is the fixed one
        const QStringList files{"a.dat", "b.dat", "c.txt", "short.dat", "ro.dat"};
        for (const QString &file : files)
            QVERIFY(WriteTestFile(dir.filePath(file),
                                  file == "short.dat" ? QByteArray("1234567") : content));
        QFile::setPermissions(dir.filePath("ro.dat"), QFileDevice::ReadOwner);

        const CryptFilesResult result = CryptFiles(state, mode, name);
        QCOMPARE(result.transformed, transformed);
        QCOMPARE(result.skipped, skipped);
        QVERIFY(result.ok());
        QCOMPARE(state.CipherMode, 0);
        for (int i = 0; i < files.size(); ++i)
            QCOMPARE(ReadTestFile(dir.filePath(files.at(i))), after.at(i) == 'E' ? enciphered
                                                              : i == 3 ? QByteArray("1234567")
                                                                       : content);
        if (transformed == 2) { // and back
            CryptFiles(state, 2, QStringLiteral("a.dat"));
            QCOMPARE(ReadTestFile(dir.filePath("a.dat")), content);
        }
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
        QVERIFY(WriteTestFile(path, enciphered));
        const QDateTime before = QFileInfo(path).lastModified();
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QString error;
        const std::optional<QByteArray> result = DecipherFileToMemory(state, path, &error);
        QVERIFY2(result, qPrintable(error));
        QCOMPARE(*result, clear);
        QCOMPARE(ReadTestFile(path), enciphered);
        QCOMPARE(QFileInfo(path).lastModified(), before);

        QVERIFY(!DecipherFileToMemory(state, dir.filePath(QStringLiteral("none.dat")), &error));
        QVERIFY(error.contains(QStringLiteral("none.dat")));
    }
};

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
