#include "ScreenFit.h"

#include "Application.h"
#include "MainParts.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kScaleStep = 0.25;
constexpr double kBaseDpi = 96; // the text resolution at scale 1

TScaleFit &Fit()
{
    static TScaleFit fit;
    return fit;
}

// A screen nothing is shown on (a snapshot, a test) is no reason to shrink.
bool ShowsOnAScreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

QSizeF WindowDeviceSize()
{
    double ratio = 1, dpi = kBaseDpi;
    for (const QScreen *screen : QGuiApplication::screens()) {
        ratio = std::max(ratio, screen->devicePixelRatio());
        dpi = std::max(dpi, screen->logicalDotsPerInch());
    }
    return QSizeF(TMainParts::kDesignWidth, TMainParts::kDesignHeight) * (dpi / kBaseDpi) * ratio;
}

namespace {

std::unique_ptr<TApplication> CreateAgain(std::unique_ptr<TApplication> app, int &argc, char **argv,
                                          const std::vector<char *> &arguments, double factor)
{
    app.reset();
    // The next object chains its message handlers anew, not onto the first one's.
    qInstallMessageHandler(nullptr);
    std::copy(arguments.begin(), arguments.end(), argv);
    argc = int(arguments.size()) - 1;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor));
    return std::make_unique<TApplication>(argc, argv);
}

} // namespace

double FactorWithin(const QSizeF &Device, double Factor)
{
    const double side = std::max(Device.width(), Device.height());
    if (!(side > kMaxPictureSide))
        return Factor;
    return std::floor(Factor * kMaxPictureSide / side * 1000) / 1000;
}

double ScaleThatFits(const QSize &Available, const QSize &Window, double Asked)
{
    if (!(Asked > 1) || Window.isEmpty())
        return 1;
    const double room =
        std::min(double(Available.width()) / Window.width(), double(Available.height()) / Window.height());
    if (room >= Asked)
        return Asked;
    return std::max(1.0, std::floor(room / kScaleStep) * kScaleStep);
}

QPoint PlaceInside(const QRect &Available, const QRect &Window)
{
    auto place = [](int pos, int size, int first, int room) {
        if (size >= room)
            return first;
        return std::clamp(pos, first, first + room - size);
    };
    return {place(Window.x(), Window.width(), Available.x(), Available.width()),
            place(Window.y(), Window.height(), Available.y(), Available.height())};
}

std::unique_ptr<TApplication> CreateApplicationThatFits(int &argc, char **argv)
{
    // Qt takes its own options out of the list; a second start needs them again.
    const std::vector<char *> arguments(argv, argv + argc + 1);
    auto app = std::make_unique<TApplication>(argc, argv);
    const double factor =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1;
    const double asked = std::max(1.0, factor);
    Fit() = {asked, asked};
    // Every scale variable of Qt multiplies the others; together they may ask
    // for a picture larger than any screen, taking gigabytes.
    const QSizeF device = WindowDeviceSize();
    if (const double within = FactorWithin(device, factor); within < factor) {
        std::fprintf(stderr,
                     "cauchy: the scale asked for (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS, QT_FONT_DPI, --scale) "
                     "would make the window %d x %d pixels; drawn at most %d pixels a side instead\n",
                     int(device.width()), int(device.height()), kMaxPictureSide);
        return CreateAgain(std::move(app), argc, argv, arguments, within);
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (asked <= 1 || !screen || !ShowsOnAScreen())
        return app;
    const QSize available = (QSizeF(screen->availableGeometry().size()) * screen->devicePixelRatio()).toSize();
    const double used = ScaleThatFits(available, QSize(TMainParts::kDesignWidth, TMainParts::kDesignHeight), asked);
    if (used >= asked)
        return app;
    Fit().Used = used;
    return CreateAgain(std::move(app), argc, argv, arguments, used);
}

TScaleFit StartScale()
{
    return Fit();
}
