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

#include <array>
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
    ASSERT_EQ(SaveSamplesCsv(dir.filePath("s.csv"), values, std::size(values), {"seed: 7"}), QString());
    EXPECT_NE(SaveSamplesCsv(dir.filePath("no/s.csv"), values, 1), QString());
    QFile file(dir.filePath("s.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n'); // whatever the locale, '.' and one value a line
    ASSERT_EQ(lines.size(), qsizetype(std::size(values)) + 3);
    EXPECT_EQ(lines.takeFirst(), "# seed: 7");
    EXPECT_EQ(lines.takeFirst(), "sample");
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

// Dark pixels of a (darker than mid-grey) with no dark pixel of b within one pixel.
int Misses(const QImage &a, const QImage &b)
{
    auto dark = [](const QImage &i, int x, int y) { return i.valid(x, y) && qGray(i.pixel(x, y)) < 128; };
    int misses = 0;
    for (int i = 0; i < a.width() * a.height(); ++i) {
        const int x = i % a.width(), y = i / a.width();
        int near = 0;
        for (int k = 0; k < 9; ++k)
            near += dark(b, x + k % 3 - 1, y + k / 3 - 1);
        misses += dark(a, x, y) && !near;
    }
    return misses;
}

// c.svg drawn by Qt and c.pdf by poppler at zoom times the chart's size.
std::array<QImage, 2> Rasters(const QTemporaryDir &dir, int zoom)
{
    QImage svg(QSize(300, 200) * zoom, QImage::Format_RGB32);
    svg.fill(Qt::white);
    QPainter painter(&svg);
    QSvgRenderer(dir.filePath("c.svg")).render(&painter);
    const QString png = dir.filePath(QString::number(zoom));
    QProcess::execute(QStandardPaths::findExecutable("pdftoppm"),
                      {"-r", QString::number(96 * zoom), "-png", "-singlefile", dir.filePath("c.pdf"), png});
    return {svg, QImage(png + ".png")};
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
    for (int shape : {2, 5, 9, 25})
        rc.AddMark(20 + 3 * shape, 6, std::uint8_t(shape));
    rc.Paint();
    for (const char *name : {"c.png", "c.svg", "c.pdf"})
        ASSERT_EQ(SaveChartPicture(&rc, dir.filePath(name), 1), QString()) << name;
    QFile svg(dir.filePath("c.svg"));
    const QByteArray svgText = svg.open(QIODevice::ReadOnly) ? svg.readAll() : QByteArray();
    EXPECT_TRUE(!svgText.contains("<image") && svgText.contains(">-100<")); // lines and text, no picture of them
    QProcess text;
    text.start(QStandardPaths::findExecutable("pdftotext"), {dir.filePath("c.pdf"), "-"});
    EXPECT_TRUE(text.waitForFinished(60000) && text.readAllStandardOutput().contains("-100"));
    const QImage screen(dir.filePath("c.png"));
    for (const QImage &page : Rasters(dir, 1)) // glyphs may differ a little, lines and fills not
        EXPECT_TRUE(Misses(screen, page) <= 8 && Misses(page, screen) <= 8);
    const QPoint edge = rc.DataToPixel(1, -30, 3) * 8; // 8x: a hard step at the bar's left edge
    for (const QImage &zoomed : Rasters(dir, 8)) {
        int steps = 0;
        for (int x = edge.x() - 12; x < edge.x() + 12; ++x)
            steps += zoomed.pixel(x, edge.y()) != zoomed.pixel(x + 1, edge.y());
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
