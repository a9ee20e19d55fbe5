// The three shipped plays, as the build generated them from the XML edition,
// read back through the program's own cipher and conversion and compared
// with the edition itself, read here independently of the generator.

#include "ConvertedStore.h"
#include "core/app/FileIo.h"
#include "core/app/ImportedPlays.h"
#include "core/app/ShippedData.h"
#include "core/playimport/PlayImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace tiradex;

namespace {

const QString SourceDir = QStringLiteral(TIRADEX_PLAYS_SOURCE_DIR);
const QString DataDir = QStringLiteral(TIRADEX_SHIPPED_DATA_DIR);

// One SPEECH of the edition and what its reply file must hold, in order:
// its lines (a direction inside a line bracketed where it stands), the
// directions and song headings inside it, and the directions that follow
// it before the next speech.
struct EditionSpeech
{
    int act = 0;
    int scene = 0;
    QStringList speakers;
    QStringList records;
};

struct Edition
{
    QList<int> scenesPerAct;
    QStringList headings; // scene title and its opening directions
    QList<EditionSpeech> speeches;
};

QString Bracket(const QString &text)
{
    return QLatin1Char('[') + text.simplified() + QLatin1Char(']');
}

QString LineText(QXmlStreamReader &xml)
{
    QString text;
    while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() != QLatin1String("LINE")) {
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement())
            text += Bracket(xml.readElementText()) + QLatin1Char(' ');
        if (xml.hasError())
            break;
    }
    return text.simplified();
}

std::optional<Edition> ReadEdition(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader xml(&file);
    Edition edition;
    QStringList parents;
    QString heading;
    bool headingDone = true;
    const auto closeHeading = [&] {
        if (!headingDone)
            edition.headings << heading;
        headingDone = true;
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("SCENE"))
                closeHeading();
            parents.removeLast();
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const QString name = xml.name().toString();
        const QString parent = parents.value(parents.size() - 1);
        if (name == QLatin1String("ACT")) {
            edition.scenesPerAct << 0;
        } else if (name == QLatin1String("SCENE")) {
            ++edition.scenesPerAct.last();
            headingDone = false;
        } else if (name == QLatin1String("TITLE") && parent == QLatin1String("SCENE")) {
            heading = xml.readElementText().trimmed();
            continue; // the end tag has been read
        } else if (name == QLatin1String("STAGEDIR")) {
            const QString direction = Bracket(xml.readElementText());
            if (parent == QLatin1String("SCENE") && !headingDone)
                heading += QLatin1Char(' ') + direction;
            else
                edition.speeches.last().records << direction;
            continue;
        } else if (name == QLatin1String("SPEECH")) {
            closeHeading();
            EditionSpeech speech;
            speech.act = int(edition.scenesPerAct.size());
            speech.scene = edition.scenesPerAct.last();
            edition.speeches << speech;
        } else if (name == QLatin1String("SPEAKER")) {
            edition.speeches.last().speakers << xml.readElementText();
            continue;
        } else if (name == QLatin1String("LINE")) {
            edition.speeches.last().records << LineText(xml);
            continue;
        } else if (name == QLatin1String("SUBHEAD")) {
            edition.speeches.last().records << xml.readElementText().simplified();
            continue;
        }
        parents << name;
    }
    if (xml.hasError())
        return std::nullopt;
    return edition;
}

// The characters list entry a speech must be filed under.
QString ExpectedCharacter(const QStringList &speakers)
{
    QStringList names;
    for (const QString &speaker : speakers)
        names << (speaker == QLatin1String("ELINOR") ? QStringLiteral("QUEEN ELINOR")
                                                     : speaker.toUpper());
    return names.join(QStringLiteral(" AND "));
}

} // namespace

class TestShippedPlays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plays_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("speeches");
        QTest::addColumn<QList<int>>("scenes");
        QTest::newRow("The Merchant of Venice")
            << "merchant.xml"
            << "merchantvenice" << 636 << QList<int>{3, 9, 5, 2, 1};
        QTest::newRow("The Life and Death of King John")
            << "john.xml"
            << "kingjohn" << 550 << QList<int>{1, 1, 4, 3, 7};
        QTest::newRow("The Two Gentlemen of Verona")
            << "two_gent.xml"
            << "verone" << 857 << QList<int>{3, 7, 2, 4, 4};
    }

    // Deciphering the characters file gives the list, and the program's own
    // conversion files every speech of the edition as one reply, in the
    // right scene, under the right character, with its lines in order.
    void plays()
    {
        QFETCH(QString, xml);
        QFETCH(QString, code);
        QFETCH(int, speeches);
        QFETCH(QList<int>, scenes);
        const QString xmlPath = SourceDir + QLatin1Char('/') + xml;
        if (!QFileInfo::exists(xmlPath))
            QSKIP("The XML edition is not in TIRADEX_PLAYS_SOURCE: no shipped plays were built.");
        const std::optional<Edition> edition = ReadEdition(xmlPath);
        QVERIFY(edition);

        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        const PlayCatalogueEntry *entry = FindPlay(code);
        QVERIFY(entry);
        state.SelectPlay(*entry);
        for (const QString &name : {code + QStringLiteral(".txt"), code + QStringLiteral(".dat")})
            QVERIFY2(QFile::copy(DataDir + QLatin1Char('/') + name, state.AppFolder + name),
                     qPrintable(name + QStringLiteral(" was not generated")));
        const std::optional<QByteArray> bytes =
            ReadWholeFile(state.AppFolder + state.PlayTextFile, 1 << 24, nullptr);
        QVERIFY(bytes && bytes->endsWith("\r\n"));
        QVERIFY(bytes->contains("\r\nText placed in the public domain by Moby Lexical Tools, "
                                "1992.\r\n"));

        const ConvertedStore store = ConvertAndRead(state);
        QVERIFY2(store.result.ok(), qPrintable(store.result.error));
        for (const QString &status : store.characters.statuses)
            QVERIFY2(!status.trimmed().isEmpty() && status != UndescribedSpeakerStatus(),
                     qPrintable(status));
        QCOMPARE(QList<int>({int(edition->speeches.size()), store.result.replies,
                             int(store.replies.size())}) +
                     edition->scenesPerAct + store.scenesPerAct,
                 QList<int>({speeches, speeches, speeches}) + scenes + scenes);
        QCOMPARE(store.headings, edition->headings);
        QHash<QString, int> repliesOf;
        for (qsizetype i = 0; i < speeches; ++i) {
            const StoredReply &reply = store.replies.at(i);
            const EditionSpeech &speech = edition->speeches.at(i);
            QCOMPARE(reply.file,
                     Module1::ReplyBaseName(int(i + 1), ExpectedCharacter(speech.speakers)) +
                         QStringLiteral(".txt"));
            QVERIFY2(reply.act == speech.act && reply.scene == speech.scene,
                     qPrintable(reply.file + QStringLiteral(": wrong scene")));
            QCOMPARE(reply.text,
                     speech.records.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
            ++repliesOf[Module1::CharacterOf(reply.file)];
        }
        // The list names each character replies are filed under, once, and
        // nobody else: every entry is someone an actor can play.
        QStringList listed = store.characters.names;
        QStringList filed = repliesOf.keys();
        listed.sort();
        filed.sort();
        QCOMPARE(listed, filed);
    }

    void programFindsTheGeneratedPlays()
    {
        if (!QFileInfo::exists(SourceDir + QStringLiteral("/merchant.xml")))
            QSKIP("The XML edition is not in TIRADEX_PLAYS_SOURCE; no plays were generated.");
        QCOMPARE(FindShippedDataFolder(QStringLiteral(TIRADEX_BUILD_DIR "/bin")),
                 QDir::cleanPath(DataDir));
    }
};

QTEST_GUILESS_MAIN(TestShippedPlays)
#include "tst_shippedplays.moc"
