#include "TestPlay.h"
#include "core/play/PlayLoader.h"
#include "core/play/PlayTextCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

namespace {
const QByteArray SmallText = "THE SMALL PLAY\r\nACT I.\r\nSCENE I. A platform.\r\n"
                             "HAMLET\r\nWho's there?\r\nHORATIO\r\nFriends.\r\n"
                             "SCENE II. A room.\r\nHAMLET\r\nSpeak.\r\n"
                             "ACT II.\r\nSCENE I. A plain.\r\n"
                             "HORATIO\r\nHORATIO, aside, to the audience.\r\n";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestPlayLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;

    TestPlay freshPlay()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        return TestPlay(m_state, m_dir.path());
    }
    static QList<QPair<QString, QString>> twoCharacters()
    {
        return {{QStringLiteral("HAMLET"), QStringLiteral("Prince of Denmark")},
                {QStringLiteral("HORATIO"), QStringLiteral("friend to Hamlet")}};
    }

private Q_SLOTS:
    void firstOpeningConvertsAndBuildsTree()
    {
        TestPlay p = freshPlay();
        p.writeCharacters(twoCharacters());
        p.writePlayText(SmallText);
        const QByteArray enciphered = readAll(m_state.AppFolder + m_state.CharactersFileName());
        int starts = 0;
        int ends = 0;
        PlayLoadHooks hooks;
        hooks.conversionStarts = [&] { ++starts; };
        hooks.conversionEnds = [&] {
            QCOMPARE(starts, 1);
            ++ends;
        };
        const PlayLoadResult result = LoadPlay(m_state, hooks);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVERIFY(result.converted);
        QCOMPARE(ends, 1);
        QCOMPARE(result.characters.names, (QStringList{"HAMLET", "HORATIO"}));
        QCOMPARE(result.characters.statuses.at(1), QStringLiteral("friend to Hamlet"));
        QCOMPARE(result.tree.size(), 2);
        QCOMPARE(result.tree.at(0).sceneTexts.size(), 2);
        QCOMPARE(result.tree.at(1).key, QStringLiteral("A2"));
        QVERIFY(QFileInfo::exists(m_state.ReplyTextPath(2, 1, QStringLiteral("_0004_HORATIO"))));
        // The characters file was deciphered in memory only.
        QCOMPARE(readAll(m_state.AppFolder + m_state.CharactersFileName()), enciphered);
    }

    void convertedPlayOpensWithoutConversion()
    {
        TestPlay p = freshPlay();
        p.writeCharacters(twoCharacters());
        p.writeStore({TestPlay::numberedScene(1, 1, 1, 2, {QStringLiteral("HAMLET")})});
        bool started = false;
        PlayLoadHooks hooks;
        hooks.conversionStarts = [&] { started = true; };
        const PlayLoadResult result = LoadPlay(m_state, hooks); // no play text needed
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVERIFY(!started);
        QVERIFY(!result.converted);
        QCOMPARE(result.tree.size(), 1);
    }

    void failureGivesOneMessageAndNoTree_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("playFolderAfter");
        QTest::newRow("characters file missing") << "dat"
                                                 << "merchantvenice.dat" << false;
        QTest::newRow("characters file lists nobody") << "empty dat"
                                                      << "merchantvenice.dat" << false;
        QTest::newRow("play text missing") << "txt"
                                           << "merchantvenice.txt" << false;
        QTest::newRow("treeview.ini missing") << "treeview"
                                              << "treeview.ini" << true;
        QTest::newRow("characters missing for converted play") << "dat, converted"
                                                               << "merchantvenice.dat" << true;
    }
    void failureGivesOneMessageAndNoTree()
    {
        QFETCH(QString, broken);
        QFETCH(QString, named);
        QFETCH(bool, playFolderAfter);
        TestPlay p = freshPlay();
        if (broken == QLatin1String("empty dat"))
            p.writeCharacters({});
        else if (!broken.startsWith(QLatin1String("dat")))
            p.writeCharacters(twoCharacters());
        if (broken != QLatin1String("txt"))
            p.writePlayText(SmallText);
        if (broken == QLatin1String("treeview") || broken.endsWith(QLatin1String("converted"))) {
            p.writeStore({TestPlay::numberedScene(1, 1, 1, 2, {QStringLiteral("HAMLET")})});
            if (broken == QLatin1String("treeview"))
                QVERIFY(QFile::remove(m_state.PlayFolder + QStringLiteral("/treeview.ini")));
        }
        const PlayLoadResult result = LoadPlay(m_state);
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(named), qPrintable(result.error));
        QVERIFY2(result.error.contains(QStringLiteral("The Merchant of Venice")),
                 qPrintable(result.error));
        QVERIFY(result.tree.isEmpty());
        QVERIFY(result.characters.names.isEmpty());
        // A failed first opening leaves no store that would never be rebuilt.
        QCOMPARE(QFileInfo::exists(m_state.PlayFolder), playFolderAfter);
    }

    void checkReadsThePlayText()
    {
        TestPlay p = freshPlay();
        p.writePlayText(SmallText);
        QString error;
        const std::optional<QString> report =
            CheckPlayText(m_state, {QStringLiteral("HAMLET"), QStringLiteral("HORATIO")}, &error);
        QVERIFY2(report, qPrintable(error));
        QCOMPARE(*report,
                 QStringLiteral("ACT 02\r\nSCENE 01\r\nHORATIO, aside, to the audience.\r\n\r\n"));
        QVERIFY(QFile::remove(m_state.AppFolder + m_state.PlayTextFile));
        QVERIFY(!CheckPlayText(m_state, {QStringLiteral("HAMLET")}, &error));
        QVERIFY(error.contains(QStringLiteral("merchantvenice.txt")));
    }
};

QTEST_GUILESS_MAIN(TestPlayLoader)
#include "tst_playloader.moc"
