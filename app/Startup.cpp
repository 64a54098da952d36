#include "Startup.h"

#include "Kesl_kurvo.h"
#include "Kesl_math1.h"
#include "MainParts.h"
#include "RadioGroup.h"
#include "Simulation.h"

#include "Application.h"
#include "ChartExport.h"
#include "ChartPrint.h"
#include "FileGuards.h"
#include "FileReplace.h"
#include "MessageBox.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

void ApplyStartParameters(TMainParts &frm, const TStartOptions &options)
{
    TSimulation &model = *frm.Model;
    if (options.DistributionIndex)
        model.SetDistribution(*options.DistributionIndex == 0 ? TDistribution::Normal : TDistribution::Cauchy);
    if (options.LocationPosition)
        model.SetLocationPosition(*options.LocationPosition);
    if (options.WidthPosition)
        model.SetWidthPosition(*options.WidthPosition);
    if (options.Seed)
        model.Generator().SetSeed(*options.Seed);
    model.SetFixedSeed(options.Seed);
    TTeachingExtras extras = options.Extras;
    extras.MeanOf = options.MeanOf.value_or(0);
    model.SetExtras(extras);
}

void ApplyStartView(TMainParts &frm, const TStartOptions &options)
{
    if (options.StartView != TStartOptions::View::Means)
        return;
    frm.Model->StartRun();
    if (!options.Samples)
        return;
    // The timer would take the same steps one by one. Only the last one is
    // drawn: the chart draws nothing while it is hidden, and each picture of
    // it costs as much as all the steps at a large scale.
    const bool shown = !frm.RC->isHidden();
    frm.RC->hide();
    for (int i = 0; i < *options.Samples && frm.Model->Running(); ++i) {
        if (i + 1 == *options.Samples)
            frm.RC->setVisible(shown);
        frm.Model->Step();
    }
    frm.RC->setVisible(shown);
}

namespace {

// The picture's bytes in the format named by the file's extension.
bool EncodeImage(const QImage &Picture, const QByteArray &File, QByteArray &Bytes, QString &error)
{
    const QByteArray name = File.mid(File.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray format = dot > 0 ? name.mid(dot + 1).toLower() : QByteArrayLiteral("png");
    QBuffer buffer(&Bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // Asking the writer loads only its own format's handler, not every image
    // plugin. Quality 80 is zlib level 1 for PNG: a few percent larger, written
    // in well under half the time.
    writer.setQuality(80);
    if (!writer.canWrite()) {
        error = QStringLiteral("unknown picture format \".%1\" (use .png, .jpg or .bmp)")
                    .arg(QString::fromLocal8Bit(format));
        return false;
    }
    if (!writer.write(Picture)) {
        error = writer.errorString();
        return false;
    }
    return true;
}

} // namespace

bool WriteSnapshotImage(const QImage &Picture, const QByteArray &File, QString &error)
{
    QByteArray bytes;
    QString cause;
    if (Picture.isNull())
        cause = QStringLiteral("not enough memory for the picture");
    if (!cause.isEmpty() || !EncodeImage(Picture, File, bytes, cause) || !ReplaceFile(File, bytes, cause)) {
        error = QStringLiteral("cannot write the snapshot \"%1\": %2").arg(ShownPath(QFile::decodeName(File)), cause);
        return false;
    }
    return true;
}

bool SaveSnapshot(TMainParts &frm, const QByteArray &File, QString &error)
{
    return WriteSnapshotImage(frm.Window->grab().toImage(), File, error);
}

bool SaveExport(TMainParts &frm, const QByteArray &File, QString &error)
{
    // A samples file is the view's samples as "Save samples…" writes them.
    if (File.toLower().endsWith(".csv"))
        error = SaveShownSamples(*frm.Model, File);
    else
        error = SaveChartPictureAs(frm.RC, File, 1, PageHeading(frm));
    return error.isEmpty();
}

namespace {

// Descriptors a start needs beyond those open: measured with the lowest
// limits at which a snapshot and a window still start, and some to spare
// for the files the window opens later (fonts, dialogs, the host link).
constexpr rlim_t kHeadlessDescriptors = 32, kWindowDescriptors = 64;

// The address space a start takes beyond the window's pictures, measured
// with the lowest limits at which a snapshot and a window still start, with
// some to spare; and what each device pixel of the window adds (its picture,
// the bitmaps of the chart and the gradient, their scaled copies).
constexpr rlim_t kHeadlessMegabytes = 128, kWindowMegabytes = 256, kBytesPerPixel = 12;

// How many of the descriptors below Limit are open.
rlim_t OpenDescriptors(rlim_t Limit)
{
    rlim_t open = 0;
    for (rlim_t fd = 0; fd < Limit; ++fd)
        open += ::fcntl(int(fd), F_GETFD) != -1;
    return open;
}

char OutOfMemoryLine[160];

[[noreturn]] void OnOutOfMemory()
{
    // Nothing here may ask for memory.
    [[maybe_unused]] const ssize_t n = ::write(2, OutOfMemoryLine, std::strlen(OutOfMemoryLine));
    ::_exit(1);
}

std::terminate_handler PreviousTerminate = nullptr;

// Qt throws std::bad_alloc itself when an allocation fails, also where
// nothing can catch it (a destructor); the end is the same as above.
[[noreturn]] void OnTerminate()
{
    try {
        if (const std::exception_ptr e = std::current_exception())
            std::rethrow_exception(e);
    } catch (const std::bad_alloc &) {
        OnOutOfMemory();
    } catch (...) {
    }
    if (PreviousTerminate)
        PreviousTerminate();
    std::abort();
}

QString CheckDescriptorLimit(bool Headless)
{
    const rlim_t needed = Headless ? kHeadlessDescriptors : kWindowDescriptors;
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= 4 * needed)
        return {};
    const rlim_t open = OpenDescriptors(limit.rlim_cur);
    if (limit.rlim_cur - open >= needed)
        return {};
    const rlim_t allowed = limit.rlim_cur;
    limit.rlim_cur = open + needed;
    if (limit.rlim_max >= limit.rlim_cur && ::setrlimit(RLIMIT_NOFILE, &limit) == 0)
        return {};
    return QStringLiteral("cannot start: only %1 files may be open at once (ulimit -n), and at least %2 are needed")
        .arg(allowed)
        .arg(open + needed);
}

} // namespace

QString CheckMemoryLimit(bool Headless, const QSizeF &Window)
{
    const rlim_t needed = ((Headless ? kHeadlessMegabytes : kWindowMegabytes) << 20) +
        rlim_t(Window.width() * Window.height() * kBytesPerPixel);
    rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed)
        return {};
    const rlim_t allowed = limit.rlim_cur;
    limit.rlim_cur = needed;
    if (limit.rlim_max >= needed && ::setrlimit(RLIMIT_AS, &limit) == 0)
        return {};
    return QStringLiteral("cannot start: the memory is limited to %1 MB (ulimit -v), and at least %2 MB are needed")
        .arg(allowed >> 20)
        .arg((needed >> 20) + 1);
}

QString CheckResourceLimits(bool Headless)
{
    const QString descriptors = CheckDescriptorLimit(Headless);
    return descriptors.isEmpty() ? CheckMemoryLimit(Headless, QSizeF()) : descriptors;
}

void EndWhenMemoryRunsOut()
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        std::snprintf(OutOfMemoryLine, sizeof OutOfMemoryLine,
                      "cauchy: out of memory (the address space is limited to %llu MB: ulimit -v)\n",
                      static_cast<unsigned long long>(limit.rlim_cur >> 20));
    else
        std::snprintf(OutOfMemoryLine, sizeof OutOfMemoryLine, "cauchy: out of memory\n");
    std::set_new_handler(OnOutOfMemory);
    PreviousTerminate = std::set_terminate(OnTerminate);
}

int ReportStartFailure(int &argc, char **argv, bool Snapshot, const QString &Message)
{
    std::fprintf(stderr, "cauchy: %s\n", qPrintable(Message));
    if (Snapshot)
        return 1;
    // The failed start's application object is gone by now.
    std::unique_ptr<TApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<TApplication>(argc, argv);
    ShowMessageBox(mtError, Message);
    return 1;
}
