#include "ChartPrint.h"

#include "ChartExport.h"
#include "FileReplace.h"
#include "Kesl_kurvo.h"
#include "MainParts.h"
#include "MessageBox.h"
#include "ModelTexts.h"
#include "RadioGroup.h"
#include "Simulation.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>

QStringList PageHeading(const TMainParts &frm)
{
    return {PageTitle(*frm.Model, frm.Lookup), ChartContextLine(*frm.Model, frm.Lookup)};
}

namespace {

// Draws Text centred at the top of Area in a font of Points points; returns
// the height it took.
qreal DrawHeading(QPainter &painter, const QRectF &area, const QString &text, qreal points, bool bold)
{
    QFont font = painter.font();
    font.setPointSizeF(points);
    font.setBold(bold);
    painter.setFont(font);
    QRectF used;
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text, &used);
    return used.height();
}

// The largest rectangle of Size's aspect ratio within Area, centred across
// it and right under its top, where the heading ends.
QRectF Fitted(const QSizeF &size, const QRectF &area)
{
    const QSizeF fitted = size.scaled(area.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), fitted);
    target.moveCenter(area.center());
    target.moveTop(area.top());
    return target;
}

} // namespace

QKeySequence PrintKeys()
{
    return QKeySequence(Qt::CTRL | Qt::Key_P);
}

static QString PrintPage(TMainParts &frm, QPaintDevice *printer)
{
    const QString failed = QStringLiteral("The chart could not be printed.");
    QPainter painter;
    if (!printer || frm.RC->size().isEmpty() || !painter.begin(printer))
        return failed;
    painter.setFont(QFont(frm.Window->font(), printer));
    QRectF area(0, 0, printer->width(), printer->height()); // the printable area, in the printer's dots
    const QStringList heading = PageHeading(frm);
    area.setTop(area.top() + DrawHeading(painter, area, heading.value(0), 14, true));
    area.setTop(area.top() + DrawHeading(painter, area, heading.value(1), 10, false));
    area.setTop(area.top() + printer->logicalDpiY() / 4.0); // a quarter of an inch before the chart
    const QRectF target = Fitted(frm.RC->size(), area);
    DrawChartInto(painter, frm.RC, target);
    return painter.end() ? QString() : failed;
}

// "Print to file" makes the PDF in memory and saves it as every other file
// is saved: an old file stays as it was when the new one cannot be written.
QString PrintChart(TMainParts &frm, QPrinter *printer)
{
    if (!printer || printer->outputFormat() != QPrinter::PdfFormat || printer->outputFileName().isEmpty())
        return PrintPage(frm, printer);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageLayout(printer->pageLayout());
    pdf.setResolution(printer->resolution());
    pdf.setTitle(printer->docName());
    pdf.setCreator(printer->creator());
    QString error = PrintPage(frm, &pdf), cause;
    if (error.isEmpty() && !ReplaceFile(QFile::encodeName(printer->outputFileName()), bytes, cause))
        error = QStringLiteral("The chart could not be printed.");
    return error;
}

void OpenPrintDialog(TMainParts &frm)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PageHeading(frm).value(0));
    printer.setPageOrientation(QPageLayout::Landscape); // the chart is wider than high
    QPrintDialog dialog(&printer, frm.Window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString error = PrintChart(frm, &printer);
    if (!error.isEmpty())
        ShowMessageBox(mtError, error, frm.Window);
}

void InstallPrintShortcut(TMainParts &frm)
{
    auto *shortcut = new QShortcut(PrintKeys(), frm.Window);
    QObject::connect(shortcut, &QShortcut::activated, frm.Window, [&frm] { OpenPrintDialog(frm); });
}
