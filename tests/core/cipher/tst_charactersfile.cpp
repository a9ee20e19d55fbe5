#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"
#include "core/play/CharactersFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

class TestCharactersFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatWritesOneQuotedRecordPerCharacter()
    {
        CharactersList list;
        list.names = {QStringLiteral("HUBERT"), QStringLiteral("KING JOHN")};
        list.statuses = {QStringLiteral("a citizen of Angiers"), QStringLiteral("the king")};
        QCOMPARE(FormatCharactersFile(list), QByteArray("\"HUBERT\",\"a citizen of Angiers\"\r\n"
                                                        "\"KING JOHN\",\"the king\"\r\n"));
    }

    void parseKeepsFileOrderAndToleratesMissingStatus()
    {
        const CharactersList list = ParseCharactersText(QStringLiteral(
            "\"B\",\"second\"\r\n\"A\"\r\n\r\n\"\",\"nameless\"\r\n\"C\",\"x, y\"\r\n"));
        QCOMPARE(list.names, (QStringList{"B", "A", "C"}));
        QCOMPARE(list.statuses, (QStringList{"second", "", "x, y"}));
    }

    void loadDeciphersInMemoryAndLeavesFileEnciphered()
    {
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        state.SelectPlay(PlayCatalogue().at(1));
        CharactersList list;
        list.names = {QStringLiteral("QUEEN ELINOR"), QStringLiteral("BASTARD")};
        list.statuses = {QStringLiteral("mother to King John"),
                         QStringLiteral("Philip the Bastard")};
        QByteArray enciphered = FormatCharactersFile(list);
        BlockCipher(state.KeyChars).encipher(enciphered);
        QFile file(state.AppFolder + QStringLiteral("kingjohn.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(enciphered);
        file.close();

        QString error;
        const std::optional<CharactersList> loaded = LoadCharactersFile(state, &error);
        QVERIFY2(loaded, qPrintable(error));
        QCOMPARE(loaded->names, list.names);
        QCOMPARE(loaded->statuses, list.statuses);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), enciphered);
    }

    void missingCharactersFileNamesTheFile()
    {
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        state.SelectPlay(PlayCatalogue().at(2));
        QString error;
        QVERIFY(!LoadCharactersFile(state, &error));
        QVERIFY2(error.contains(QStringLiteral("verone.dat")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestCharactersFile)
#include "tst_charactersfile.moc"
