#include "gui/annotations/FrmFullScreen.h"
#include "gui/annotations/FrmPhotos.h"
#include "gui/annotations/PhotoFrame.h"

#include "AnnotationFixture.h"
#include "WidgetDriver.h"
#include "core/annotations/AnnotationTexts.h"

#include <QBuffer>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

// The photo window: attach, fit and centre in the frame, delete, and the
// full-screen view that leads back to the play window.
class TstFrmPhotos : public QObject
{
    Q_OBJECT

private:
    // Pixels of `twips` on the test screen.
    static int px(double twips, const QWidget *w) { return qRound(twips * ScreenDpi(w) / 1440.0); }

private Q_SLOTS:
    void attachCopiesOnceAndOnlyWhenChosen()
    {
        AnnotationFixture f;
        // Cancelled: nothing copied.
        QVERIFY(!FrmPhotos::EnsurePhoto(f.state, f.dialogs, f.host.reply, nullptr));
        QVERIFY(!QFile::exists(f.photoPath()));
        // Chosen: a byte-for-byte copy, whatever it holds.
        const QString chosen = f.dir.filePath(QStringLiteral("set.jpg"));
        QVERIFY(f.write(chosen, "not checked, copied as is"));
        f.dialogs.fileNames = {chosen};
        QVERIFY(FrmPhotos::EnsurePhoto(f.state, f.dialogs, f.host.reply, nullptr));
        QCOMPARE(f.read(f.photoPath()), QByteArray("not checked, copied as is"));
        // A reply with a photo: no dialog, the photo is not replaced.
        f.dialogs.fileNames = {f.dir.filePath(QStringLiteral("other.jpg"))};
        QVERIFY(FrmPhotos::EnsurePhoto(f.state, f.dialogs, f.host.reply, nullptr));
        QCOMPARE(f.dialogs.fileNames.size(), 1);
        // A chosen file that vanished: no photo.
        f.setReply(58, QStringLiteral("ARTHUR"));
        QVERIFY(!FrmPhotos::EnsurePhoto(f.state, f.dialogs, f.host.reply, nullptr));
        QVERIFY(!QFile::exists(f.photoPath()));
    }

    void photoFittedAndCentredInFrame_data()
    {
        QTest::addColumn<QSizeF>("twips"); // natural size of the picture
        QTest::addColumn<QRectF>("shown"); // expected place in twips
        QTest::newRow("larger picture shrunk by seven steps")
            << QSizeF(10000, 4000) << QRectF(226.0, 1660.9, 4782.97, 1913.19);
        QTest::newRow("smaller picture at natural size, centred")
            << QSizeF(3000, 2000) << QRectF(1117.5, 1617.5, 3000, 2000);
    }

    void photoFittedAndCentredInFrame()
    {
        QFETCH(QSizeF, twips);
        QFETCH(QRectF, shown);
        AnnotationFixture f;
        QWidget probe;
        const QSize pixels(px(twips.width(), &probe), px(twips.height(), &probe));
        QVERIFY(f.writePicture(f.photoPath(), pixels, "JPEG"));
        FrmPhotos window(f.state, f.dialogs, f.host);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("0057"));
        QLabel *picture = window.Image1->Dessin1;
        QVERIFY(picture->isVisible());
        QCOMPARE(window.Image1->size(), QSize(px(5235, &window), px(5235, &window)));
        // Within a pixel of the rounding of the picture's own pixel size.
        const QRect expected(px(shown.x(), &window), px(shown.y(), &window),
                             px(shown.width(), &window), px(shown.height(), &window));
        QVERIFY2(qAbs(picture->x() - expected.x()) <= 1 && qAbs(picture->y() - expected.y()) <= 1 &&
                     qAbs(picture->width() - expected.width()) <= 1 &&
                     qAbs(picture->height() - expected.height()) <= 1,
                 qPrintable(QStringLiteral("shown at %1,%2 %3x%4")
                                .arg(picture->x())
                                .arg(picture->y())
                                .arg(picture->width())
                                .arg(picture->height())));
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void unreadablePhotoShowsFileError_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray png;
        {
            QImage image(64, 64, QImage::Format_RGB32);
            image.fill(Qt::red);
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        }
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("hello, not a JPEG");
        QTest::newRow("truncated picture") << png.left(png.size() / 2);
    }

    void unreadablePhotoShowsFileError()
    {
        QFETCH(QByteArray, bytes);
        AnnotationFixture f;
        if (!bytes.isEmpty())
            QVERIFY(f.write(f.photoPath(), bytes));
        FrmPhotos window(f.state, f.dialogs, f.host);
        window.show();
        QCOMPARE(f.dialogs.texts(), QStringList{AnnotationTexts::FileError});
        QVERIFY(!window.Image1->hasPicture());
        QCOMPARE(f.read(f.photoPath()), bytes.isEmpty() ? QByteArray("<missing>") : bytes);
    }

    void deleteAsksThenRemovesAndCloses()
    {
        AnnotationFixture f;
        QVERIFY(f.writePicture(f.photoPath(), QSize(20, 20)));
        FrmPhotos window(f.state, f.dialogs, f.host);
        window.show();
        Click(&window, "CmdDelPhoto"); // unscripted: No
        QVERIFY(QFile::exists(f.photoPath()));
        QVERIFY(window.isVisible());
        f.dialogs.answers = {Dialogs::Answer::Yes};
        Click(&window, "CmdDelPhoto");
        QCOMPARE(f.dialogs.texts(), QStringList(2, AnnotationTexts::DeletePhoto));
        QVERIFY(!QFile::exists(f.photoPath()));
        QVERIFY(!window.isVisible());
        QVERIFY(f.host.refreshed >= 1);
    }

    void leavingFullScreenClosesPhotoWindow_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("escape") << true;
        QTest::newRow("click") << false;
    }

    void leavingFullScreenClosesPhotoWindow()
    {
        QFETCH(bool, byEscape);
        AnnotationFixture f;
        QVERIFY(f.writePicture(f.photoPath(), QSize(4000, 100)));
        FrmPhotos window(f.state, f.dialogs, f.host);
        window.show();
        Click(&window, "CmdFullScreen");
        QPointer<FrmFullScreen> full = window.fullScreen();
        QVERIFY(full);
        QVERIFY(QTest::qWaitForWindowExposed(full));
        QLabel *picture = full->Image2;
        QVERIFY(picture->isVisible());
        QVERIFY(picture->width() <= full->screen()->geometry().width());
        if (byEscape)
            QTest::keyClick(full, Qt::Key_Escape);
        else
            QTest::mouseClick(picture, Qt::LeftButton);
        QTRY_VERIFY(!full);
        QTRY_VERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TstFrmPhotos)
#include "tst_frmphotos.moc"
