#include "ChartPrint.h"

#include "ChartExport.h"
#include "FileReplace.h"
#include "Kesl_kurvo.h"
#include "MessageBox.h"
#include "RadioGroup.h"
#include "mainfrm.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>

QString ChartContextLine(const TFrmMain &frm)
{
    const int index = frm.RGDistri->ItemIndex();
    const QString distribution = index == 0 ? frm.Translated(QStringLiteral("Normal Distribution"))
        : index == 1                        ? frm.Translated(QStringLiteral("Cauchy Distribution"))
                                            : frm.Translated(QStringLiteral("the samples drawn before"));
    return frm.Translated(QStringLiteral("<%1%>, location <%2%>, width <%3%>, <%4%> samples, seed <%5%>"),
                          {distribution, QString::number(frm.Location(), 'f', 2), QString::number(frm.Width(), 'f', 2),
                           QString::number(frm.ShownSampleCount()), QString::number(frm.ViewSeed)});
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

// The largest rectangle of Size's aspect ratio within Area, centred in it.
QRectF Fitted(const QSizeF &size, const QRectF &area)
{
    const QSizeF fitted = size.scaled(area.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), fitted);
    target.moveCenter(area.center());
    return target;
}

} // namespace

QKeySequence PrintKeys()
{
    return QKeySequence(Qt::CTRL | Qt::Key_P);
}

static QString PrintPage(TFrmMain &frm, QPaintDevice *printer)
{
    const QString failed = QStringLiteral("The chart could not be printed.");
    QPainter painter;
    if (!printer || frm.RC->size().isEmpty() || !painter.begin(printer))
        return failed;
    painter.setFont(QFont(frm.font(), printer));
    QRectF area(0, 0, printer->width(), printer->height()); // the printable area, in the printer's dots
    area.setTop(area.top() + DrawHeading(painter, area, frm.windowTitle(), 14, true));
    area.setTop(area.top() + DrawHeading(painter, area, ChartContextLine(frm), 10, false));
    area.setTop(area.top() + printer->logicalDpiY() / 4.0); // a quarter of an inch before the chart
    const QRectF target = Fitted(frm.RC->size(), area);
    DrawChartInto(painter, frm.RC, target);
    return painter.end() ? QString() : failed;
}

// "Print to file" makes the PDF in memory and saves it as every other file
// is saved: an old file stays as it was when the new one cannot be written.
QString PrintChart(TFrmMain &frm, QPrinter *printer)
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

void OpenPrintDialog(TFrmMain &frm)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(frm.windowTitle());
    printer.setPageOrientation(QPageLayout::Landscape); // the chart is wider than high
    QPrintDialog dialog(&printer, &frm);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString error = PrintChart(frm, &printer);
    if (!error.isEmpty())
        ShowMessageBox(mtError, error, &frm);
}

void InstallPrintShortcut(TFrmMain &frm)
{
    auto *shortcut = new QShortcut(PrintKeys(), &frm);
    QObject::connect(shortcut, &QShortcut::activated, &frm, [&frm] { OpenPrintDialog(frm); });
}
