#include "ChartExport.h"
#include "FileReplace.h"
#include "ModelTexts.h"
#include "Simulation.h"

#include "FileGuards.h"

#include "FocusMark.h"
#include "Kesl_kurvo.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QWidget>

#include <algorithm>
#include <charconv>
#include <cmath>

// The chart drawn afresh at scale times its shown size: at that device pixel
// ratio, so lines and text are drawn at the finer size, not magnified.
QImage ChartImage(QWidget *chart, int scale)
{
    QImage image(chart->size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    const TFocusMarkHidden hidden(chart);
    chart->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    return image;
}

namespace {

// In a page format the chart is drawn as lines, fills and text, one unit of
// the page to a pixel of the chart.
void DrawChart(QPaintDevice &page, QWidget *chart)
{
    QPainter painter(&page);
    DrawChartInto(painter, chart, QRectF(QPointF(), QSizeF(chart->size())));
}

// A page's heading: its lines, one under the other, above the chart.
constexpr int kHeadingLine = 20;

int HeadingHeight(const QStringList &heading)
{
    return int(heading.size()) * kHeadingLine;
}

// The heading centred above the chart, the first line in bold; the chart
// below it, still as lines, fills and text.
void DrawPage(QPaintDevice &page, QWidget *chart, const QStringList &heading)
{
    if (heading.isEmpty()) {
        DrawChart(page, chart);
        return;
    }
    QPainter painter(&page);
    QFont font = chart->font();
    for (qsizetype i = 0; i < heading.size(); ++i) {
        font.setPixelSize(i == 0 ? 15 : 12);
        font.setBold(i == 0);
        painter.setFont(font);
        painter.drawText(QRect(0, int(i) * kHeadingLine, chart->width(), kHeadingLine), Qt::AlignCenter, heading[i]);
    }
    DrawChartInto(painter, chart, QRectF(QPointF(0, HeadingHeight(heading)), QSizeF(chart->size())));
}

// Writes all of data through a temporary file, so an old file survives any failure.
QString Commit(const QByteArray &file, const QByteArray &data)
{
    QString cause;
    if (!ReplaceFile(file, data, cause))
        return QStringLiteral("Cannot write %1: %2").arg(ShownPath(QFile::decodeName(file)), cause);
    return {};
}

// The bytes a writer puts into an open in-memory device.
template<typename Write> QByteArray Bytes(Write write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return bytes;
}

QByteArray PngBytes(QWidget *chart, int scale)
{
    return Bytes([&](QBuffer &buffer) { ChartImage(chart, scale).save(&buffer, "PNG"); });
}

// A document's title names what its page shows, as its heading does.
QString DocumentTitle(QWidget *chart, const QStringList &heading)
{
    return heading.isEmpty() ? chart->window()->windowTitle() : heading.first();
}

// Its size is given at 96 pixels per inch as on a screen, like the PDF page:
// what browsers and drawing programs take one pixel to be.
QByteArray SvgBytes(QWidget *chart, int scale, const QStringList &heading)
{
    if (chart->size().isEmpty())
        return {};
    const QSize size = chart->size() + QSize(0, HeadingHeight(heading));
    return Bytes([&](QBuffer &buffer) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(96);
        svg.setSize(size * scale);
        svg.setViewBox(QRect(QPoint(), size));
        svg.setTitle(DocumentTitle(chart, heading).toHtmlEscaped()); // Qt 6.4 writes it as it is
        DrawPage(svg, chart, heading);
    });
}

void WritePdf(QBuffer &buffer, QWidget *chart, int scale, const QStringList &heading)
{
    QPdfWriter pdf(&buffer);
    // One page scale times the chart's size at 96 pixels per inch as on a
    // screen; at 96 / scale units per inch a unit is a pixel of the chart.
    constexpr int kDpi = 96;
    pdf.setResolution(kDpi / scale);
    pdf.setPageMargins(QMarginsF());
    const QSize size = chart->size() + QSize(0, HeadingHeight(heading));
    pdf.setPageSize(QPageSize(QSizeF(size * scale) * 72.0 / kDpi, QPageSize::Point));
    pdf.setTitle(DocumentTitle(chart, heading));
    DrawPage(pdf, chart, heading);
}

} // namespace

// A widget that is no chart is drawn as it paints.
void DrawChartInto(QPainter &painter, QWidget *chart, const QRectF &target)
{
    if (auto *kurvo = qobject_cast<TCustomKurvo *>(chart)) {
        kurvo->Render(painter, target);
        return;
    }
    if (chart->size().isEmpty())
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / chart->width(), target.height() / chart->height());
    const TFocusMarkHidden hidden(chart);
    chart->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.restore();
}

QString SaveChartPicture(QWidget *chart, const QString &fileName, int scale, const QStringList &heading)
{
    return SaveChartPictureAs(chart, QFile::encodeName(fileName), scale, heading);
}

QString SaveChartPictureAs(QWidget *chart, const QByteArray &file, int scale, const QStringList &heading)
{
    const QString fileName = QFile::decodeName(file);
    if (!chart || scale < 1 || scale > 4)
        return QStringLiteral("There is no picture to save.");
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    QByteArray data;
    if (suffix == QLatin1String("png"))
        data = PngBytes(chart, scale);
    else if (suffix == QLatin1String("svg"))
        data = SvgBytes(chart, scale, heading);
    else if (suffix == QLatin1String("pdf"))
        data = Bytes([&](QBuffer &buffer) { WritePdf(buffer, chart, scale, heading); });
    else
        return QStringLiteral("Unknown picture type \"%1\": use .png, .svg or .pdf.")
            .arg(QFileInfo(fileName).fileName());
    if (data.isEmpty())
        return QStringLiteral("The picture could not be drawn.");
    return Commit(file, data);
}

QString CopyChartPicture(QWidget *chart, int scale)
{
    QClipboard *clipboard = QApplication::clipboard();
    if (!chart || scale < 1 || scale > 4 || !clipboard)
        return QStringLiteral("There is no picture to copy.");
    clipboard->setImage(ChartImage(chart, scale));
    return {};
}

namespace {

// The shortest form that reads back to the same double, with '.' whatever
// the locale; infinities and NaN (no generator makes them) as inf and nan.
QByteArray CsvBytes(const double *values, qsizetype count, const QStringList &context)
{
    QByteArray data;
    data.reserve(count * 24);
    for (const QString &line : context)
        data.append("# " + line.toUtf8() + '\n');
    data.append("sample\n");
    char buffer[32];
    for (qsizetype i = 0; i < count; ++i) {
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, values[i]);
        data.append(buffer, r.ptr - buffer);
        data.append('\n');
    }
    return data;
}

} // namespace

QString SaveSamplesCsv(const QString &fileName, const double *values, qsizetype count, const QStringList &context)
{
    if (count < 0 || (!values && count > 0))
        return QStringLiteral("There are no samples to save.");
    return Commit(QFile::encodeName(fileName), CsvBytes(values, count, context));
}

QString SaveShownSamples(const TSimulation &model, const QByteArray &file)
{
    const std::vector<double> values = model.ShownValues();
    return Commit(file, CsvBytes(values.data(), qsizetype(values.size()), SamplesContext(model)));
}
