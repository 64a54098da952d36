#pragma once

/// @file
/// The settings of one axis of one chart layer.

#include "Canvas.h"
#include "Colors.h"
#include "Component.h"
#include "Kesl_DigrelTypes.h"
#include "Kesl_Scale_types.h"
#include "Kesl_keslbase_dtlabel.h"

#include <QObject>
#include <QString>

/// Side of the data area on which an x axis lies.
enum TScaleLocationHoriz : std::uint8_t { slTop, slBottom };
/// Side of the data area on which a y axis lies.
enum TScaleLocationVert : std::uint8_t { slLeft, slRight };

/// Everything about one axis of one chart layer: its range (used by the
/// coordinate mapping) and its appearance (copied into the layer's scale
/// object). The owning chart binds OnChange; every setter ends by firing it
/// once, whether the value was new, equal or refused (the chart guards its own
/// reaction against re-entry when it sets ranges through these setters).
///
/// The object starts in its loading state (TLoadable): while loading, a
/// logarithmic axis is accepted whatever the range. The chart calls Loaded()
/// once its stored form has been read.
///
/// The date/time settings object is owned; a change of one of its settings is
/// reported through this object's OnChange (sender: this object).
class TScaleProps : public QObject, public TLoadable
{
    Q_OBJECT
    /// Caption of the axis (default empty). Notifies.
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    /// Horizontal offset of the caption from its anchor, in pixels (default 0). Notifies.
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    /// Vertical offset of the caption from its anchor, in pixels (default 0). Notifies.
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    /// Alignment of the caption (default taCenter); values outside the
    /// enumeration are ignored. Notifies.
    Q_PROPERTY(TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    /// Point of the scale the caption is anchored to (default uaSclTopLft). Notifies.
    Q_PROPERTY(TScaleUnitAnchor CaptionAnchor READ CaptionAnchor WRITE SetCaptionAnchor)
    /// Colour of the axis line, ticks and labels (default set per layer by the chart). Notifies.
    Q_PROPERTY(TColor ColorScale READ ColorScale WRITE SetColorScale)
    /// How date/time labels are written; the object is owned, and a change of
    /// one of its settings notifies through this object. Setting copies the
    /// settings of another object (nullptr is ignored).
    Q_PROPERTY(TDTLabel *DateFormat READ DateFormat WRITE SetDateFormat)
    /// Decimals of numeric labels, -3..12 (default -2): -2 and -3 choose them
    /// from the range, -1 writes exponents, 0..12 a fixed number. Clamped. Notifies.
    Q_PROPERTY(int DecPlaces READ DecPlaces WRITE SetDecPlaces)
    /// Font of the labels and the caption (default the platform's). Notifies.
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    /// Logarithmic axis (default false); see SetLogarithmic(). Notifies.
    Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE SetLogarithmic)
    /// What the long ticks are labelled with (default ftNum); ftDateTime
    /// switches Logarithmic off, ftTime sets DecPlaces to 4. Notifies.
    Q_PROPERTY(TFigType LabelType READ LabelType WRITE SetLabelType)
    /// Smallest number of long ticks the tick spacing aims at (default 3). Notifies.
    Q_PROPERTY(int MinTicks READ MinTicks WRITE SetMinTicks)
    /// Smallest width of the range (default 1e-10); see SetMinRange(). Notifies.
    Q_PROPERTY(double MinRange READ MinRange WRITE SetMinRange)
    /// Value at the axis' low end, in the axis' units (default 0); see
    /// SetRangeLow(). Notifies.
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    /// Value at the axis' high end (default 1); the rules of SetRangeLow()
    /// apply. Notifies.
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    /// Short ticks between the long ones (default true). Notifies.
    Q_PROPERTY(bool ShortTicks READ ShortTicks WRITE SetShortTicks)
    /// Pattern the numeric labels are written into (default empty: the bare number). Notifies.
    Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
    /// Outward shift of the axis line from the data area's edge, in pixels
    /// (default set per layer by the chart). Notifies.
    Q_PROPERTY(int ScalePos READ ScalePos WRITE SetScalePos)
    /// Texts of the long ticks for ftUserText, separated by "|" (default empty). Notifies.
    Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
    /// Whether the axis is drawn (default false). Notifies.
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    /// Smallest value a logarithmic axis accepts as a range end.
    static const double LogFloor; // 1e-100

    /// Settings with the defaults, in the loading state, owned by Owner.
    explicit TScaleProps(QObject *Owner = nullptr);
    /// Frees the date/time settings object.
    ~TScaleProps() override;

    /// See the Caption property.
    QString Caption() const { return m_caption; }
    /// See the CaptionPosX property.
    int CaptionPosX() const { return m_captionPosX; }
    /// See the CaptionPosY property.
    int CaptionPosY() const { return m_captionPosY; }
    /// See the CaptionAlignment property.
    TAlignment CaptionAlignment() const { return m_captionAlignment; }
    /// See the CaptionAnchor property.
    TScaleUnitAnchor CaptionAnchor() const { return m_captionAnchor; }
    /// See the ColorScale property.
    TColor ColorScale() const { return m_colorScale; }
    /// See the DateFormat property.
    TDTLabel *DateFormat() const { return m_dateFormat; }
    /// See the DecPlaces property.
    int DecPlaces() const { return m_decPlaces; }
    /// See the Font property.
    const TFont &Font() const { return m_font; }
    /// See the Logarithmic property.
    bool Logarithmic() const { return m_logarithmic; }
    /// See the LabelType property.
    TFigType LabelType() const { return m_labelType; }
    /// See the MinTicks property.
    int MinTicks() const { return m_minTicks; }
    /// See the MinRange property.
    double MinRange() const { return m_minRange; }
    /// See the RangeLow property.
    double RangeLow() const { return m_rangeLow; }
    /// See the RangeHigh property.
    double RangeHigh() const { return m_rangeHigh; }
    /// See the ShortTicks property.
    bool ShortTicks() const { return m_shortTicks; }
    /// See the ScaleInscript property.
    QString ScaleInscript() const { return m_scaleInscript; }
    /// See the ScalePos property.
    int ScalePos() const { return m_scalePos; }
    /// See the UserTickText property.
    QString UserTickText() const { return m_userTickText; }
    /// See the Visible property.
    bool Visible() const { return m_visible; }

    /// Internal: the side of the scale object on which the axis line lies. Set
    /// by ScaleLocation and by the chart's per-layer defaults; not notified.
    TScaleType ScaleType() const { return m_scaleType; }
    /// Sets the scale type; does not notify.
    void SetScaleType(TScaleType Value);

    /// Sets the Caption property.
    void SetCaption(const QString &Value);
    /// Sets the CaptionPosX property.
    void SetCaptionPosX(int Value);
    /// Sets the CaptionPosY property.
    void SetCaptionPosY(int Value);
    /// Enumeration values outside their range are ignored.
    void SetCaptionAlignment(TAlignment Value);
    /// Sets the CaptionAnchor property.
    void SetCaptionAnchor(TScaleUnitAnchor Value);
    /// Sets the ColorScale property.
    void SetColorScale(TColor Value);
    /// Copies the seven date/time settings of Value into the owned object
    /// (nullptr is ignored); one notification.
    void SetDateFormat(const TDTLabel *Value);
    /// Clamped to -3..12.
    void SetDecPlaces(int Value);
    /// Sets the Font property.
    void SetFont(const TFont &Value);
    /// True is refused after loading unless both range ends are at least
    /// LogFloor and the labels are not date/time labels.
    void SetLogarithmic(bool Value);
    /// ftDateTime switches Logarithmic off, ftTime sets DecPlaces to 4.
    void SetLabelType(TFigType Value);
    /// Sets the MinTicks property.
    void SetMinTicks(int Value);
    /// Values <= LogFloor and non-finite values are ignored; a range narrower
    /// than the new minimum is widened around its centre (not when that would
    /// overflow, or put a logarithmic axis' low end at or below zero).
    void SetMinRange(double Value);
    /// A range end closer than MinRange to the other end moves the other end to
    /// MinRange away. Otherwise a logarithmic axis ignores an end below
    /// LogFloor. Always ignored: non-finite values, moves whose result would
    /// not be finite, and on a logarithmic axis a move that would leave an end
    /// at or below zero.
    void SetRangeLow(double Value);
    /// Sets the RangeHigh property.
    void SetRangeHigh(double Value);
    /// Sets the ShortTicks property.
    void SetShortTicks(bool Value);
    /// Sets the ScaleInscript property.
    void SetScaleInscript(const QString &Value);
    /// Sets the ScalePos property.
    void SetScalePos(int Value);
    /// Sets the UserTickText property.
    void SetUserTickText(const QString &Value);
    /// Sets the Visible property.
    void SetVisible(bool Value);

    /// Raised by every setter once, whether the value was new, equal or refused.
    TNotifyEvent OnChange;

protected:
    /// Raises OnChange.
    void Changed();

private:
    /// Stores a setting and notifies the owner.
    template<typename T> void Store(T &field, const T &value);

    void DateFormatChanged();

    QString m_caption;
    int m_captionPosX = 0;
    int m_captionPosY = 0;
    TAlignment m_captionAlignment = taCenter;
    TScaleUnitAnchor m_captionAnchor = uaSclTopLft;
    TColor m_colorScale = clBlack;
    TDTLabel *m_dateFormat = nullptr;
    int m_decPlaces = -2;
    TFont m_font;
    bool m_logarithmic = false;
    TFigType m_labelType = ftNum;
    int m_minTicks = 3;
    double m_minRange = 1e-10;
    double m_rangeLow = 0;
    double m_rangeHigh = 1;
    bool m_shortTicks = true;
    QString m_scaleInscript;
    int m_scalePos = 0;
    QString m_userTickText;
    bool m_visible = false;
    TScaleType m_scaleType = sctXT;

    bool m_holdChange = false; // while a whole date/time format is copied in
};

/// Scale properties of an x axis: slTop puts the axis line on the lower side of
/// its scale object (sctXB), slBottom on the upper side (sctXT).
class TScalePropsHoriz : public TScaleProps
{
    Q_OBJECT
    /// Side of the data area the axis lies on; values outside the enumeration
    /// are ignored. Notifies.
    Q_PROPERTY(TScaleLocationHoriz ScaleLocation READ ScaleLocation WRITE SetScaleLocation)

public:
    /// Settings of an x axis at the bottom, owned by Owner.
    explicit TScalePropsHoriz(QObject *Owner = nullptr);

    /// See the ScaleLocation property.
    TScaleLocationHoriz ScaleLocation() const { return m_location; }
    /// Stores the location and sets the scale type; values outside the
    /// enumeration are ignored.
    void SetScaleLocation(TScaleLocationHoriz Value);

private:
    TScaleLocationHoriz m_location = slBottom;
};

/// Scale properties of a y axis: slLeft puts the axis line on the right side of
/// its scale object (sctYR), slRight on the left side (sctYL).
class TScalePropsVert : public TScaleProps
{
    Q_OBJECT
    /// Side of the data area the axis lies on; values outside the enumeration
    /// are ignored. Notifies.
    Q_PROPERTY(TScaleLocationVert ScaleLocation READ ScaleLocation WRITE SetScaleLocation)

public:
    /// Settings of a y axis on the left, owned by Owner.
    explicit TScalePropsVert(QObject *Owner = nullptr);

    /// See the ScaleLocation property.
    TScaleLocationVert ScaleLocation() const { return m_location; }
    /// Sets the ScaleLocation property.
    void SetScaleLocation(TScaleLocationVert Value);

private:
    TScaleLocationVert m_location = slLeft;
};
