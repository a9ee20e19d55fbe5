#include "core/annotations/AnnotationFiles.h"
#include "core/annotations/PhotoFit.h"
#include "core/annotations/PictureFile.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <zlib.h>

using namespace tiradex;

// Fit by steps in twips, reading untrusted pictures, and the browser's
// entries from file names.
namespace {
QByteArray chunk(const char *type, const QByteArray &data)
{
    QByteArray body = QByteArray(type) + data;
    QByteArray out;
    for (const quint32 v : {quint32(data.size())})
        out += char(v >> 24), out += char(v >> 16), out += char(v >> 8), out += char(v);
    const quint32 crc =
        crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()));
    out += body;
    out += char(crc >> 24), out += char(crc >> 16), out += char(crc >> 8), out += char(crc);
    return out;
}

// A PNG that declares `width` x `height` RGB pixels and holds a few rows.
QByteArray declaredPng(quint32 width, quint32 height)
{
    QByteArray header;
    for (const quint32 v : {width, height})
        header += char(v >> 24), header += char(v >> 16), header += char(v >> 8), header += char(v);
    header += QByteArray("\x08\x02\x00\x00\x00", 5);
    const QByteArray rows(4 * (1 + 3 * qint64(qMin<quint32>(width, 1000))), '\0');
    const QByteArray zlibStream = qCompress(rows).mid(4); // qCompress prefixes the length
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlibStream) +
           chunk("IEND", QByteArray());
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

class TstPhotos : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitBySteps_data()
    {
        QTest::addColumn<QSizeF>("natural");
        QTest::addColumn<QSizeF>("box");
        QTest::addColumn<QSizeF>("fitted");
        QTest::addColumn<QPointF>("corner");
        const QSizeF frame(5235, 5235);
        QTest::newRow("wide photo shrinks seven steps, both sides alike")
            << QSizeF(10000, 4000) << frame << QSizeF(4782.969, 1913.1876)
            << QPointF(226.0155, 1660.9062);
        QTest::newRow("small photo keeps its size, centred")
            << QSizeF(3000, 2000) << frame << QSizeF(3000, 2000) << QPointF(1117.5, 1617.5);
        QTest::newRow("exactly the frame's size is not shrunk")
            << QSizeF(5235, 5235) << frame << QSizeF(5235, 5235) << QPointF(0, 0);
        QTest::newRow("too high only still shrinks both")
            << QSizeF(100, 5300) << frame << QSizeF(90, 4770) << QPointF(2572.5, 232.5);
        QTest::newRow("empty box leaves the size alone")
            << QSizeF(300, 200) << QSizeF(0, 0) << QSizeF(300, 200) << QPointF(-150, -100);
        QTest::newRow("screen box") << QSizeF(30000, 10000) << QSizeF(28800, 16200)
                                    << QSizeF(27000, 9000) << QPointF(900, 3600);
    }

    void fitBySteps()
    {
        QFETCH(QSizeF, natural);
        QFETCH(QSizeF, box);
        QFETCH(QSizeF, fitted);
        QFETCH(QPointF, corner);
        const QSizeF got = FitBySteps(natural, box);
        QVERIFY2(qAbs(got.width() - fitted.width()) < 0.01 &&
                     qAbs(got.height() - fitted.height()) < 0.01,
                 qPrintable(QStringLiteral("%1 x %2").arg(got.width()).arg(got.height())));
        const QPointF at = CentreIn(got, box);
        QVERIFY(qAbs(at.x() - corner.x()) < 0.01 && qAbs(at.y() - corner.y()) < 0.01);
    }

    void twipsFollowTheScreenResolution()
    {
        QCOMPARE(PixelsToTwips(96, 96), 1440.0);
        QCOMPARE(PixelsToTwips(100, 120), 1200.0);
        QCOMPARE(TwipsToPixels(5235, 96), 349.0);
        QCOMPARE(TwipsToPixels(1440, 144), 144.0);
    }

    void untrustedPicturesRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        QImage image(48, 32, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const auto encoded = [&image](const char *format) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, format);
            return bytes;
        };
        const QByteArray jpeg = encoded("JPEG");
        const QByteArray png = encoded("PNG");
        QTest::newRow("JPEG whatever the extension") << jpeg << true;
        QTest::newRow("PNG whatever the extension") << png << true;
        QTest::newRow("small declared PNG is read") << declaredPng(64, 4) << true;
        QTest::newRow("not a picture") << QByteArray("GIF? no, text") << false;
        QTest::newRow("truncated JPEG") << jpeg.left(40) << false;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("60000 x 60000 declared PNG") << declaredPng(60000, 60000) << false;
    }

    void untrustedPicturesRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("_0001_X%2.jp1"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const long before = peakKilobytes();
        QString error;
        const std::optional<QImage> picture = LoadPicture(path, &error);
        QCOMPARE(picture.has_value(), readable);
        QVERIFY2(readable ? error.isEmpty() : error.contains(path), qPrintable(error));
        // Nothing near the declared size was allocated.
        QVERIFY2(peakKilobytes() - before < 400 * 1024,
                 qPrintable(QStringLiteral("peak grew by %1 kB").arg(peakKilobytes() - before)));
    }

    void entriesFromFileNames()
    {
        QTemporaryDir dir;
        for (const char *name : {"_0120_JOHN.not", "_0003_FIRST LORD.not", "_1000_KING.not",
                                 "_0057_HUBERT.jp1", "notes.txt", ".not"})
            QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
        QCOMPARE(AnnotationEntries(dir.path(), QStringLiteral(".not")),
                 (QStringList{"0003_FIRST LORD", "0120_JOHN", "1000_KING"}));
        QCOMPARE(AnnotationEntries(dir.filePath(QStringLiteral("missing")), QStringLiteral(".not")),
                 QStringList());
        QCOMPARE(
            AnnotationFileOfEntry(dir.path(), QStringLiteral("0120_JOHN"), QStringLiteral(".not")),
            dir.filePath(QStringLiteral("_0120_JOHN.not")));
    }
};

QTEST_MAIN(TstPhotos)
#include "tst_photos.moc"
