// Notes and photos probe (run by bench/notes.sh):
//   make-play FOLDER N   writes N notes and N photos (1600 x 1200 JPEG) into
//                        FOLDER/notes and FOLDER/photos
//   rtf NOTE RUNS        median milliseconds of reading NOTE, of writing it
//                        back atomically, and of making its RTF alone (RUNS times)
//   browser FOLDER       milliseconds from constructing the notes and photos
//                        browser on FOLDER to its first paint, then of
//                        choosing the first note (its photo decoded and shown)

#include "gui/annotations/FrmNotesPhotos.h"
#include "gui/app/PlayWindowHost.h"

#include "core/annotations/NoteFile.h"
#include "core/annotations/RtfWriter.h"
#include "core/app/Module1.h"
#include "core/play/CharactersFile.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tiradex;

namespace {
class Host : public PlayWindowHost
{
public:
    CurrentReply currentReply() const override { return {}; }
    const CharactersList &characters() const override { return m_list; }
    QStringList sceneReplyFiles() const override { return {}; }
    void refreshReplyFiles() override {}
    void filterChanged() override {}

private:
    CharactersList m_list;
};

class PaintSpy : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int makePlay(const QString &folder, int count)
{
    QDir().mkpath(folder + QStringLiteral("/notes"));
    QDir().mkpath(folder + QStringLiteral("/photos"));
    QImage image(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    const QString first = folder + QStringLiteral("/photos/_0001_A.jp1");
    if (!image.save(first, "JPEG"))
        return 1;
    for (int k = 1; k <= count; ++k) {
        const QString base =
            Module1::ReplyBaseName(k * 3, QStringLiteral("CHARACTER %1").arg(k % 12));
        const RichText note = NoteFromPlainText(
            QStringLiteral("Note %1: entrée côté jardin, « lentement », pause.").arg(k));
        if (!SaveNote(folder + QStringLiteral("/notes/") + base + QStringLiteral(".not"), note,
                      nullptr))
            return 1;
        if (!QFile::copy(first,
                         folder + QStringLiteral("/photos/") + base + QStringLiteral(".jp1")))
            return 1;
    }
    QFile::remove(first);
    return 0;
}

int timeRtf(const QString &path, int runs)
{
    std::vector<double> reads;
    std::vector<double> writes;
    std::vector<double> serializes;
    QTemporaryDir dir;
    std::optional<RichText> note;
    for (int k = 0; k < runs; ++k) {
        QElapsedTimer timer;
        timer.start();
        note = LoadNote(path, nullptr);
        reads.push_back(timer.nsecsElapsed() / 1e6);
        if (!note)
            return 1;
        timer.restart();
        const QByteArray rtf = WriteRtf(*note);
        serializes.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        if (!SaveNote(dir.filePath(QStringLiteral("copy.not")), *note, nullptr))
            return 1;
        writes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("characters %lld\nread_ms %.1f (file and parse)\nwrite_ms %.1f (RTF and atomic "
                "save)\nserialize_ms %.1f (RTF only)\n",
                static_cast<long long>(note->plainText().size()), median(reads), median(writes),
                median(serializes));
    return 0;
}

int timeBrowser(const QString &folder)
{
    Module1 state;
    state.StartUp(folder);
    state.PlayFolder = folder;
    QtDialogs dialogs;
    Host host;
    PaintSpy spy;
    QElapsedTimer timer;
    timer.start();
    FrmNotesPhotos browser(state, dialogs, host);
    browser.installEventFilter(&spy);
    browser.show();
    while (!spy.painted && timer.elapsed() < 10000)
        QApplication::processEvents();
    const double open = timer.nsecsElapsed() / 1e6;
    timer.restart();
    browser.LstNotes->setCurrentIndex(0);
    browser.LstNotesClick(0);
    QApplication::processEvents();
    std::printf("notes %d photos %d\nopen_ms %.1f\nchoose_ms %.1f\n", browser.LstNotes->count(),
                browser.LstPhotos->count(), open, timer.nsecsElapsed() / 1e6);
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("make-play"))
        return makePlay(args[1], args[2].toInt());
    if (args.size() == 3 && args[0] == QLatin1String("rtf"))
        return timeRtf(args[1], args[2].toInt());
    if (args.size() == 2 && args[0] == QLatin1String("browser"))
        return timeBrowser(args[1]);
    std::fprintf(stderr, "usage: tiradex-bench-notes make-play FOLDER N | rtf NOTE RUNS | "
                         "browser FOLDER\n");
    return 2;
}
