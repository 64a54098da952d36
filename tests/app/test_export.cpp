// The chart's picture and the samples saved for a class; the window scaled for a projector.
#include "ChartExport.h"
#include "Kesl_kurvo.h"
#include "MainChartDesign.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>

namespace {

// 2 x 2 blocks of a 2x picture that are not one colour, over an area given at
// 1x: a magnified picture has none, a drawn one has them along glyph edges.
int FineBlocks(const QString &file, const QRect &area)
{
    const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
    int fine = 0;
    for (int y = 2 * area.top(); y <= 2 * area.bottom(); y += 2)
        for (int x = 2 * area.left(); x <= 2 * area.right(); x += 2) {
            const QRgb c = image.pixel(x, y);
            fine += image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c;
        }
    return fine;
}

TEST(Export, FilesReadBackAndTwiceTheSizeIsDrawn)
{
    QTemporaryDir dir;
    const double values[] = {-0.0, 0.1, 1.0 / 3, -2.5e-300, 4.9e-324, 1.7976931348623157e308, INFINITY};
    ASSERT_EQ(SaveSamplesCsv(dir.filePath("s.csv"), values, std::size(values)), QString());
    EXPECT_NE(SaveSamplesCsv(dir.filePath("no/s.csv"), values, 1), QString());
    QFile file(dir.filePath("s.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n'); // whatever the locale, '.' and one value a line
    ASSERT_EQ(lines.size(), qsizetype(std::size(values)) + 1);
    for (qsizetype i = 0; i < qsizetype(std::size(values)); ++i) {
        double back = 0;
        std::from_chars(lines[i].cbegin(), lines[i].cend(), back);
        EXPECT_EQ(std::bit_cast<quint64>(back), std::bit_cast<quint64>(values[i])) << lines[i].data();
    }

    TKurvo rc;
    ApplyMainChartDesign(rc);
    rc.SetBounds(0, 0, 300, 200);
    rc.SetPaintSuppressed(false);
    rc.setWindowTitle(QStringLiteral("Means & <Cauchy>"));
    for (const char *name : {"1.png", "c.svg", "c.pdf"})
        ASSERT_EQ(SaveChartPicture(&rc, dir.filePath(name), 1), QString()) << name;
    for (const char *name : {"2.png", "2.svg"})
        ASSERT_EQ(SaveChartPicture(&rc, dir.filePath(name), 2), QString()) << name;
    EXPECT_NE(SaveChartPicture(&rc, dir.filePath("s.csv"), 1), QString()); // not a picture type
    EXPECT_EQ(file.size(), QFile(dir.filePath("s.csv")).size()); // the old file kept
    EXPECT_EQ(QImage(dir.filePath("1.png")).size(), QSize(300, 200));
    EXPECT_EQ(QImage(dir.filePath("2.png")).size(), QSize(600, 400));
    EXPECT_GT(FineBlocks(dir.filePath("2.png"), QRect(0, 0, 300, 200)), 20);
    ASSERT_EQ(CopyChartPicture(&rc, 2), QString());
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(600, 400));
    EXPECT_EQ(QSvgRenderer(dir.filePath("2.svg")).viewBox(), QRect(0, 0, 300, 200));
    QFile svgFile(dir.filePath("c.svg"));
    EXPECT_TRUE(svgFile.open(QIODevice::ReadOnly) &&
                svgFile.readAll().contains("<title>Means &amp; &lt;Cauchy&gt;</title>"));
    EXPECT_GT(QFile(dir.filePath("c.pdf")).size(), 1000);
    QProcess info; // when installed, pdfinfo reads one page of the chart's size at 96 pixels per inch
    info.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {dir.filePath("c.pdf")});
    if (info.waitForFinished()) {
        EXPECT_TRUE(info.readAllStandardOutput().contains("225 x 150 pts"));
    }
}

// Pixels darker than mid-grey: lines, frames, text and the darker fills.
QImage Dark(const QImage &image)
{
    QImage dark(image.size(), QImage::Format_Mono);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark.setPixel(x, y, qGray(image.pixel(x, y)) < 128);
    return dark;
}

// Dark pixels of a with no dark pixel of b within one pixel.
int Unmatched(const QImage &a, const QImage &b)
{
    int misses = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            bool near = !a.pixelIndex(x, y);
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = b.valid(x + dx, y + dy) && b.pixelIndex(x + dx, y + dy);
            misses += !near;
        }
    return misses;
}

QImage SvgAt(const QString &file, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QSvgRenderer(file).render(&painter);
    return image;
}

QImage PdfAt(const QString &file, int dpi)
{
    const QString out = file + QString::number(dpi);
    QProcess p;
    p.start(
        QStandardPaths::findExecutable(QStringLiteral("pdftoppm")),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), QStringLiteral("-singlefile"), file, out});
    return p.waitForFinished(60000) ? QImage(out + QStringLiteral(".png")) : QImage();
}

TEST(Export, VectorPicturesShowTheScreenPictureSharply)
{
    QTemporaryDir dir;
    TKurvo rc;
    ApplyMainChartDesign(rc);
    rc.SetBounds(0, 0, 300, 200);
    rc.SetPaintSuppressed(false);
    rc.SetDataColor(clNavy);
    rc.SetFillColor(clNavy);
    rc.AddBox(-80, 0, -50, 7);
    rc.AddRect(-30, 0, 10, 4.5);
    rc.AddLine(-100, 1, 100, 9);
    rc.MoveTo(-90, 9);
    rc.DrawTo(0, 2);
    rc.DrawTo(90, 8);
    for (int shape : {2, 5, 9, 25})
        rc.AddMark(20 + 15 * shape / 5.0, 6, std::uint8_t(shape));
    rc.Paint();
    for (const char *name : {"c.png", "c.svg", "c.pdf"})
        ASSERT_EQ(SaveChartPicture(&rc, dir.filePath(name), 1), QString()) << name;
    QFile svgFile(dir.filePath("c.svg"));
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svgText = svgFile.readAll();
    EXPECT_FALSE(svgText.contains("<image")); // lines and text, no picture of them
    EXPECT_TRUE(svgText.contains(">100<"));
    const QImage screen = Dark(QImage(dir.filePath("c.png")));
    const QImage pdf = PdfAt(dir.filePath("c.pdf"), 96);
    for (const QImage &page : {Dark(SvgAt(dir.filePath("c.svg"), QSize(300, 200))), Dark(pdf)}) {
        ASSERT_EQ(page.size(), screen.size());
        // Glyphs may be drawn a little differently; lines and fills are where they are.
        EXPECT_LE(Unmatched(screen, page), 8);
        EXPECT_LE(Unmatched(page, screen), 8);
    }
    QProcess text;
    text.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")), {dir.filePath("c.pdf"), "-"});
    ASSERT_TRUE(text.waitForFinished(60000));
    EXPECT_TRUE(text.readAllStandardOutput().contains("-100"));
    // Eight times as large: the left edge of the bar is a hard step, no blur.
    const QPoint edge = rc.DataToPixel(1, -30, 3);
    for (const QImage &zoomed : {SvgAt(dir.filePath("c.svg"), QSize(2400, 1600)), PdfAt(dir.filePath("c.pdf"), 768)}) {
        ASSERT_EQ(zoomed.size(), QSize(2400, 1600));
        const int y = 8 * edge.y() + 4;
        int steps = 0;
        for (int x = 8 * edge.x() - 12; x < 8 * edge.x() + 12; ++x)
            steps += zoomed.pixel(x, y) != zoomed.pixel(x + 1, y);
        EXPECT_EQ(steps, 1);
    }
}

TEST(Export, WindowForAProjectorIsDrawnAtTheScale)
{
    QTemporaryDir dir;
    auto run = [&](const char *file, QStringList args, const char *factor = "1") {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(factor));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("CAUCHY_BIN_DIR") + QStringLiteral("/cauchy"),
                QStringList {"--seed", "7", "--snapshot", dir.filePath(file)} + args);
        return p.waitForFinished(60000) ? p.exitCode() : -1;
    };
    ASSERT_EQ(run("2.png", {"--scale", "2"}), 0);
    EXPECT_EQ(run("5.png", {"--scale", "5"}), 2);
    EXPECT_EQ(QImage(dir.filePath("2.png")).size(), QSize(1504, 768));
    EXPECT_GT(FineBlocks(dir.filePath("2.png"), QRect(0, 73, 752, 223)), 500); // the chart
    EXPECT_GT(FineBlocks(dir.filePath("2.png"), QRect(380, 8, 120, 24)), 100); // the location's number field
    EXPECT_EQ(run("e.png", {}, "2"), 0); // the environment honoured alike
    EXPECT_EQ(QImage(dir.filePath("e.png")), QImage(dir.filePath("2.png")));
}

} // namespace
