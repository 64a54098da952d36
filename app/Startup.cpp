#include "Startup.h"

#include "Kesl_kurvo.h"
#include "Kesl_math1.h"
#include "MainParts.h"
#include "RadioGroup.h"
#include "Simulation.h"

#include "Application.h"
#include "ChartExport.h"
#include "ChartPrint.h"
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
#include <memory>
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
    if (!EncodeImage(Picture, File, bytes, cause) || !ReplaceFile(File, bytes, cause)) {
        error = QStringLiteral("cannot write the snapshot \"%1\": %2").arg(QString::fromLocal8Bit(File), cause);
        return false;
    }
    return true;
}

bool SaveSnapshot(TMainParts &frm, const QByteArray &File, QString &error)
{
    return WriteSnapshotImage(frm.Window->grab().toImage(), File, error);
}

bool SaveExport(TMainParts &frm, const QString &File, QString &error)
{
    // A samples file is the view's samples as "Save samples…" writes them.
    if (QFileInfo(File).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        error = SaveShownSamples(*frm.Model, File);
    else
        error = SaveChartPicture(frm.RC, File, 1, PageHeading(frm));
    return error.isEmpty();
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
