// The program icon as the widgets and Windows see it: every size under
// :/icons, and the .ico built from the same pictures.
#include "IconSizes.h"

#include <QImage>
#include <QImageReader>
#include <QTest>

namespace {

QImage comparable(const QImage &image) {
    // Fully transparent pixels may keep any colour; premultiplying makes
    // them all equal.
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class TestIconResources : public QObject {
    Q_OBJECT
private slots:
    void resourceImage_data();
    void resourceImage();
    void windowsIcon_data();
    void windowsIcon();
    void windowsIconHasNoOtherSizes();
};

void TestIconResources::resourceImage_data() {
    QTest::addColumn<int>("size");
    for (int size : morvex::test::IconSizes)
        QTest::addRow("%d", size) << size;
}

// Reached through a static library, and no Q_INIT_RESOURCE anywhere.
void TestIconResources::resourceImage() {
    QFETCH(int, size);
    const QImage image(QStringLiteral(":/icons/morvex-%1.png").arg(size));
    QVERIFY2(!image.isNull(), "missing from the resources");
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
    // Transparent around the rounded corners, opaque in the middle.
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

void TestIconResources::windowsIcon_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 256})
        QTest::addRow("%d", size) << size;
}

// The .ico is generated from the PNGs; a stale one shows here.
void TestIconResources::windowsIcon() {
    QFETCH(int, size);
    QImageReader reader(QStringLiteral(MORVEX_ICO_FILE), "ico");
    QImage found;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        if (image.size() == QSize(size, size))
            found = image;
    }
    QVERIFY2(!found.isNull(), "size missing from the .ico");
    const QImage png(QStringLiteral(":/icons/morvex-%1.png").arg(size));
    QVERIFY(comparable(found) == comparable(png));
}

void TestIconResources::windowsIconHasNoOtherSizes() {
    QImageReader reader(QStringLiteral(MORVEX_ICO_FILE), "ico");
    QCOMPARE(reader.imageCount(), 4);
}

QTEST_MAIN(TestIconResources)
#include "tst_iconresources.moc"
