#include "Kesl_hreflet.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr TColor kBlue = 0xFF0000;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;

TFont LinkFont(TColor color, TFontStyles style)
{
    TFont f;
    f.Name = QStringLiteral("Courier New");
    f.Height = -13;
    f.Color = color;
    f.Style = style;
    return f;
}

// A label as a form's setup code makes it: settings applied while loading.
std::unique_ptr<THreflet> LoadedLink(const QString &name = QStringLiteral("HrefletTest"))
{
    auto l = std::make_unique<THreflet>();
    l->setObjectName(name);
    l->BeginLoading();
    l->setGeometry(0, 0, 200, 16);
    l->SetCaption(QStringLiteral("Example pages"));
    l->SetFont(LinkFont(kBlue, fsBold));
    l->SetFontActive(LinkFont(kRed, fsBold | fsUnderline));
    l->Loaded();
    return l;
}

void Enter(THreflet &l)
{
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&l, &e);
}

void Leave(THreflet &l)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(&l, &e);
}

// Records what the shell was asked to do, answering with a set result.
class ShellRecorder
{
public:
    struct Call
    {
        QString verb, target, parameters;
    };

    explicit ShellRecorder(int result = 42)
    {
        m_old = SetShellOpenHandler([this, result](const QString &verb, const QString &target, const QString &params) {
            calls.push_back({verb, target, params});
            return result;
        });
    }
    ~ShellRecorder() { SetShellOpenHandler(m_old); }

    std::vector<Call> calls;

private:
    TShellOpenHandler m_old;
};

std::unique_ptr<TBitmap> Picture(const THreflet &l, TColor underlay = kGreen)
{
    auto bmp = std::make_unique<TBitmap>(l.width(), l.height());
    TCanvas &c = bmp->Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = underlay;
    c.FillRect(0, 0, l.width(), l.height());
    l.PaintOn(c);
    return bmp;
}

int Count(const TBitmap &bmp, TColor color)
{
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            n += bmp.Canvas().Pixel(x, y) == color;
    return n;
}

// Columns (first, last) holding pixels that are neither of the two backgrounds.
std::pair<int, int> InkColumns(const TBitmap &bmp, TColor background)
{
    int first = -1, last = -1;
    for (int x = 0; x < bmp.Width(); ++x)
        for (int y = 0; y < bmp.Height(); ++y)
            if (bmp.Canvas().Pixel(x, y) != ColorToRGB(background)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

// Rows holding ink, as separate bands (runs of rows).
int InkBands(const TBitmap &bmp, TColor background)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < bmp.Height(); ++y) {
        bool ink = false;
        for (int x = 0; x < bmp.Width() && !ink; ++x)
            ink = bmp.Canvas().Pixel(x, y) != ColorToRGB(background);
        if (ink && !inBand)
            ++bands;
        inBand = ink;
    }
    return bands;
}

} // namespace

TEST(HrefletProperties, UrlAndTaskParamsAreStoredWithoutOuterBlanks)
{
    struct Case
    {
        const char *given, *stored;
    } cases[] = {
        {"  http://example.org/a b  ", "http://example.org/a b"},
        {"\tC:/Tools/prog.exe\r\n", "C:/Tools/prog.exe"},
        {"     ", ""},
        {"", ""},
        {"x", "x"},
    };
    THreflet l;
    for (const Case &c : cases) {
        l.SetURL(QString::fromLatin1(c.given));
        EXPECT_EQ(l.URL(), QString::fromLatin1(c.stored)) << c.given;
        l.SetTaskParams(QString::fromLatin1(c.given));
        EXPECT_EQ(l.TaskParams(), QString::fromLatin1(c.stored)) << c.given;
    }
}

TEST(HrefletProperties, ANewLabelStartsWithTheDefaultFontAndEmptyTargets)
{
    THreflet l;
    EXPECT_EQ(l.Font(), TFont());
    EXPECT_EQ(l.FontActive(), TFont());
    EXPECT_TRUE(l.URL().isEmpty());
    EXPECT_TRUE(l.TaskParams().isEmpty());
}

TEST(HrefletHover, EnteringShowsTheActiveFontAndLeavingTheLoadedOne)
{
    auto l = LoadedLink();
    std::vector<TFont> seenAtEnter, seenAtLeave;
    l->OnMouseEnter = [&](QObject *s) {
        EXPECT_EQ(s, l.get());
        seenAtEnter.push_back(l->Font());
    };
    l->OnMouseLeave = [&](QObject *) { seenAtLeave.push_back(l->Font()); };

    Enter(*l);
    EXPECT_EQ(l->Font(), LinkFont(kRed, fsBold | fsUnderline));
    Leave(*l);
    EXPECT_EQ(l->Font(), LinkFont(kBlue, fsBold));
    // The events fire before the font changes.
    ASSERT_EQ(seenAtEnter.size(), 1u);
    ASSERT_EQ(seenAtLeave.size(), 1u);
    EXPECT_EQ(seenAtEnter[0], LinkFont(kBlue, fsBold));
    EXPECT_EQ(seenAtLeave[0], LinkFont(kRed, fsBold | fsUnderline));
}

TEST(HrefletHover, ADisabledLabelKeepsItsFontButStillReportsTheMouse)
{
    auto l = LoadedLink();
    int events = 0;
    l->OnMouseEnter = [&](QObject *) { ++events; };
    l->OnMouseLeave = [&](QObject *) { ++events; };
    l->setEnabled(false);
    Enter(*l);
    EXPECT_EQ(l->Font(), LinkFont(kBlue, fsBold));
    Leave(*l);
    EXPECT_EQ(l->Font(), LinkFont(kBlue, fsBold));
    EXPECT_EQ(events, 2);
}

TEST(HrefletHover, LeavingReturnsToTheFontOfLoadingNotALaterOne)
{
    auto l = LoadedLink();
    l->SetFont(LinkFont(kGreen, 0));
    Enter(*l);
    Leave(*l);
    EXPECT_EQ(l->Font(), LinkFont(kBlue, fsBold));
}

TEST(HrefletHover, ALabelMadeAtRunTimeFallsBackToTheDefaultFont)
{
    THreflet l;
    l.resize(100, 16);
    l.SetFont(LinkFont(kBlue, fsBold));
    l.SetFontActive(LinkFont(kRed, fsUnderline));
    Enter(l);
    EXPECT_EQ(l.Font(), LinkFont(kRed, fsUnderline));
    Leave(l);
    EXPECT_EQ(l.Font(), TFont());
}

TEST(HrefletHover, RealMouseMovesSwapTheFonts)
{
    QWidget window;
    window.resize(300, 60);
    auto *l = new THreflet(&window);
    l->BeginLoading();
    l->setGeometry(10, 10, 200, 16);
    l->SetFont(LinkFont(kBlue, fsBold));
    l->SetFontActive(LinkFont(kRed, fsBold | fsUnderline));
    l->Loaded();
    std::vector<QPoint> moves; // no button is held
    l->OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int x, int y) { moves.push_back({x, y}); };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, QPoint(250, 40));
    QTest::mouseMove(&window, QPoint(20, 15));
    EXPECT_EQ(l->Font().Color, kRed);
    EXPECT_EQ(moves, std::vector<QPoint> {QPoint(10, 5)});
    QTest::mouseMove(&window, QPoint(250, 40));
    EXPECT_EQ(l->Font().Color, kBlue);
}

TEST(HrefletClick, TargetsGoToTheShellByTheirKind)
{
    struct Case
    {
        const char *url;
        const char *params;
        int shellResult;
        // Expected shell call (verb, parameters), or none.
        std::optional<std::pair<const char *, const char *>> call;
        // Expected error message, or none (then OnClick fires).
        const char *error;
    } cases[] = {
        {"HTTP://EXAMPLE.ORG/Page", "ignored", 42, std::pair {"", ""}, nullptr},
        {"http://example.org/", "", 2, std::pair {"", ""}, nullptr}, // a failed browser is not detected
        {"https://example.org/", "", 42, std::pair {"", ""}, nullptr},
        {"C:/Tools/Prog.EXE", "-a \"b c\"", 42, std::pair {"open", "-a \"b c\""}, nullptr},
        {"prog.exe", "", 33, std::pair {"open", ""}, nullptr},
        {"prog.exe", "", -1, std::pair {"open", ""}, nullptr},
        {"prog.exe", "x", 2, std::pair {"open", "x"}, "Component \"HrefletTest\": Cannot start executable (errnum=2)"},
        {"prog.exe", "", 32, std::pair {"open", ""}, "Component \"HrefletTest\": Cannot start executable (errnum=32)"},
        {"prog.exe", "", 0, std::pair {"open", ""}, "Component \"HrefletTest\": Cannot start executable (errnum=0)"},
        {"prog.exe", "", -5, std::pair {"open", ""}, "Component \"HrefletTest\": Cannot start executable (errnum=-5)"},
        {"index.html", "", 42, std::nullopt, "Component \"HrefletTest\": URL of Hreflet is invalid"},
        {"www.example.org", "", 42, std::nullopt, "Component \"HrefletTest\": URL of Hreflet is invalid"},
        {"ftp://example.org/a.exe.txt", "", 42, std::nullopt, "Component \"HrefletTest\": URL of Hreflet is invalid"},
        {"tools.exe/readme", "", 42, std::nullopt, "Component \"HrefletTest\": URL of Hreflet is invalid"},
        {"", "params", 42, std::nullopt, nullptr},
        {"    ", "", 42, std::nullopt, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url);
        ShellRecorder shell(c.shellResult);
        auto l = LoadedLink();
        l->SetURL(QString::fromLatin1(c.url));
        l->SetTaskParams(QString::fromLatin1(c.params));
        int clicks = 0;
        l->OnClick = [&](QObject *s) {
            EXPECT_EQ(s, l.get());
            ++clicks;
        };
        std::optional<std::string> error;
        try {
            l->Click();
        } catch (const EKeslHrefletError &e) {
            error = e.what();
        }
        if (c.call) {
            ASSERT_EQ(shell.calls.size(), 1u);
            EXPECT_EQ(shell.calls[0].verb, QString::fromLatin1(c.call->first));
            EXPECT_EQ(shell.calls[0].target, l->URL());
            EXPECT_EQ(shell.calls[0].parameters, QString::fromLatin1(c.call->second));
        } else {
            EXPECT_TRUE(shell.calls.empty());
        }
        if (c.error) {
            EXPECT_EQ(error, std::optional<std::string>(c.error));
            EXPECT_EQ(clicks, 0);
        } else {
            EXPECT_FALSE(error.has_value()) << *error;
            EXPECT_EQ(clicks, 1);
        }
    }
}

TEST(HrefletClick, TheBusyCursorShowsWhileTheBrowserIsAskedAndGoesAfter)
{
    std::optional<Qt::CursorShape> during;
    QWidget parent;
    auto *l = LoadedLink().release();
    l->setParent(&parent);
    const TShellOpenHandler old = SetShellOpenHandler([&](const QString &, const QString &, const QString &) {
        during = l->cursor().shape();
        return 42;
    });
    l->SetURL(QStringLiteral("http://example.org/"));
    l->setCursor(Qt::PointingHandCursor);
    l->Click();
    EXPECT_EQ(during, Qt::BusyCursor);
    EXPECT_EQ(l->cursor().shape(), Qt::PointingHandCursor);

    // A label without a cursor of its own goes back to inheriting one.
    l->unsetCursor();
    l->Click();
    EXPECT_FALSE(l->testAttribute(Qt::WA_SetCursor));
    SetShellOpenHandler(old);
}

TEST(HrefletClick, TheLeftMouseButtonClicksOthersDoNot)
{
    ShellRecorder shell;
    QWidget window;
    auto *l = new THreflet(&window);
    l->setGeometry(0, 0, 120, 16);
    l->SetURL(QStringLiteral("http://example.org/"));
    int clicks = 0, ups = 0;
    l->OnClick = [&](QObject *) { ++clicks; };
    l->OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++ups; };
    window.show();
    QTest::mouseClick(l, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(shell.calls.empty());
    QTest::mouseClick(l, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(ups, 2);
}

TEST(HrefletClick, TheRealShellStartsAProgramWithItsParameters)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("probe.EXE"));
    const QString out = dir.filePath(QStringLiteral("args.txt"));
    {
        QFile f(program);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > \"$0.tmp\" && mv \"$0.tmp\" \"" + out.toUtf8() +
                "\"\n");
        f.close();
        ASSERT_TRUE(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    }
    const TShellOpenHandler old = SetShellOpenHandler(nullptr); // the real shell
    auto l = LoadedLink();
    l->SetURL(QStringLiteral("  ") + program + QStringLiteral(" "));
    l->SetTaskParams(QStringLiteral("  one \"two words\" three "));
    int clicks = 0;
    l->OnClick = [&](QObject *) { ++clicks; };
    EXPECT_NO_THROW(l->Click());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out); }, 10000));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[one]\n[two words]\n[three]\n"));

    // A program that is not there: the shell's error number in the message.
    l->SetURL(dir.filePath(QStringLiteral("missing.exe")));
    try {
        l->Click();
        ADD_FAILURE() << "no error for a missing program";
    } catch (const EKeslHrefletError &e) {
        EXPECT_STREQ(e.what(), "Component \"HrefletTest\": Cannot start executable (errnum=2)");
    }
    EXPECT_EQ(clicks, 1);
    SetShellOpenHandler(old);
}

TEST(HrefletDrawing, NormalAndActiveFontsShowInTheirColours)
{
    auto l = LoadedLink();
    l->SetColor(clWhite);
    auto normal = Picture(*l);
    EXPECT_GT(Count(*normal, kBlue), 20);
    EXPECT_EQ(Count(*normal, kRed), 0);
    EXPECT_EQ(Count(*normal, kGreen), 0); // opaque: the background is the label's colour

    Enter(*l);
    auto active = Picture(*l);
    EXPECT_EQ(Count(*active, kBlue), 0);
    EXPECT_GT(Count(*active, kRed), Count(*normal, kBlue)); // the underline adds pixels
    // The underline: one row with a long unbroken run of red.
    int longest = 0;
    for (int y = 0; y < active->Height(); ++y) {
        int run = 0;
        for (int x = 0; x < active->Width(); ++x) {
            run = active->Canvas().Pixel(x, y) == kRed ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    EXPECT_GT(longest, 60);
}

TEST(HrefletDrawing, ATransparentLabelLeavesWhatIsBeneath)
{
    auto l = LoadedLink();
    l->SetTransparent(true);
    auto pic = Picture(*l, kGreen);
    EXPECT_GT(Count(*pic, kBlue), 20);
    EXPECT_EQ(pic->Canvas().Pixel(pic->Width() - 1, pic->Height() - 1), kGreen);
    EXPECT_GT(Count(*pic, kGreen) + Count(*pic, kBlue), pic->Width() * pic->Height() * 9 / 10);
}

TEST(HrefletDrawing, AlignmentPlacesTheText)
{
    auto l = LoadedLink();
    l->SetColor(clWhite);
    auto left = InkColumns(*Picture(*l), clWhite);
    l->SetAlignment(taRightJustify);
    auto right = InkColumns(*Picture(*l), clWhite);
    l->SetAlignment(taCenter);
    auto center = InkColumns(*Picture(*l), clWhite);
    const int ink = left.second - left.first;
    ASSERT_GT(ink, 50);
    EXPECT_LE(left.first, 2);
    EXPECT_GE(right.second, l->width() - 3);
    EXPECT_EQ(right.second - right.first, ink);
    EXPECT_NEAR((center.first + center.second) / 2.0, l->width() / 2.0, 3);
}

TEST(HrefletDrawing, WordWrapBreaksAtBlanksOnlyWhenAsked)
{
    auto l = LoadedLink();
    l->resize(70, 40);
    l->SetColor(clWhite);
    l->SetCaption(QStringLiteral("Example pages"));
    EXPECT_EQ(InkBands(*Picture(*l), clWhite), 1);
    l->SetWordWrap(true);
    EXPECT_EQ(InkBands(*Picture(*l), clWhite), 2);
}

TEST(HrefletDrawing, AnAmpersandIsShownNotTakenAsAnAccelerator)
{
    auto l = LoadedLink();
    l->SetColor(clWhite);
    l->SetCaption(QStringLiteral("&"));
    EXPECT_GT(Count(*Picture(*l), kBlue), 5);
    l->SetCaption(QStringLiteral("A&&B"));
    const auto cols = InkColumns(*Picture(*l), clWhite);
    // Four monospaced cells: more than three cells wide.
    TBitmap probe(10, 10);
    probe.Canvas().Font = LinkFont(kBlue, fsBold);
    EXPECT_GT(cols.second - cols.first, 3 * probe.Canvas().TextWidth(QStringLiteral("A")) - 2);
}

TEST(HrefletDrawing, ADisabledLabelIsGreyedNotBlue)
{
    auto l = LoadedLink();
    l->SetColor(clWhite);
    l->setEnabled(false);
    auto pic = Picture(*l);
    EXPECT_EQ(Count(*pic, kBlue), 0);
    EXPECT_GT(Count(*pic, ColorToRGB(clBtnShadow)), 20);
}

TEST(HrefletDrawing, TheWidgetShowsThePicture)
{
    QWidget window;
    window.resize(220, 30);
    auto *l = LoadedLink().release();
    l->setParent(&window);
    l->move(10, 5);
    l->SetColor(clWhite);
    window.show();
    const QImage img = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int blue = 0;
    for (int y = 5; y < 21; ++y)
        for (int x = 10; x < 210; ++x)
            blue += (img.pixel(x, y) & 0xFFFFFF) == 0x0000FFu;
    EXPECT_GT(blue, 20);
    EXPECT_EQ(img.pixel(209, 20) & 0xFFFFFF, 0xFFFFFFu);
}
