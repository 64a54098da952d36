#include "Kesl_keslbase.h"

#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr TColor kBack = 0x3366AA;
constexpr TColor kPen = 0x1020F0;
constexpr TColor kBrush = 0xE0D0C0;

using PixelSet = std::set<std::pair<int, int>>;

void Fill(TBitmap &bmp, TColor c)
{
    TCanvas &cv = bmp.Canvas();
    const TBrush keep = cv.Brush;
    cv.Brush.Color = c;
    cv.Brush.Style = bsSolid;
    cv.FillRect(0, 0, bmp.Width(), bmp.Height());
    cv.Brush = keep;
}

// A canvas set up the way the chart leaves it before a mark.
void Prepare(TBitmap &bmp, bool direct)
{
    Fill(bmp, kBack);
    TCanvas &c = bmp.Canvas();
    c.AllowDirectPixels = direct;
    c.Pen.Color = kPen;
    c.Brush.Color = kBrush;
    c.Brush.Style = bsSolid;
    c.Font.Name = "Arial";
    c.Font.Height = -13;
    c.Font.Color = clBlack;
}

PixelSet Painted(const TBitmap &bmp, TColor back = kBack)
{
    PixelSet out;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.Canvas().Pixel(x, y) != back)
                out.insert({x, y});
    return out;
}

QRect Bounds(const PixelSet &p)
{
    QRect r;
    for (auto [x, y] : p)
        r |= QRect(x, y, 1, 1);
    return r;
}

// Rows of '#' (set) and '.' (untouched), the first row at y0, the first column at x0.
PixelSet FromArt(int x0, int y0, const std::vector<std::string> &rows)
{
    PixelSet out;
    for (int r = 0; r < int(rows.size()); ++r)
        for (int col = 0; col < int(rows[r].size()); ++col)
            if (rows[r][col] == '#')
                out.insert({x0 + col, y0 + r});
    return out;
}

// Bounding box of each figure 0..51 relative to its centre (left, top, right,
// bottom, inclusive), read off the figure definitions: line ends are left out,
// rectangles and ellipses have exclusive right and bottom edges.
struct Box
{
    int l, t, r, b;
};
const Box kBoxes[52] = {
    {0, 0, 0, 0},   {-1, -1, 1, 1}, {-2, -2, 2, 2}, {-3, -3, 3, 3}, {-1, -1, 1, 1}, {-2, -2, 2, 2}, {-3, -3, 3, 3},
    {-1, -1, 1, 1}, {-2, -2, 2, 2}, {-3, -3, 3, 3}, {-1, -1, 1, 1}, {-2, -2, 2, 2}, {-3, -3, 3, 3}, {-3, -3, 3, 3},
    {-2, -2, 2, 2}, {-3, -3, 3, 3}, {-2, -2, 2, 2}, {-3, -3, 3, 3}, {-3, -3, 3, 3}, {-3, -3, 3, 3}, {-2, 0, 2, 2},
    {-3, 0, 3, 3},  {-2, -2, 2, 0}, {-3, -3, 3, 0}, {-3, -3, 3, 3}, {-3, -3, 3, 3}, {-2, -2, 2, 2}, {-2, -2, 1, 1},
    {-2, -2, 1, 1}, {-2, 0, 2, 2},  {-3, 0, 3, 3},  {-2, 0, 2, 2},  {-3, 0, 3, 3},  {-4, -3, 4, 4}, {-4, -3, 4, 4},
    {-4, -4, 4, 3}, {-4, -4, 4, 3}, {-3, -7, 3, 0}, {-3, -2, 3, 2}, {-3, -3, 3, 3}, {-2, -2, 3, 2}, {-2, -2, 3, 2},
    {-3, -3, 4, 3}, {-3, -3, 4, 3}, {-3, -2, 2, 2}, {-3, -2, 2, 2}, {-4, -3, 3, 3}, {-4, -3, 3, 3}, {-3, -3, 3, 3},
    {-4, -4, 4, 4}, {-4, -4, 4, 4}, {-4, -4, 4, 4},
};

bool IsOpen(int s)
{
    for (int o : {16, 17, 27, 31, 32, 33, 35, 39, 40, 42, 44, 46, 48, 49})
        if (o == s)
            return true;
    return false;
}

const int kFastShapes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 18, 25, 29, 30, 34, 36, 41, 43, 45, 47};

} // namespace

TEST(Marks, RunningMeanShapesPixelForPixel)
{
    struct Case
    {
        int shape;
        int x0, y0;
        std::vector<std::string> art;
    };
    const std::vector<Case> cases = {
        {1, 9, 9, {".#.", "###", ".#."}},
        {7, 9, 9, {"###", "###", "###"}},
        {36,
         6,
         6,
         {"....#....", "...###...", "...###...", "..#####..", "..#####..", ".#######.", ".#######.", "#########"}},
        {34,
         6,
         7,
         {"#########", ".#######.", ".#######.", "..#####..", "..#####..", "...###...", "...###...", "....#...."}},
    };
    for (bool direct : {true, false})
        for (const Case &k : cases) {
            TBitmap bmp(21, 21);
            Prepare(bmp, direct);
            DrawMark(bmp.Canvas(), std::uint8_t(k.shape), 10, 10);
            EXPECT_EQ(Painted(bmp), FromArt(k.x0, k.y0, k.art)) << "shape " << k.shape << " direct " << direct;
            for (auto [x, y] : Painted(bmp))
                EXPECT_EQ(bmp.Canvas().Pixel(x, y), kPen);
            EXPECT_EQ(bmp.Canvas().Brush.Color, kBrush);
        }
}

TEST(Marks, EveryFigureFillsItsBoxInThePenColourAndRestoresTheBrush)
{
    for (bool direct : {true, false})
        for (int s = 0; s <= 51; ++s) {
            TBitmap bmp(30, 30);
            Prepare(bmp, direct);
            TCanvas &c = bmp.Canvas();
            DrawMark(c, std::uint8_t(s), 15, 14);
            const PixelSet p = Painted(bmp);
            const Box &b = kBoxes[s];
            EXPECT_EQ(Bounds(p), QRect(QPoint(15 + b.l, 14 + b.t), QPoint(15 + b.r, 14 + b.b)))
                << "shape " << s << " direct " << direct;
            for (auto [x, y] : p)
                ASSERT_EQ(c.Pixel(x, y), kPen) << "shape " << s << " at " << x << "," << y;
            EXPECT_EQ(c.Brush.Color, kBrush) << s;
            EXPECT_EQ(c.Pen.Color, kPen) << s;
        }
}

TEST(Marks, BrushStyleIsSolidAfterOpenFiguresAndStarsOnly)
{
    for (int s = 0; s <= 51; ++s) {
        TBitmap bmp(30, 30);
        Prepare(bmp, true);
        TCanvas &c = bmp.Canvas();
        c.Brush.Style = bsDiagCross;
        DrawMark(c, std::uint8_t(s), 15, 15);
        const bool solid = IsOpen(s) || s == 50 || s == 51;
        EXPECT_EQ(c.Brush.Style, solid ? bsSolid : bsDiagCross) << s;
        EXPECT_EQ(c.Brush.Color, kBrush) << s;
    }
}

TEST(Marks, OpenFiguresLeaveTheirInsideAlone)
{
    // Centre pixel of each open figure whose outline does not pass through it.
    for (int s : {10, 11, 12, 16, 17, 19, 33, 35, 42, 46}) {
        TBitmap bmp(30, 30);
        Prepare(bmp, true);
        DrawMark(bmp.Canvas(), std::uint8_t(s), 15, 15);
        EXPECT_EQ(bmp.Canvas().Pixel(15, 15), kBack) << s;
    }
}

TEST(Marks, CharactersAreCentredInTheirTextBox)
{
    for (int s = 52; s <= 255; ++s) {
        if (s >= 0x80 && s <= 0x9F)
            continue; // drawn as other code points; see LetterAIsDrawnCentredOnThePoint
        TBitmap bmp(60, 60);
        Prepare(bmp, true);
        TCanvas &c = bmp.Canvas();
        const QFontMetrics fm(c.Font.ToQFont());
        const int w = fm.horizontalAdvance(QString(QChar(s)));
        const int h = fm.height();
        const QRect box(30 - w / 2, 30 - h / 2, w, h);
        // With the solid brush the whole text box is painted, the glyph on top.
        DrawMark(c, std::uint8_t(s), 30, 30);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                const TColor px = c.Pixel(x, y);
                if (box.contains(x, y))
                    ASSERT_TRUE(px == kBrush || px == clBlack) << s << " at " << x << "," << y;
                else
                    ASSERT_TRUE(px == kBack || px == clBlack) << s << " at " << x << "," << y;
            }
        EXPECT_EQ(c.Brush.Color, kBrush) << s;
        EXPECT_EQ(c.Brush.Style, bsSolid) << s;

        // With a clear brush only the glyph is drawn, inside the same box (a
        // glyph may overhang its advance by a pixel).
        TBitmap glyph(60, 60);
        Prepare(glyph, true);
        glyph.Canvas().Brush.Style = bsClear;
        DrawMark(glyph.Canvas(), std::uint8_t(s), 30, 30);
        for (auto [x, y] : Painted(glyph))
            EXPECT_TRUE(box.adjusted(-1, 0, 1, 0).contains(x, y)) << s << " at " << x << "," << y;
    }
}

TEST(Marks, LetterAIsDrawnCentredOnThePoint)
{
    TBitmap bmp(60, 60);
    Prepare(bmp, true);
    TCanvas &c = bmp.Canvas();
    c.Brush.Style = bsClear;
    DrawMark(c, 65, 30, 30);
    const PixelSet ink = Painted(bmp);
    ASSERT_GT(ink.size(), 10u);
    const QRect r = Bounds(ink);
    // The glyph straddles the point: ink both left and right, above and below.
    EXPECT_LE(std::abs(r.left() + r.right() - 60), 2) << r.left() << ".." << r.right();
    EXPECT_LT(r.top(), 30);
    EXPECT_GT(r.bottom(), 30);
    for (auto [x, y] : ink)
        EXPECT_EQ(c.Pixel(x, y), clBlack);

    // The same pixels as writing "A" at the centred text position by hand.
    TBitmap ref(60, 60);
    Prepare(ref, true);
    ref.Canvas().Brush.Style = bsClear;
    const int w = ref.Canvas().TextWidth("A"), h = ref.Canvas().TextHeight("A");
    ref.Canvas().TextOut(30 - w / 2, 30 - h / 2, "A");
    EXPECT_EQ(Painted(ref), ink);

    // Code 149 is the bullet of the Western character set.
    TBitmap bullet(60, 60), bullet2(60, 60);
    Prepare(bullet, true);
    Prepare(bullet2, true);
    DrawMark(bullet.Canvas(), 149, 20, 20);
    const QString dot(QChar(0x2022));
    bullet2.Canvas().TextOut(20 - bullet2.Canvas().TextWidth(dot) / 2, 20 - bullet2.Canvas().TextHeight(dot) / 2, dot);
    EXPECT_EQ(bullet.Image(), bullet2.Image());

    // Code 52 is the digit four.
    TBitmap four(60, 60), four2(60, 60);
    Prepare(four, true);
    Prepare(four2, true);
    DrawMark(four.Canvas(), 52, 20, 20);
    const int w4 = four2.Canvas().TextWidth("4"), h4 = four2.Canvas().TextHeight("4");
    four2.Canvas().TextOut(20 - w4 / 2, 20 - h4 / 2, "4");
    EXPECT_EQ(four.Image(), four2.Image());
}

// Also on a bitmap wider than 16384 pixels, with figures on both sides of that column.
using MarksOn = testing::TestWithParam<std::pair<int, int>>;
TEST_P(MarksOn, DirectPixelsMatchTheCanvasCallsEverywhere)
{
    const auto [W, H] = GetParam();
    const QPoint positions[] = {
        {11, 8},    {0, 0},       {-3, 5},      {W - 1, H - 1},     {W + 2, 3},       {5, -4},
        {W, H},     {-1, -1},     {W + 8, 8},   {8, H + 8},         {-9, -9},         {W + 9, H + 9},
        {2, H - 2}, {INT_MIN, 4}, {4, INT_MAX}, {INT_MAX, INT_MIN}, {-100000, 100000}};
    for (TColor pen : {kPen, clWindowText})
        for (int s : kFastShapes)
            for (const QPoint &pos : positions) {
                TBitmap fast(W, H), slow(W, H);
                Prepare(fast, true);
                Prepare(slow, false);
                fast.Canvas().Pen.Color = slow.Canvas().Pen.Color = pen;
                fast.Canvas().MoveTo(3, 4);
                slow.Canvas().MoveTo(3, 4);
                DrawMark(fast.Canvas(), std::uint8_t(s), pos.x(), pos.y());
                DrawMark(slow.Canvas(), std::uint8_t(s), pos.x(), pos.y());
                ASSERT_EQ(fast.Image(), slow.Image()) << "shape " << s << " at " << pos.x() << "," << pos.y();
                EXPECT_EQ(fast.Canvas().PenPos(), slow.Canvas().PenPos());
                EXPECT_EQ(fast.Canvas().Brush.Color, slow.Canvas().Brush.Color);
                EXPECT_EQ(fast.Canvas().Brush.Style, slow.Canvas().Brush.Style);
            }
}

INSTANTIATE_TEST_SUITE_P(Widths, MarksOn, testing::Values(std::pair(23, 17), std::pair(16390, 9)));

TEST(Marks, PensAndBrushesTheShortcutCannotHonourGiveTheCanvasResult)
{
    struct Setup
    {
        const char *name;
        TPenMode mode;
        int width;
        TPenStyle style;
        TBrushStyle brush;
    };
    const Setup setups[] = {
        {"xor", pmXor, 1, psSolid, bsSolid},        {"not", pmNot, 1, psSolid, bsSolid},
        {"wide", pmCopy, 3, psSolid, bsSolid},      {"dashed", pmCopy, 1, psDash, bsSolid},
        {"clear pen", pmCopy, 1, psClear, bsSolid}, {"clear brush", pmCopy, 1, psSolid, bsClear},
        {"hatched", pmCopy, 1, psSolid, bsCross},
    };
    for (const Setup &st : setups)
        for (int s : kFastShapes)
            for (const QPoint &pos : {QPoint(10, 10), QPoint(0, 19)}) {
                TBitmap fast(20, 20), slow(20, 20);
                for (TBitmap *b : {&fast, &slow}) {
                    Prepare(*b, b == &fast);
                    TCanvas &c = b->Canvas();
                    c.Pen.Mode = st.mode;
                    c.Pen.Width = st.width;
                    c.Pen.Style = st.style;
                    c.Brush.Style = st.brush;
                    DrawMark(c, std::uint8_t(s), pos.x(), pos.y());
                }
                ASSERT_EQ(fast.Image(), slow.Image()) << st.name << " shape " << s;
                EXPECT_EQ(fast.Canvas().Brush.Style, st.brush);
            }
}

TEST(Marks, FiguresAreClippedExactlyAtTheBitmapEdge)
{
    // A mark near or across the edge of a small bitmap shows exactly the part
    // of the same mark inside that window of a large bitmap.
    constexpr int W = 12, H = 10, M = 20;
    for (bool direct : {true, false})
        for (int s : std::vector<int> {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                                       18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35,
                                       36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 65, 200})
            for (const QPoint &pos : {QPoint(-2, 3), QPoint(W + 1, 4), QPoint(5, -3), QPoint(6, H + 2), QPoint(-4, -4),
                                      QPoint(W + 3, H + 3), QPoint(W - 1, 0), QPoint(3, H + 7)}) {
                TBitmap small(W, H), big(W + 2 * M, H + 2 * M);
                Prepare(small, direct);
                Prepare(big, direct);
                DrawMark(small.Canvas(), std::uint8_t(s), pos.x(), pos.y());
                DrawMark(big.Canvas(), std::uint8_t(s), pos.x() + M, pos.y() + M);
                ASSERT_EQ(small.Image(), big.Image().copy(M, M, W, H))
                    << "shape " << s << " at " << pos.x() << "," << pos.y() << " direct " << direct;
            }
}

TEST(Marks, MarksFarAwayDrawNothingButMoveThePenLikeNearOnes)
{
    for (int s = 0; s <= 255; ++s) {
        TBitmap nearBmp(40, 40), farBmp(8, 8);
        Prepare(nearBmp, false);
        Prepare(farBmp, false);
        nearBmp.Canvas().MoveTo(1, 2);
        farBmp.Canvas().MoveTo(1, 2);
        DrawMark(nearBmp.Canvas(), std::uint8_t(s), 20, 20);
        DrawMark(farBmp.Canvas(), std::uint8_t(s), 1000020, -999980);
        EXPECT_TRUE(Painted(farBmp).empty()) << s;
        const QPoint nearMove = nearBmp.Canvas().PenPos() - QPoint(20, 20);
        const QPoint farMove = farBmp.Canvas().PenPos() - QPoint(1000020, -999980);
        if (nearBmp.Canvas().PenPos() == QPoint(1, 2))
            EXPECT_EQ(farBmp.Canvas().PenPos(), QPoint(1, 2)) << s;
        else
            EXPECT_EQ(farMove, nearMove) << s;

        // The extremes of the coordinate range neither overflow nor draw.
        for (const QPoint &pos : {QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX), QPoint(INT_MAX, 3)}) {
            DrawMark(farBmp.Canvas(), std::uint8_t(s), pos.x(), pos.y());
            EXPECT_TRUE(Painted(farBmp).empty()) << s;
        }
    }
}

TEST(Marks, EmptyBitmapTakesMarksWithoutEffect)
{
    TBitmap bmp;
    for (int s : {0, 1, 7, 16, 34, 50, 65}) {
        bmp.Canvas().Brush.Color = kBrush;
        DrawMark(bmp.Canvas(), std::uint8_t(s), 0, 0);
        EXPECT_EQ(bmp.Canvas().Brush.Color, kBrush);
    }
    EXPECT_TRUE(bmp.Empty());
}

TEST(MarkRun, GivesThePixelsOfDrawMarkAtEveryPoint)
{
    const QPoint points[] = {{10, 10}, {0, 0}, {-3, 5}, {39, 29}, {42, 31}, {20, -2}, {-100000, 7}, {5, 2000000000}};
    for (int shape : {0, 1, 3, 6, 7, 9, 18, 25, 29, 34, 36, 43, 47, 10, 24, 50, 65}) {
        for (bool solidBrush : {true, false}) {
            TBitmap expected(40, 30), actual(40, 30);
            for (TBitmap *b : {&expected, &actual}) {
                b->Canvas().Pen.Color = clRed;
                b->Canvas().Brush.Color = clBlue;
                b->Canvas().Brush.Style = solidBrush ? bsSolid : bsClear;
            }
            TMarkRun run(actual.Canvas(), std::uint8_t(shape));
            EXPECT_EQ(run.Shape(), shape);
            for (const QPoint &p : points) {
                DrawMark(expected.Canvas(), std::uint8_t(shape), p.x(), p.y());
                run.Draw(p.x(), p.y());
            }
            EXPECT_EQ(actual.Image(), expected.Image()) << "shape " << shape << " solid " << solidBrush;
        }
    }
    TBitmap empty;
    TMarkRun none(empty.Canvas(), 7);
    none.Draw(0, 0); // a surface without pixels takes nothing
    EXPECT_TRUE(empty.Empty());
}

// On paper (here a PDF page, read back by poppler where installed) the
// figures with a printer form are drawn as lines instead of their screen
// patterns; a page of any other kind is no paper.
TEST(Marks, PaperTakesThePrinterFormsOfTheFigures)
{
    QPicture picture;
    EXPECT_FALSE(TCanvas(&picture).IsPrinter() || TBitmap(4, 4).Canvas().IsPrinter());
    const QString poppler = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (poppler.isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("m.pdf")), png = dir.filePath(QStringLiteral("m"));
    for (int shape : {1, 2, 3, 4, 5, 6, 18, 25, 9}) {
        TBitmap screen(41, 41);
        Prepare(screen, false);
        DrawMark(screen.Canvas(), std::uint8_t(shape), 20, 20);
        {
            QPdfWriter writer(pdf);
            writer.setResolution(96);
            writer.setPageSize(QPageSize(QSizeF(41, 41) * 0.75, QPageSize::Point));
            writer.setPageMargins(QMarginsF());
            QPainter painter(&writer);
            TCanvas c(painter);
            ASSERT_TRUE(c.IsPrinter());
            c.Pen = screen.Canvas().Pen;
            c.Brush = screen.Canvas().Brush;
            DrawMark(c, std::uint8_t(shape), 20, 20);
        }
        QProcess::execute(poppler, {"-r", "96", "-aa", "no", "-aaVector", "no", "-png", "-singlefile", pdf, png});
        const QImage page = QImage(png + ".png").copy(0, 0, 41, 41); // poppler rounds the size up
        PixelSet printed;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 41; ++x)
                if (page.pixel(x, y) != page.pixel(0, 0))
                    printed.insert({x, y});
        ASSERT_FALSE(printed.empty()) << shape;
        EXPECT_TRUE(QRect(15, 15, 11, 11).contains(Bounds(printed))) << shape;
        // The checker (18) is the same dots both ways; a plain square (9) has no printer form.
        EXPECT_EQ(printed != Painted(screen), shape != 9 && shape != 18) << shape;
    }
}
