// The picture catalogue compiled into the program, and the JPEG decoder's
// handling of data that is not a whole picture.

#include "platform/Pictures.h"

#include "platform/Jpeg.h"

#include <QFile>
#include <QtTest>
#include <algorithm>

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureDecodesAtItsCatalogueSizeAndTwiceIt_data();
    void everyPictureDecodesAtItsCatalogueSizeAndTwiceIt();
    void theBlankDieIsGreyscale();
    void theIconIs32By32();
    void theWindowIconComesInEverySizeOfTheTheme();
    void theDecoderRefusesWhatIsNotAWholePicture_data();
    void theDecoderRefusesWhatIsNotAWholePicture();
    void theDecoderRefusesPicturesBeyondItsLimits_data();
    void theDecoderRefusesPicturesBeyondItsLimits();
    void aMissingPictureIsReportedNotFatal();
};

void PicturesTest::everyPictureDecodesAtItsCatalogueSizeAndTwiceIt_data() {
    QTest::addColumn<QSize>("size");
    const std::pair<const char*, QSize> catalogue[] = {
        {"A1", {686, 392}}, {"A2", {47, 47}},   {"A3", {47, 47}},   {"A4", {84, 84}},
        {"A5", {330, 180}}, {"A6", {334, 404}}, {"A7", {430, 408}}, {"A8", {382, 96}},
        {"M1", {75, 75}},   {"M2", {120, 120}}, {"M3", {120, 90}},  {"M4", {120, 120}},
    };
    for (const auto& [id, size] : catalogue) {
        QTest::newRow(id) << size;
    }
    for (int b = 1; b <= 17; ++b) {
        QTest::newRow(qPrintable(QStringLiteral("B%1").arg(b))) << QSize(105, 38);
    }
}

void PicturesTest::everyPictureDecodesAtItsCatalogueSizeAndTwiceIt() {
    QFETCH(QSize, size);
    const QString name = QStringLiteral(":/pictures/%1.jpg").arg(QTest::currentDataTag());
    QCOMPARE(LoadPicture(name).size(), size);
    // Any screen scaled above 1 gets the picture painted at twice the size,
    // drawn at the same logical size.
    for (const qreal ratio : {1.25, 1.5, 2.0}) {
        const QPixmap dense = LoadPicture(name, ratio);
        QCOMPARE(dense.size(), size * 2);
        QCOMPARE(dense.deviceIndependentSize(), QSizeF(size));
    }
    QVERIFY(PicturesAllDecoded());
}

void PicturesTest::theBlankDieIsGreyscale() {
    QFile file(":/pictures/A2.jpg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    for (const QImage& die : {DecodeJpeg(file.readAll()), QImage(":/pictures/A2@2x.png")}) {
        QVERIFY(!die.isNull());
        for (int y = 0; y < die.height(); ++y) {
            for (int x = 0; x < die.width(); ++x) {
                const QRgb pixel = die.pixel(x, y);
                QVERIFY(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel));
            }
        }
    }
}

void PicturesTest::theIconIs32By32() {
    QCOMPARE(QImage(":/pictures/icon.png").size(), QSize(32, 32));
}

void PicturesTest::theWindowIconComesInEverySizeOfTheTheme() {
    QList<QSize> sizes = LoadPngIcon(QStringLiteral(":/icons")).availableSizes();
    std::sort(sizes.begin(), sizes.end(),
              [](const QSize& a, const QSize& b) { return a.width() < b.width(); });
    const QList<QSize> theme = {{16, 16}, {22, 22}, {24, 24},   {32, 32},
                                {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    QCOMPARE(sizes, theme);
}

void PicturesTest::theDecoderRefusesWhatIsNotAWholePicture_data() {
    QFile file(":/pictures/A1.jpg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    // The first start-of-scan marker ends the headers.
    const qsizetype scan = whole.indexOf(QByteArray("\xff\xda", 2));
    QVERIFY(scan > 0);
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a JPEG") << QByteArray("GIF89a this is not a picture at all");
    QTest::newRow("headers only") << whole.left(scan);
    QTest::newRow("cut in half") << whole.left(whole.size() / 2);
    QTest::newRow("end marker missing") << whole.left(whole.size() - 2);
    QByteArray scrambled = whole;
    for (qsizetype i = scan + 40; i < scrambled.size() - 100; i += 97) {
        scrambled[i] = static_cast<char>(0xff);
    }
    QTest::newRow("corrupt data") << scrambled;
}

void PicturesTest::theDecoderRefusesWhatIsNotAWholePicture() {
    QFETCH(QByteArray, data);
    bool refused = false;
    try {
        DecodeJpeg(data);
    } catch (const EJpegError& error) {
        refused = std::strlen(error.what()) > 0;
    }
    QVERIFY(refused);
}

void PicturesTest::theDecoderRefusesPicturesBeyondItsLimits_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("refused");
    const auto grey = [](int width, int height) {
        QImage image(width, height, QImage::Format_Grayscale8);
        image.fill(128);
        return EncodeJpeg(image, 50, true);
    };
    const int side = static_cast<int>(MaxPictureSide);
    QTest::newRow("widest") << grey(side, 8) << false;
    QTest::newRow("one column too wide") << grey(side + 1, 8) << true;
    QTest::newRow("one row too tall") << grey(8, side + 1) << true;
    QTest::newRow("largest area") << grey(side, side / 4) << false;
    QTest::newRow("one row too many") << grey(side, side / 4 + 1) << true;
    // A few hundred bytes whose header claims 65281 x 65496 pixels.
    QByteArray huge = grey(16, 16);
    const qsizetype frame = huge.indexOf(QByteArray("\xff\xc0", 2));
    QVERIFY(frame > 0);
    huge[frame + 5] = static_cast<char>(0xff); // height 0xffd8
    huge[frame + 6] = static_cast<char>(0xd8);
    huge[frame + 7] = static_cast<char>(0xff); // width 0xff01
    huge[frame + 8] = static_cast<char>(0x01);
    QTest::newRow("huge header, tiny file") << huge << true;
}

void PicturesTest::theDecoderRefusesPicturesBeyondItsLimits() {
    QFETCH(QByteArray, data);
    QFETCH(bool, refused);
    QString error;
    try {
        const QImage image = DecodeJpeg(data);
        QVERIFY(!image.isNull());
    } catch (const EJpegError& failure) {
        error = QString::fromUtf8(failure.what());
    }
    // Refused from the header, not after trying to make room for the picture.
    QCOMPARE(error.contains(QStringLiteral("larger than allowed")), refused);
}

void PicturesTest::aMissingPictureIsReportedNotFatal() {
    QVERIFY(LoadPicture(":/pictures/none.jpg").isNull());
    QString failure;
    QVERIFY(!PicturesAllDecoded(&failure));
    QVERIFY2(failure.contains(":/pictures/none.jpg"), qPrintable(failure));
}

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
