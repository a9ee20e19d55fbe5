// The three shipped plays, as the build generated them from the XML edition,
// read back through the program's own cipher and conversion and compared
// with the edition itself, read here independently of the generator.

#include "core/app/FileIo.h"
#include "core/app/Module1.h"
#include "core/app/ShippedData.h"
#include "core/app/TextCodec.h"
#include "core/play/CharactersFile.h"
#include "core/play/PlayConverter.h"
#include "core/play/SceneStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

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
        } else if (name == QLatin1String("STAGEDIR") && parent == QLatin1String("SCENE")) {
            const QString direction = Bracket(xml.readElementText());
            if (!headingDone)
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
        } else if (name == QLatin1String("STAGEDIR")) {
            edition.speeches.last().records << Bracket(xml.readElementText());
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

// One reply file of the converted store.
struct StoredReply
{
    int act = 0;
    int scene = 0;
    int number = 0;
    QString character;
    QStringList records; // trimmed, as the reader shows them
};

// A play copied from the build's data folder into a fresh application folder.
struct ShippedPlay
{
    std::unique_ptr<QTemporaryDir> dir;
    Module1 state;
};

} // namespace

class TestShippedPlays : public QObject
{
    Q_OBJECT

private:
    // Skips when the build had no XML edition to generate from; fails when
    // it had one and the generated files are missing.
    bool prepare(const QString &xmlName, const QString &code, ShippedPlay *play, Edition *edition)
    {
        const QString xmlPath = SourceDir + QLatin1Char('/') + xmlName;
        if (!QFileInfo::exists(xmlPath)) {
            QTest::qSkip(qPrintable(QStringLiteral("The XML edition (%1) is not in the folder "
                                                   "TIRADEX_PLAYS_SOURCE (%2), so the build "
                                                   "generated no shipped plays.")
                                        .arg(xmlName, SourceDir)),
                         __FILE__, __LINE__);
            return false;
        }
        const std::optional<Edition> read = ReadEdition(xmlPath);
        if (!read) {
            QTest::qFail("The XML edition cannot be read.", __FILE__, __LINE__);
            return false;
        }
        *edition = *read;
        play->dir = std::make_unique<QTemporaryDir>();
        play->state.StartUp(play->dir->path());
        const PlayCatalogueEntry *entry = FindPlay(code);
        if (!entry) {
            QTest::qFail("The play code is not in the catalogue.", __FILE__, __LINE__);
            return false;
        }
        play->state.SelectPlay(*entry);
        for (const QString &suffix : {QStringLiteral(".txt"), QStringLiteral(".dat")}) {
            const QString name = code + suffix;
            if (!QFile::copy(DataDir + QLatin1Char('/') + name, play->state.AppFolder + name)) {
                QTest::qFail(
                    qPrintable(
                        QStringLiteral("The generated %1 is missing from %2.").arg(name, DataDir)),
                    __FILE__, __LINE__);
                return false;
            }
        }
        return true;
    }

    static QList<StoredReply> StoredReplies(const Module1 &state, const QList<ActRecord> &acts)
    {
        QList<StoredReply> replies;
        for (const ActRecord &act : acts) {
            for (int scene = 1; scene <= act.sceneCount; ++scene) {
                const QString folder = state.SceneFolder(act.act, scene);
                for (const QString &file : ListReplyFiles(folder)) {
                    StoredReply reply;
                    reply.act = act.act;
                    reply.scene = scene;
                    reply.number = Module1::ReplyNumberOf(file).toInt();
                    reply.character = Module1::CharacterOf(file);
                    const std::optional<QString> text =
                        ReadReplyText(folder + QLatin1Char('/') + file, true);
                    if (text) {
                        reply.records = text->split(QStringLiteral("\r\n"));
                        reply.records.removeLast(); // after the last line end
                    }
                    replies << reply;
                }
            }
        }
        return replies;
    }

private Q_SLOTS:
    void plays_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("speeches");
        QTest::addColumn<QList<int>>("scenes");
        QTest::addColumn<QStringList>("characters");
        QTest::newRow("The Merchant of Venice")
            << "merchant.xml"
            << "merchantvenice" << 636 << QList<int>{3, 9, 5, 2, 1}
            << QStringList{"DUKE",      "MOROCCO",  "ARRAGON",  "ANTONIO",   "BASSANIO", "SALANIO",
                           "SALARINO",  "GRATIANO", "SALERIO",  "LORENZO",   "SHYLOCK",  "TUBAL",
                           "LAUNCELOT", "GOBBO",    "LEONARDO", "BALTHASAR", "STEPHANO", "PORTIA",
                           "NERISSA",   "JESSICA",  "SERVANT",  "CLERK",     "ALL"};
        QTest::newRow("The Life and Death of King John")
            << "john.xml"
            << "kingjohn" << 550 << QList<int>{1, 1, 4, 3, 7}
            << QStringList{"KING JOHN",
                           "PRINCE HENRY",
                           "ARTHUR",
                           "PEMBROKE",
                           "ESSEX",
                           "SALISBURY",
                           "BIGOT",
                           "PEMBROKE AND BIGOT",
                           "HUBERT",
                           "ROBERT",
                           "BASTARD",
                           "GURNEY",
                           "PETER",
                           "KING PHILIP",
                           "LEWIS",
                           "AUSTRIA",
                           "CARDINAL PANDULPH",
                           "MELUN",
                           "CHATILLON",
                           "QUEEN ELINOR",
                           "CONSTANCE",
                           "BLANCH",
                           "LADY FAULCONBRIDGE",
                           "FIRST CITIZEN",
                           "FRENCH HERALD",
                           "ENGLISH HERALD",
                           "MESSENGER",
                           "FIRST EXECUTIONER"};
        QTest::newRow("The Two Gentlemen of Verona")
            << "two_gent.xml"
            << "verone" << 857 << QList<int>{3, 7, 2, 4, 4}
            << QStringList{"DUKE",     "VALENTINE", "PROTEUS",      "ANTONIO",       "THURIO",
                           "EGLAMOUR", "HOST",      "FIRST OUTLAW", "SECOND OUTLAW", "THIRD OUTLAW",
                           "OUTLAWS",  "SPEED",     "LAUNCE",       "PANTHINO",      "JULIA",
                           "SILVIA",   "LUCETTA"};
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
        QFETCH(QStringList, characters);
        ShippedPlay play;
        Edition edition;
        if (!prepare(xml, code, &play, &edition))
            return;
        QCOMPARE(edition.speeches.size(), speeches);
        QCOMPARE(edition.scenesPerAct, scenes);

        QString error;
        const std::optional<CharactersList> list = LoadCharactersFile(play.state, &error);
        QVERIFY2(list, qPrintable(error));
        QCOMPARE(list->names, characters);
        QCOMPARE(list->statuses.size(), characters.size());
        for (const QString &status : list->statuses)
            QVERIFY2(!status.trimmed().isEmpty() &&
                         status != QLatin1String("not named in the cast list"),
                     qPrintable(status));

        const ConvertResult converted = ConvertPlay(play.state, list->names);
        QVERIFY2(converted.status == ConvertStatus::Converted, qPrintable(converted.error));
        QCOMPARE(converted.replies, speeches);

        const std::optional<QList<ActRecord>> acts = ReadTreeviewIni(play.state, &error);
        QVERIFY2(acts, qPrintable(error));
        QList<int> sceneCounts;
        for (const ActRecord &act : *acts)
            sceneCounts << act.sceneCount;
        QCOMPARE(sceneCounts, scenes);
        const std::optional<QList<SceneHeader>> head = ReadHeadIni(play.state, &error);
        QVERIFY2(head, qPrintable(error));
        QStringList headings;
        for (const SceneHeader &scene : *head)
            headings << scene.header;
        QCOMPARE(headings, edition.headings);

        const QList<StoredReply> replies = StoredReplies(play.state, *acts);
        QCOMPARE(replies.size(), speeches);
        QHash<QString, int> repliesOf;
        for (qsizetype i = 0; i < replies.size(); ++i) {
            const StoredReply &reply = replies.at(i);
            const EditionSpeech &speech = edition.speeches.at(i);
            const QString where = QStringLiteral("reply %1").arg(i + 1);
            QVERIFY2(reply.number == i + 1, qPrintable(where + QStringLiteral(": numbering gap")));
            QVERIFY2(reply.act == speech.act && reply.scene == speech.scene,
                     qPrintable(where + QStringLiteral(": wrong scene")));
            QCOMPARE(reply.character, ExpectedCharacter(speech.speakers));
            QCOMPARE(reply.records, speech.records);
            ++repliesOf[reply.character];
        }
        // Every entry of the list is someone an actor can play: it has replies.
        for (const QString &name : characters)
            QVERIFY2(repliesOf.value(name) > 0, qPrintable(name));
    }

    // The text itself: after the first act heading, only the edition's act
    // and scene headings start with "ACT" or "SCENE", only character lines
    // equal an entry, and a character line follows every scene heading.
    void noTextLineIsMisread_data() { plays_data(); }
    void noTextLineIsMisread()
    {
        QFETCH(QString, xml);
        QFETCH(QString, code);
        QFETCH(int, speeches);
        QFETCH(QList<int>, scenes);
        QFETCH(QStringList, characters);
        ShippedPlay play;
        Edition edition;
        if (!prepare(xml, code, &play, &edition))
            return;
        const std::optional<QByteArray> bytes =
            ReadWholeFile(play.state.AppFolder + play.state.PlayTextFile, 1 << 24, nullptr);
        QVERIFY(bytes);
        QVERIFY(bytes->endsWith("\r\n"));
        QCOMPARE(bytes->count("\n"), bytes->count("\r\n"));
        const QStringList lines = DecodeText(*bytes).split(QStringLiteral("\r\n"));

        int actHeadings = 0;
        int sceneHeadings = 0;
        int characterLines = 0;
        bool afterSceneHeading = false;
        for (const QString &line : lines) {
            if (line.startsWith(QLatin1String("ACT"))) {
                ++actHeadings;
                continue;
            }
            if (actHeadings == 0 || line.trimmed().isEmpty())
                continue;
            if (line.startsWith(QLatin1String("SCENE"))) {
                ++sceneHeadings;
                afterSceneHeading = true;
                continue;
            }
            const bool isCharacter = characters.contains(line.trimmed(), Qt::CaseInsensitive);
            QVERIFY2(!afterSceneHeading || isCharacter, qPrintable(line));
            QVERIFY2(!isCharacter || characters.contains(line), qPrintable(line));
            afterSceneHeading = false;
            characterLines += isCharacter ? 1 : 0;
        }
        QCOMPARE(actHeadings, int(scenes.size()));
        int sceneTotal = 0;
        for (int count : scenes)
            sceneTotal += count;
        QCOMPARE(sceneHeadings, sceneTotal);
        QCOMPARE(characterLines, speeches);
        QVERIFY(lines.first().startsWith(QLatin1String("The ")));
        QVERIFY(lines.contains(
            QStringLiteral("Text placed in the public domain by Moby Lexical Tools, 1992.")));
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
