#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"
#include "core/cipher/CryptFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace tiradex;

namespace {
// The key a started state holds: the play data's.
BlockCipher::KeyChars stateKey()
{
    Module1 state;
    state.StartUp("/");
    return state.KeyChars;
}

// Seed 0: the known answers' (i * 37 + 11) % 256; otherwise noise.
QByteArray sample(int length, quint32 seed = 0)
{
    QRandomGenerator random(seed);
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = char(seed ? random.bounded(256) : (i * 37 + 11) % 256);
    return data;
}
} // namespace

class TestCipher : public QObject
{
    Q_OBJECT

private:
    const BlockCipher m_cipher{stateKey()};

private Q_SLOTS:
    // Known answers from an independent rendering of the rules
    // (tests/data/cipher/reference_cipher.py).
    void encipherMatchesKnownAnswers()
    {
        QFile golden(QStringLiteral(TIRADEX_TEST_DATA_DIR "/cipher/golden.txt"));
        QVERIFY(golden.open(QIODevice::ReadOnly | QIODevice::Text));
        int vectors = 0;
        while (!golden.atEnd()) {
            const QList<QByteArray> fields = golden.readLine().trimmed().split(' ');
            // The table and key-sum lines only help to find a fault.
            if (fields.size() == 2 && fields.first() != "keysum") {
                QByteArray data = sample(fields.at(0).toInt());
                m_cipher.encipher(data);
                QCOMPARE(data.toHex(), fields.at(1));
                ++vectors;
            }
        }
        QVERIFY(vectors >= 10);
    }

    // Shorter than a block: unchanged; every other length changes and comes back.
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
        const QByteArray original = sample(length, quint32(length) + 7);
        QByteArray data = original;
        m_cipher.encipher(data);
        QCOMPARE(data.size() == original.size() && (data == original) == (length < 8), true);
        m_cipher.decipher(data);
        QCOMPARE(data, original);
    }

    // Files of the application folder: a.dat and b.dat (100 bytes), c.txt,
    // short.dat (7 bytes) and ro.dat (read-only); "E" is enciphered content.
    void cryptFilesTransformsEveryMatchAndSkipsTheRest_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("outcome"); // transformed, skipped; a b c short ro
        QTest::newRow("pattern, chaining restarted per file") << "*.dat" << 1 << "2 2 EE---";
        QTest::newRow("one name") << "b.dat" << 1 << "1 0 -E---";
        QTest::newRow("read-only skipped") << "ro.dat" << 1 << "0 1 -----";
        QTest::newRow("no mode") << "a.dat" << 0 << "0 0 -----";
        QTest::newRow("no name") << "" << 1 << "0 0 -----";
        QTest::newRow("deciphered back") << "a.dat" << 2 << "1 0 -EE-E";
    }
    void cryptFilesTransformsEveryMatchAndSkipsTheRest()
    {
        QFETCH(int, mode);
        QFETCH(QString, name);
        QFETCH(QString, outcome);
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        const QByteArray content = sample(100, 5);
        QByteArray enciphered = content;
        m_cipher.encipher(enciphered);
        const QStringList files{"a.dat", "b.dat", "c.txt", "short.dat", "ro.dat"};
        for (const QString &file : files)
            WriteTestFile(dir.filePath(file), file == "short.dat" ? QByteArray("1234567")
                                              : mode == 2         ? enciphered
                                                                  : content);
        QFile::setPermissions(dir.filePath("ro.dat"), QFileDevice::ReadOwner);

        const CryptFilesResult result = CryptFiles(state, mode, name);
        QString after = QStringLiteral("%1 %2 ").arg(result.transformed).arg(result.skipped);
        for (const QString &file : files) {
            const QByteArray bytes = ReadTestFile(dir.filePath(file));
            after += bytes == enciphered ? 'E' : bytes == content || bytes == "1234567" ? '-' : '?';
        }
        QCOMPARE(after, outcome);
        QVERIFY(result.ok() && state.CipherMode == 0);
    }
};

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
