#include "Startup.h"

#include "RadioGroup.h"
#include "mainfrm.h"

#include <QImage>
#include <QImageWriter>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

void ApplyStartParameters(TFrmMain &frm, const TStartOptions &options)
{
    if (options.DistributionIndex)
        frm.RGDistri->SetItemIndex(*options.DistributionIndex);
    if (options.LocationPosition)
        frm.SBarLoc->setValue(*options.LocationPosition);
    if (options.WidthPosition)
        frm.SBarWid->setValue(*options.WidthPosition);
    frm.FixedSeed = options.Seed;
}

void ApplyStartView(TFrmMain &frm, const TStartOptions &options)
{
    if (options.StartView != TStartOptions::View::Means)
        return;
    frm.SButDrawSamplesClick(frm.SButDrawSamples);
    if (!options.Samples)
        return;
    // The timer would take the same steps one by one.
    for (int i = 0; i < *options.Samples && frm.MeansRunning; ++i)
        frm.Timer1Timer(frm.Timer1);
}

bool SaveSnapshot(TFrmMain &frm, const QString &fileName, QString &error)
{
    const QImage picture = frm.grab().toImage();
    QImageWriter writer(fileName, "png");
    if (!writer.write(picture)) {
        error = QStringLiteral("cannot write the snapshot \"%1\": %2").arg(fileName, writer.errorString());
        return false;
    }
    return true;
}
