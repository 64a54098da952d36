#include "ScreenFit.h"

#include "Application.h"
#include "mainfrm.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kScaleStep = 0.25;

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
    const int count = argc;
    auto app = std::make_unique<TApplication>(argc, argv);
    const double asked = std::max(1.0, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    Fit() = {asked, asked};
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (asked <= 1 || !screen || !ShowsOnAScreen())
        return app;
    const QSize available = (QSizeF(screen->availableGeometry().size()) * screen->devicePixelRatio()).toSize();
    const double used = ScaleThatFits(available, QSize(TFrmMain::kDesignWidth, TFrmMain::kDesignHeight), asked);
    if (used >= asked)
        return app;
    app.reset();
    // The next object chains its message handlers anew, not onto the first one's.
    qInstallMessageHandler(nullptr);
    std::copy(arguments.begin(), arguments.end(), argv);
    argc = count;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(used));
    Fit().Used = used;
    return std::make_unique<TApplication>(argc, argv);
}

TScaleFit StartScale()
{
    return Fit();
}
