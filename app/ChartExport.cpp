#include "ChartExport.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

#include <charconv>
#include <cmath>

namespace {

// The chart drawn afresh at scale times its shown size: at that device pixel
// ratio, so lines and text are drawn at the finer size, not magnified.
QImage ChartImage(QWidget *chart, int scale)
{
    QImage image(chart->size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    return image;
}

// Writes all of data through a save file, so an old file survives any failure.
QString Commit(const QString &fileName, const QByteArray &data)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return QApplication::translate("ChartExport", "Cannot write %1: %2").arg(fileName, file.errorString());
    if (file.write(data) != data.size() || !file.commit()) {
        const QString cause = file.errorString();
        file.cancelWriting();
        return QApplication::translate("ChartExport", "Cannot write %1: %2").arg(fileName, cause);
    }
    return {};
}

QByteArray PngBytes(QWidget *chart, int scale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ChartImage(chart, scale).save(&buffer, "PNG");
    return bytes;
}

QByteArray SvgBytes(QWidget *chart)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(chart->size());
    svg.setViewBox(QRect(QPoint(), chart->size()));
    QPainter painter(&svg);
    chart->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    return bytes;
}

QByteArray PdfBytes(QWidget *chart)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    // One page the chart's size, at 96 pixels per inch as on a screen.
    constexpr int kDpi = 96;
    pdf.setResolution(kDpi);
    pdf.setPageMargins(QMarginsF());
    pdf.setPageSize(QPageSize(QSizeF(chart->size()) * 72.0 / kDpi, QPageSize::Point));
    QPainter painter(&pdf);
    chart->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    return bytes;
}

} // namespace

QString SaveChartPicture(QWidget *chart, const QString &fileName, int scale)
{
    if (!chart || scale < 1)
        return QApplication::translate("ChartExport", "There is no picture to save.");
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    QByteArray data;
    if (suffix == QLatin1String("png"))
        data = PngBytes(chart, scale);
    else if (suffix == QLatin1String("svg"))
        data = SvgBytes(chart);
    else if (suffix == QLatin1String("pdf"))
        data = PdfBytes(chart);
    else
        return QApplication::translate("ChartExport", "Unknown picture type \"%1\": use .png, .svg or .pdf.")
            .arg(QFileInfo(fileName).fileName());
    if (data.isEmpty())
        return QApplication::translate("ChartExport", "The picture could not be drawn.");
    return Commit(fileName, data);
}

QString CopyChartPicture(QWidget *chart, int scale)
{
    QClipboard *clipboard = QApplication::clipboard();
    if (!chart || scale < 1 || !clipboard)
        return QApplication::translate("ChartExport", "There is no picture to copy.");
    clipboard->setImage(ChartImage(chart, scale));
    return {};
}

QString SaveSamplesCsv(const QString &fileName, const double *values, qsizetype count)
{
    // The shortest form that reads back to the same double, with '.' whatever
    // the locale; infinities and NaN (no generator makes them) as inf and nan.
    QByteArray data;
    data.reserve(count * 24);
    char buffer[32];
    for (qsizetype i = 0; i < count; ++i) {
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, values[i]);
        data.append(buffer, r.ptr - buffer);
        data.append('\n');
    }
    return Commit(fileName, data);
}
