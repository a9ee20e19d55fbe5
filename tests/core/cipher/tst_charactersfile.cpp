#include "core/play/CharactersFile.h"

#include <QTest>

using namespace tiradex;

// Loading the enciphered file is the play loader's test; here the records.
class TestCharactersFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One quoted record per character; read back in file order, a missing
    // status empty, blank lines and nameless records skipped.
    void recordsWrittenAndRead()
    {
        CharactersList list;
        list.names = {"HUBERT", "KING JOHN"};
        list.statuses = {"a citizen of Angiers", "the king"};
        QCOMPARE(FormatCharactersFile(list), QByteArray("\"HUBERT\",\"a citizen of Angiers\"\r\n"
                                                        "\"KING JOHN\",\"the king\"\r\n"));
        const CharactersList read = ParseCharactersText(
            "\"B\",\"second\"\r\n\"A\"\r\n\r\n\"\",\"nameless\"\r\n\"C\",\"x, y\"\r\n");
        QCOMPARE(read.names + read.statuses, (QStringList{"B", "A", "C", "second", "", "x, y"}));
    }
};

QTEST_GUILESS_MAIN(TestCharactersFile)
#include "tst_charactersfile.moc"
