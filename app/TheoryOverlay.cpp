#include "TheoryOverlay.h"

#include "Kesl_kurvo.h"
#include "RunningMedian.h"
#include "ViewMath.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

// The chart's text labels used for the note (upper right) and the legend
// (upper left).
struct TCorner
{
    int Label;
    TAlignment Alignment;
};
constexpr TCorner kNoteCorner {1, taRightJustify}, kLegendCorner {2, taLeftJustify};
constexpr int kNoteInset = 6; // pixels between the note and the plot's corner
constexpr TColor kGreen = 0x008000;

// Data colour and line width for a scope; the caller's come back afterwards.
class TPenScope
{
public:
    TPenScope(TKurvo &rc, TColor color, int width) : m_rc(rc), m_color(rc.DataColor()), m_width(rc.LineWidth())
    {
        rc.SetDataColor(color);
        rc.SetLineWidth(width);
    }
    ~TPenScope()
    {
        m_rc.SetDataColor(m_color);
        m_rc.SetLineWidth(m_width);
    }
    TPenScope(const TPenScope &) = delete;
    TPenScope &operator=(const TPenScope &) = delete;

private:
    TKurvo &m_rc;
    TColor m_color;
    int m_width;
};

// A limit as the note shows it, with a true minus sign.
QString LimitText(double v)
{
    QString s = QString::number(v, 'g', 6);
    if (s.startsWith(QLatin1Char('-')))
        s.replace(0, 1, QChar(0x2212));
    return s;
}

QString PercentText(double share)
{
    return QString::number(100 * share, 'f', 2);
}

} // namespace

void AddDensityCurve(TKurvo &rc, const TTheorySource &source, double floor, TColor color)
{
    const TPenScope pen(rc, color, 1);
    const int first = rc.DataToPixel(1, kHistLow, 0).x(), last = rc.DataToPixel(1, kHistHigh, 0).x();
    for (int px = first; px <= last; ++px) {
        const double x = rc.PixelToData(1, px, 0).x();
        const double y = std::max(floor, Density(source.Distribution, source.Location, source.Width, x));
        if (px == first)
            rc.MoveTo(x, y);
        else
            rc.DrawTo(x, y);
    }
}

TTheorySource OtherDistribution(const TTheorySource &source)
{
    const TDistribution other =
        source.Distribution == TDistribution::Normal ? TDistribution::Cauchy : TDistribution::Normal;
    return {other, source.Location, source.Width};
}

TTheorySource MeanOfSamples(const TTheorySource &source, int n)
{
    if (source.Distribution == TDistribution::Cauchy || n < 1)
        return source;
    return {source.Distribution, source.Location, source.Width / std::sqrt(double(n))};
}

QStringList ShareOutsideArguments(const TTheorySource &source, int outside, int samples)
{
    const double counted = samples > 0 ? double(outside) / samples : 0;
    const double theory = ShareOutside(source.Distribution, source.Location, source.Width, kHistLow, kHistHigh);
    return {LimitText(kHistLow), LimitText(kHistHigh), PercentText(counted), PercentText(theory)};
}

namespace {

constexpr int kBoxPad = 4, kBoxRim = 2; // the label's box around its text, as the chart draws it
constexpr int kNoteGap = 4; // pixels between two boxes, and between the boxes and the data

QSize TextSize(const TTextLabel &label)
{
    const QFontMetrics fm(label.Font().ToQFont());
    const QStringList lines = label.Caption().split(QLatin1Char('\n'));
    int w = 0;
    for (const QString &line : lines)
        w = std::max(w, fm.horizontalAdvance(line));
    return {w, fm.height() * int(lines.size())};
}

QSize BoxSize(const TTextLabel &label)
{
    const QSize text = TextSize(label);
    return {text.width() + 2 * kBoxPad + 1, text.height() + 2 * kBoxRim + 1};
}

// Both corners count as inside, as the chart fills them.
bool Meets(const QRect &box, const std::vector<QRect> &rects)
{
    return std::any_of(rects.begin(), rects.end(), [&](const QRect &r) { return box.intersects(r); });
}

// The y range's top raised so that the tallest item ends at pixel row Top.
void LowerDataTo(TKurvo &rc, int top)
{
    double tallest = -HUGE_VAL;
    for (int i = 0; i < rc.ItemCount(); ++i) {
        const TChartItem item = rc.Item(i);
        tallest = std::max({tallest, item.Y1, item.Kind == ikLine ? item.Y2 : item.Y1});
    }
    TScalePropsVert *y = rc.Scale1Y();
    const bool log = y->Logarithmic();
    const auto unit = [&](double v) { return log ? std::log(v) : v; };
    const TChartGeometry area = rc.DataArea();
    if (!(tallest > y->RangeLow()) || top >= area.Bottom())
        return;
    const double scale = double(area.H()) / (area.Bottom() - top);
    const double high = unit(y->RangeLow()) + (unit(tallest) - unit(y->RangeLow())) * scale;
    if (const double v = log ? std::exp(high) : high; v > y->RangeHigh())
        rc.SetLayerRange(0, rc.Scale1X()->RangeLow(), y->RangeLow(), rc.Scale1X()->RangeHigh(), v);
}

// The pixels of the chart's items, each as the rectangle its pen covers.
std::vector<QRect> ItemExtents(const TKurvo &rc)
{
    std::vector<QRect> out;
    QPoint last;
    for (int i = 0; i < rc.ItemCount(); ++i) {
        const TChartItem item = rc.Item(i);
        const QPoint a = rc.DataToPixel(item.Layer, item.X1, item.Y1);
        // A mark reaches a few pixels around its point, a line half its pen beyond its ends.
        const int reach = item.Kind == ikMark ? 4 : item.LineWidth / 2 + 1;
        QPoint b = a;
        if (item.Kind == ikLine)
            b = rc.DataToPixel(item.Layer, item.X2, item.Y2);
        else if (item.Kind == ikDrawTo)
            b = last;
        last = a;
        if (item.Kind != ikMoveTo)
            out.push_back(QRect(a, b).normalized().adjusted(-reach, -reach, reach, reach));
    }
    return out;
}

void SetLabelBox(TTextLabel &label, const QRect &box)
{
    const double x = label.Alignment() == taRightJustify ? box.right() - kBoxPad : box.left() + kBoxPad;
    const double y = box.top() + kBoxRim;
    if (label.PosX() != x)
        label.SetPosX(x);
    if (label.PosY() != y)
        label.SetPosY(y);
}

void ShowLabel(TKurvo &rc, const TCorner &corner, const QString &text)
{
    TTextLabel *label = rc.TextLabel(corner.Label);
    if (text.isEmpty()) {
        if (label->Visible())
            label->SetVisible(false);
        return;
    }
    label->SetAttachToData(tlamNone);
    label->SetAlignment(corner.Alignment);
    label->SetVerticalAlignment(vaTop);
    label->SetTransparent(false);
    label->SetMode(tlsimple);
    label->SetCaption(text);
    label->SetVisible(true);
}

} // namespace

void ShowCornerNote(TKurvo &rc, const QString &text)
{
    ShowLabel(rc, kNoteCorner, text);
}

void ShowLegend(TKurvo &rc, const QString &text)
{
    ShowLabel(rc, kLegendCorner, text);
}

TNotePlacement PlaceNotes(const QRect &plot, const std::vector<TNoteSize> &notes, const std::vector<QRect> &data)
{
    TNotePlacement p;
    for (const TNoteSize &note : notes) {
        const int left = note.Right ? plot.right() - kNoteInset - note.Size.width() + 1 : plot.left() + kNoteInset;
        QRect box(QPoint(left, plot.top() + kNoteInset), note.Size);
        // In the corner, or in a row of its own under the boxes it would meet there.
        if (Meets(box.adjusted(-kNoteGap, 0, kNoteGap, 0), p.Boxes))
            box.moveTop(p.Boxes.back().bottom() + kNoteGap + 1);
        p.Boxes.push_back(box);
    }
    // Where one box would cover data, the data goes below all of them.
    if (std::any_of(p.Boxes.begin(), p.Boxes.end(), [&](const QRect &box) { return Meets(box, data); }))
        for (const QRect &box : p.Boxes)
            p.DataTop = std::max(p.DataTop, box.bottom() + kNoteGap + 1);
    return p;
}

QRect LabelBox(const TKurvo &rc, int index)
{
    const TTextLabel &label = *rc.TextLabel(index);
    QPoint at = rc.DataToPixel(label.Layer(), label.PosX(), label.PosY());
    if (label.AttachToData() == tlamNone || label.AttachToData() == tlamYOnly)
        at.setX(qRound(label.PosX()));
    if (label.AttachToData() == tlamNone || label.AttachToData() == tlamXOnly)
        at.setY(qRound(label.PosY()));
    const QSize text = TextSize(label);
    const int dx = label.Alignment() == taRightJustify ? text.width()
        : label.Alignment() == taCenter                ? text.width() / 2
                                                       : 0;
    const int dy = label.VerticalAlignment() == vaTop ? 0
        : label.VerticalAlignment() == vaCenter       ? text.height() - text.height() / 2
                                                      : text.height();
    return QRect(at - QPoint(dx, dy), text).adjusted(-kBoxPad, -kBoxRim, kBoxPad + 1, kBoxRim + 1);
}

void PlaceCornerNote(TKurvo &rc)
{
    std::vector<TTextLabel *> shown;
    std::vector<TNoteSize> sizes;
    for (const TCorner &corner : {kNoteCorner, kLegendCorner})
        if (TTextLabel *label = rc.TextLabel(corner.Label); label->Visible())
            shown.push_back(label), sizes.push_back({BoxSize(*label), corner.Alignment == taRightJustify});
    if (shown.empty())
        return;
    const bool suppressed = rc.PaintSuppressed();
    rc.SetPaintSuppressed(true);
    const TChartGeometry area = rc.DataArea();
    const TNotePlacement p =
        PlaceNotes(QRect(QPoint(area.Left(), area.Top()), QPoint(area.Right(), area.Bottom())), sizes, ItemExtents(rc));
    // The widest pen reaches above the item's top point.
    if (p.DataTop > 0)
        LowerDataTo(rc, p.DataTop + 3);
    for (std::size_t i = 0; i < shown.size(); ++i)
        SetLabelBox(*shown[i], p.Boxes[i]);
    rc.SetPaintSuppressed(suppressed);
}

void AddRunningMedian(TKurvo &rc, std::span<const double> samples)
{
    const TPenScope pen(rc, kGreen, 2);
    const std::vector<double> medians = RunningMedians(samples);
    for (std::size_t i = 0; i < medians.size(); ++i) {
        if (i == 0)
            rc.MoveTo(1, medians[0]);
        else
            rc.DrawTo(double(i + 1), medians[i]);
    }
}
