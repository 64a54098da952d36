// A PNG snapshot decodes to the picture's pixels, whatever the rows look like,
// and is about as small as what the framework's writer makes at quality 80.
#include "Startup.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray WriterBytes(const QImage &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(80);
    EXPECT_TRUE(writer.write(picture));
    return bytes;
}

// Noise, smooth ramps, flat areas with edges and text: each of the five row
// filters wins somewhere. Odd widths leave rows that are no multiple of 16 bytes.
QImage Picture(int kind, int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(2835);
    QRandomGenerator random(quint32(kind * 1000 + w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y,
                             kind == 0       ? random.generate() | 0xFF000000u
                                 : kind == 1 ? qRgb(x * 255 / w, y * 255 / h, (x * y) & 0xFF)
                                             : qRgb(x < w / 3 ? 250 : 40, 200, y % 7 == 0 ? 0 : 220));
    if (kind == 2) {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(QRectF(5.5, 3.5, w - 11, h - 7));
        p.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Cauchy 0.25"));
    }
    return picture;
}

} // namespace

// Sizes below and above the two-thread split (151x145: just above, an odd
// number of rows, less than deflate's window before the split).
TEST(SnapshotPng, DecodesToThePixelsAndStaysSmall)
{
    QTemporaryDir dir;
    const QByteArray file = QFile::encodeName(dir.filePath(QStringLiteral("s.png")));
    for (const QSize size : {QSize(752, 384), QSize(129, 140), QSize(2, 3000), QSize(11, 5), QSize(151, 145)}) {
        for (int kind = 0; kind < 3; ++kind) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " kind " << kind);
            const QImage picture = Picture(kind, size.width(), size.height());
            QString error;
            ASSERT_TRUE(WriteSnapshotImage(picture, file, error)) << error.toStdString();
            QFile written(QFile::decodeName(file));
            ASSERT_TRUE(written.open(QIODevice::ReadOnly));
            const QByteArray bytes = written.readAll();
            QImage decoded;
            ASSERT_TRUE(decoded.loadFromData(bytes, "png"));
            EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), picture);
            EXPECT_LE(bytes.size(), WriterBytes(picture).size() * 105 / 100);
        }
    }
}
