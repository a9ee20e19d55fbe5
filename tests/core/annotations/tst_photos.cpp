#include "core/annotations/AnnotationFiles.h"
#include "core/annotations/PhotoFit.h"
#include "core/annotations/PictureFile.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/resource.h>
#include <zlib.h>

using namespace tiradex;

// Fit by steps in twips, reading untrusted pictures, and the browser's
// entries from file names.
namespace {
QByteArray be32(quint32 value)
{
    const quint32 big = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&big), 4);
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type) + data;
    return be32(quint32(data.size())) + body +
           be32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size())));
}

// A PNG that declares `width` x `height` RGB pixels and holds a few rows
// (the zlib stream is qCompress's output less its length prefix).
QByteArray declaredPng(quint32 width, quint32 height)
{
    const QByteArray rows(4 * (1 + 3 * qint64(qMin<quint32>(width, 1000))), '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR", be32(width) + be32(height) + QByteArray("\x08\x02\x00\x00\x00", 5)) +
           chunk("IDAT", qCompress(rows).mid(4)) + chunk("IEND", QByteArray());
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
    // Each row: the picture's natural size and the box, in twips; then the
    // fitted size and its corner when centred.
    void fitBySteps_data()
    {
        QTest::addColumn<QSizeF>("natural");
        QTest::addColumn<QSizeF>("box");
        QTest::addColumn<QString>("fitted");
        const QSizeF frame(5235, 5235);
        QTest::newRow("wide photo shrinks seven steps, both sides alike")
            << QSizeF(10000, 4000) << frame << "4782.97 x 1913.19 at 226.02, 1660.91";
        QTest::newRow("small photo keeps its size, centred")
            << QSizeF(3000, 2000) << frame << "3000.00 x 2000.00 at 1117.50, 1617.50";
        QTest::newRow("exactly the frame's size is not shrunk")
            << frame << frame << "5235.00 x 5235.00 at 0.00, 0.00";
        QTest::newRow("too high only still shrinks both")
            << QSizeF(100, 5300) << frame << "90.00 x 4770.00 at 2572.50, 232.50";
        QTest::newRow("empty box leaves the size alone")
            << QSizeF(300, 200) << QSizeF(0, 0) << "300.00 x 200.00 at -150.00, -100.00";
        QTest::newRow("screen box") << QSizeF(30000, 10000) << QSizeF(28800, 16200)
                                    << "27000.00 x 9000.00 at 900.00, 3600.00";
    }

    void fitBySteps()
    {
        QFETCH(QSizeF, natural);
        QFETCH(QSizeF, box);
        const QSizeF got = FitBySteps(natural, box);
        const QPointF at = CentreIn(got, box);
        QTEST(QStringLiteral("%1 x %2 at %3, %4")
                  .arg(got.width(), 0, 'f', 2)
                  .arg(got.height(), 0, 'f', 2)
                  .arg(at.x(), 0, 'f', 2)
                  .arg(at.y(), 0, 'f', 2),
              "fitted");
    }

    void twipsFollowTheScreenResolution()
    {
        QCOMPARE((QList<double>{PixelsToTwips(96, 96), PixelsToTwips(100, 120),
                                TwipsToPixels(5235, 96), TwipsToPixels(1440, 144)}),
                 (QList<double>{1440, 1200, 349, 144}));
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
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
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
