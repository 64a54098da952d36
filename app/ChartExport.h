#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QImage;
class QPainter;
class QRectF;
class QWidget;

// Handing the chart and its samples to a class: a picture file, the clipboard,
// a spreadsheet. Each returns an empty string on success, else a message for the user.
// scale is 1 to 4: the picture is drawn at that many pixels per pixel shown.
// The chart as lines, fills and text, scaled into Target of Painter's device.
void DrawChartInto(QPainter &painter, QWidget *chart, const QRectF &target);

// The format by the extension: .png, .svg, .pdf. The lines of Heading (the
// window's title, a line naming what the chart shows) head an SVG or PDF page.
QString SaveChartPicture(QWidget *chart, const QString &fileName, int scale, const QStringList &heading = {});
// The same with the file's name as its bytes, which a text might not keep.
QString SaveChartPictureAs(QWidget *chart, const QByteArray &file, int scale, const QStringList &heading = {});
QString CopyChartPicture(QWidget *chart, int scale); // to the clipboard
// One value a line under a header row "sample"; each line of Context first as
// a comment ("# " + line), so that a reader told of the comment character
// knows where the samples came from.
QString SaveSamplesCsv(const QString &fileName, const double *values, qsizetype count, const QStringList &context = {});

// The chart drawn afresh at scale times its shown size, without the focus mark.
QImage ChartImage(QWidget *chart, int scale);

class TSimulation;
// The samples (or means) the model's view shows, with comment lines that say
// where they came from, as SaveSamplesCsv writes them.
QString SaveShownSamples(const TSimulation &model, const QByteArray &file);
