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
enum TScaleLocationHoriz { slTop, slBottom };
/// Side of the data area on which a y axis lies.
enum TScaleLocationVert { slLeft, slRight };

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
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    Q_PROPERTY(TScaleUnitAnchor CaptionAnchor READ CaptionAnchor WRITE SetCaptionAnchor)
    Q_PROPERTY(TColor ColorScale READ ColorScale WRITE SetColorScale)
    Q_PROPERTY(TDTLabel *DateFormat READ DateFormat WRITE SetDateFormat)
    Q_PROPERTY(int DecPlaces READ DecPlaces WRITE SetDecPlaces)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE SetLogarithmic)
    Q_PROPERTY(TFigType LabelType READ LabelType WRITE SetLabelType)
    Q_PROPERTY(int MinTicks READ MinTicks WRITE SetMinTicks)
    Q_PROPERTY(double MinRange READ MinRange WRITE SetMinRange)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    Q_PROPERTY(bool ShortTicks READ ShortTicks WRITE SetShortTicks)
    Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
    Q_PROPERTY(int ScalePos READ ScalePos WRITE SetScalePos)
    Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    /// Smallest value a logarithmic axis accepts as a range end.
    static const double LogFloor; // 1e-100

    explicit TScaleProps(QObject *Owner = nullptr);
    ~TScaleProps() override;

    QString Caption() const { return m_caption; }
    int CaptionPosX() const { return m_captionPosX; }
    int CaptionPosY() const { return m_captionPosY; }
    TAlignment CaptionAlignment() const { return m_captionAlignment; }
    TScaleUnitAnchor CaptionAnchor() const { return m_captionAnchor; }
    TColor ColorScale() const { return m_colorScale; }
    TDTLabel *DateFormat() const { return m_dateFormat; }
    int DecPlaces() const { return m_decPlaces; }
    const TFont &Font() const { return m_font; }
    bool Logarithmic() const { return m_logarithmic; }
    TFigType LabelType() const { return m_labelType; }
    int MinTicks() const { return m_minTicks; }
    double MinRange() const { return m_minRange; }
    double RangeLow() const { return m_rangeLow; }
    double RangeHigh() const { return m_rangeHigh; }
    bool ShortTicks() const { return m_shortTicks; }
    QString ScaleInscript() const { return m_scaleInscript; }
    int ScalePos() const { return m_scalePos; }
    QString UserTickText() const { return m_userTickText; }
    bool Visible() const { return m_visible; }

    /// Internal: the side of the scale object on which the axis line lies. Set
    /// by ScaleLocation and by the chart's per-layer defaults; not notified.
    TScaleType ScaleType() const { return m_scaleType; }
    void SetScaleType(TScaleType Value);

    void SetCaption(const QString &Value);
    void SetCaptionPosX(int Value);
    void SetCaptionPosY(int Value);
    /// Enumeration values outside their range are ignored.
    void SetCaptionAlignment(TAlignment Value);
    void SetCaptionAnchor(TScaleUnitAnchor Value);
    void SetColorScale(TColor Value);
    /// Copies the seven date/time settings of Value into the owned object
    /// (nullptr is ignored); one notification.
    void SetDateFormat(const TDTLabel *Value);
    /// Clamped to -3..12.
    void SetDecPlaces(int Value);
    void SetFont(const TFont &Value);
    /// True is refused after loading unless both range ends are at least
    /// LogFloor and the labels are not date/time labels.
    void SetLogarithmic(bool Value);
    /// ftDateTime switches Logarithmic off, ftTime sets DecPlaces to 4.
    void SetLabelType(TFigType Value);
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
    void SetRangeHigh(double Value);
    void SetShortTicks(bool Value);
    void SetScaleInscript(const QString &Value);
    void SetScalePos(int Value);
    void SetUserTickText(const QString &Value);
    void SetVisible(bool Value);

    TNotifyEvent OnChange;

protected:
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
    Q_PROPERTY(TScaleLocationHoriz ScaleLocation READ ScaleLocation WRITE SetScaleLocation)

public:
    explicit TScalePropsHoriz(QObject *Owner = nullptr);

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
    Q_PROPERTY(TScaleLocationVert ScaleLocation READ ScaleLocation WRITE SetScaleLocation)

public:
    explicit TScalePropsVert(QObject *Owner = nullptr);

    TScaleLocationVert ScaleLocation() const { return m_location; }
    void SetScaleLocation(TScaleLocationVert Value);

private:
    TScaleLocationVert m_location = slLeft;
};
