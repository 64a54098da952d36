#pragma once

/// @file
/// The chart's property objects: layer joins, background image and the chart's error.

#include "Colors.h"
#include "Component.h"
#include "KeslError.h"
#include "Kesl_kurvo_layer.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <string>

/// Errors of the chart control (invalid layer joins).
class EKeslKurvoError : public EKeslError
{
public:
    /// An error that reads message.
    explicit EKeslKurvoError(const std::string &message) : EKeslError(message) { }
};

/// Which layer's range each layer follows, one table for x and one for y.
/// Entry n names the layer whose range layer n follows; n itself means the axis
/// is independent. Joins are one level deep: a layer that follows another
/// cannot be followed, and a followed layer cannot follow.
class TJointLayers : public QObject
{
    Q_OBJECT
    ///@{

    /// The controller of one layer on one axis (LnnxControlledBy: layer nn on x,
    /// LnnyControlledBy: on y), 1..16; the layer's own number (the default) makes
    /// the axis independent. See SetXControlledBy() for the rules; notifies
    /// through OnJoined and OnChange.
    Q_PROPERTY(int L01xControlledBy READ L01xControlledBy WRITE SetL01xControlledBy)
    Q_PROPERTY(int L02xControlledBy READ L02xControlledBy WRITE SetL02xControlledBy)
    Q_PROPERTY(int L03xControlledBy READ L03xControlledBy WRITE SetL03xControlledBy)
    Q_PROPERTY(int L04xControlledBy READ L04xControlledBy WRITE SetL04xControlledBy)
    Q_PROPERTY(int L05xControlledBy READ L05xControlledBy WRITE SetL05xControlledBy)
    Q_PROPERTY(int L06xControlledBy READ L06xControlledBy WRITE SetL06xControlledBy)
    Q_PROPERTY(int L07xControlledBy READ L07xControlledBy WRITE SetL07xControlledBy)
    Q_PROPERTY(int L08xControlledBy READ L08xControlledBy WRITE SetL08xControlledBy)
    Q_PROPERTY(int L09xControlledBy READ L09xControlledBy WRITE SetL09xControlledBy)
    Q_PROPERTY(int L10xControlledBy READ L10xControlledBy WRITE SetL10xControlledBy)
    Q_PROPERTY(int L11xControlledBy READ L11xControlledBy WRITE SetL11xControlledBy)
    Q_PROPERTY(int L12xControlledBy READ L12xControlledBy WRITE SetL12xControlledBy)
    Q_PROPERTY(int L13xControlledBy READ L13xControlledBy WRITE SetL13xControlledBy)
    Q_PROPERTY(int L14xControlledBy READ L14xControlledBy WRITE SetL14xControlledBy)
    Q_PROPERTY(int L15xControlledBy READ L15xControlledBy WRITE SetL15xControlledBy)
    Q_PROPERTY(int L16xControlledBy READ L16xControlledBy WRITE SetL16xControlledBy)
    Q_PROPERTY(int L01yControlledBy READ L01yControlledBy WRITE SetL01yControlledBy)
    Q_PROPERTY(int L02yControlledBy READ L02yControlledBy WRITE SetL02yControlledBy)
    Q_PROPERTY(int L03yControlledBy READ L03yControlledBy WRITE SetL03yControlledBy)
    Q_PROPERTY(int L04yControlledBy READ L04yControlledBy WRITE SetL04yControlledBy)
    Q_PROPERTY(int L05yControlledBy READ L05yControlledBy WRITE SetL05yControlledBy)
    Q_PROPERTY(int L06yControlledBy READ L06yControlledBy WRITE SetL06yControlledBy)
    Q_PROPERTY(int L07yControlledBy READ L07yControlledBy WRITE SetL07yControlledBy)
    Q_PROPERTY(int L08yControlledBy READ L08yControlledBy WRITE SetL08yControlledBy)
    Q_PROPERTY(int L09yControlledBy READ L09yControlledBy WRITE SetL09yControlledBy)
    Q_PROPERTY(int L10yControlledBy READ L10yControlledBy WRITE SetL10yControlledBy)
    Q_PROPERTY(int L11yControlledBy READ L11yControlledBy WRITE SetL11yControlledBy)
    Q_PROPERTY(int L12yControlledBy READ L12yControlledBy WRITE SetL12yControlledBy)
    Q_PROPERTY(int L13yControlledBy READ L13yControlledBy WRITE SetL13yControlledBy)
    Q_PROPERTY(int L14yControlledBy READ L14yControlledBy WRITE SetL14yControlledBy)
    Q_PROPERTY(int L15yControlledBy READ L15yControlledBy WRITE SetL15yControlledBy)
    Q_PROPERTY(int L16yControlledBy READ L16yControlledBy WRITE SetL16yControlledBy)
    ///@}

public:
    /// Entries of each table: one per layer.
    static constexpr int LayerCount = kKurvoLayers;

    /// Called after a join took effect, before OnChange, so that the chart can
    /// give the layer the range of its new controller on that axis.
    using TJoinEvent = std::function<void(QObject *Sender, int Layer, bool XAxis)>;

    /// Tables with every layer independent, owned by Owner.
    explicit TJointLayers(QObject *Owner = nullptr);

    /// Controller of Layer (1..16) on x or y; 0 for a layer outside 1..16.
    int XControlledBy(int Layer) const;
    /// Controller of Layer (1..16) on y; 0 for a layer outside 1..16.
    int YControlledBy(int Layer) const;

    /// Joins Layer to Dest on x (or y), or makes it independent with Dest ==
    /// Layer. Raises EKeslKurvoError for a destination outside 1..16, a
    /// destination that follows another layer itself, or a layer that others
    /// follow; the tables then stay as they were. A Layer outside 1..16 raises
    /// EKeslKurvoError as well.
    void SetXControlledBy(int Layer, int Dest);
    /// As SetXControlledBy(), for the y axis.
    void SetYControlledBy(int Layer, int Dest);

    ///@{

    /// Accessors of the LnnxControlledBy and LnnyControlledBy properties.
    int L01xControlledBy() const { return XControlledBy(1); }
    void SetL01xControlledBy(int Value) { SetXControlledBy(1, Value); }
    int L02xControlledBy() const { return XControlledBy(2); }
    void SetL02xControlledBy(int Value) { SetXControlledBy(2, Value); }
    int L03xControlledBy() const { return XControlledBy(3); }
    void SetL03xControlledBy(int Value) { SetXControlledBy(3, Value); }
    int L04xControlledBy() const { return XControlledBy(4); }
    void SetL04xControlledBy(int Value) { SetXControlledBy(4, Value); }
    int L05xControlledBy() const { return XControlledBy(5); }
    void SetL05xControlledBy(int Value) { SetXControlledBy(5, Value); }
    int L06xControlledBy() const { return XControlledBy(6); }
    void SetL06xControlledBy(int Value) { SetXControlledBy(6, Value); }
    int L07xControlledBy() const { return XControlledBy(7); }
    void SetL07xControlledBy(int Value) { SetXControlledBy(7, Value); }
    int L08xControlledBy() const { return XControlledBy(8); }
    void SetL08xControlledBy(int Value) { SetXControlledBy(8, Value); }
    int L09xControlledBy() const { return XControlledBy(9); }
    void SetL09xControlledBy(int Value) { SetXControlledBy(9, Value); }
    int L10xControlledBy() const { return XControlledBy(10); }
    void SetL10xControlledBy(int Value) { SetXControlledBy(10, Value); }
    int L11xControlledBy() const { return XControlledBy(11); }
    void SetL11xControlledBy(int Value) { SetXControlledBy(11, Value); }
    int L12xControlledBy() const { return XControlledBy(12); }
    void SetL12xControlledBy(int Value) { SetXControlledBy(12, Value); }
    int L13xControlledBy() const { return XControlledBy(13); }
    void SetL13xControlledBy(int Value) { SetXControlledBy(13, Value); }
    int L14xControlledBy() const { return XControlledBy(14); }
    void SetL14xControlledBy(int Value) { SetXControlledBy(14, Value); }
    int L15xControlledBy() const { return XControlledBy(15); }
    void SetL15xControlledBy(int Value) { SetXControlledBy(15, Value); }
    int L16xControlledBy() const { return XControlledBy(16); }
    void SetL16xControlledBy(int Value) { SetXControlledBy(16, Value); }
    int L01yControlledBy() const { return YControlledBy(1); }
    void SetL01yControlledBy(int Value) { SetYControlledBy(1, Value); }
    int L02yControlledBy() const { return YControlledBy(2); }
    void SetL02yControlledBy(int Value) { SetYControlledBy(2, Value); }
    int L03yControlledBy() const { return YControlledBy(3); }
    void SetL03yControlledBy(int Value) { SetYControlledBy(3, Value); }
    int L04yControlledBy() const { return YControlledBy(4); }
    void SetL04yControlledBy(int Value) { SetYControlledBy(4, Value); }
    int L05yControlledBy() const { return YControlledBy(5); }
    void SetL05yControlledBy(int Value) { SetYControlledBy(5, Value); }
    int L06yControlledBy() const { return YControlledBy(6); }
    void SetL06yControlledBy(int Value) { SetYControlledBy(6, Value); }
    int L07yControlledBy() const { return YControlledBy(7); }
    void SetL07yControlledBy(int Value) { SetYControlledBy(7, Value); }
    int L08yControlledBy() const { return YControlledBy(8); }
    void SetL08yControlledBy(int Value) { SetYControlledBy(8, Value); }
    int L09yControlledBy() const { return YControlledBy(9); }
    void SetL09yControlledBy(int Value) { SetYControlledBy(9, Value); }
    int L10yControlledBy() const { return YControlledBy(10); }
    void SetL10yControlledBy(int Value) { SetYControlledBy(10, Value); }
    int L11yControlledBy() const { return YControlledBy(11); }
    void SetL11yControlledBy(int Value) { SetYControlledBy(11, Value); }
    int L12yControlledBy() const { return YControlledBy(12); }
    void SetL12yControlledBy(int Value) { SetYControlledBy(12, Value); }
    int L13yControlledBy() const { return YControlledBy(13); }
    void SetL13yControlledBy(int Value) { SetYControlledBy(13, Value); }
    int L14yControlledBy() const { return YControlledBy(14); }
    void SetL14yControlledBy(int Value) { SetYControlledBy(14, Value); }
    int L15yControlledBy() const { return YControlledBy(15); }
    void SetL15yControlledBy(int Value) { SetYControlledBy(15, Value); }
    int L16yControlledBy() const { return YControlledBy(16); }
    void SetL16yControlledBy(int Value) { SetYControlledBy(16, Value); }
    ///@}

    /// Copies all entries of another joint table without the join checks and
    /// notifies; any other source raises EKeslError.
    void Assign(const QObject *Source);

    /// Raised after every change of a table.
    TNotifyEvent OnChange;
    /// Raised after a join took effect, before OnChange.
    TJoinEvent OnJoined;

private:
    using TTable = std::array<int, LayerCount>;
    void SetControlledBy(TTable &Table, int Layer, int Dest, bool XAxis);

    TTable m_x {};
    TTable m_y {};
};

/// How a background image covers the data area.
enum TBkgFill { bfSimple, bfStretch, bfTile };

/// Which part of the data area the coloured background area covers, bounded by
/// AreaLeft, AreaRight, AreaTop, AreaBottom in chart coordinates of layer 1.
enum TBGAreaMode : std::uint8_t { bamNone, bamLeft, bamRight, bamTop, bamBottom, bamVStripe, bamHStripe, bamRect };

/// Background image and coloured area of the chart's data area. Every setter
/// stores its value and notifies the chart through OnChange.
class TBakGndImg : public QObject
{
    Q_OBJECT
    /// File of the background image (default empty: none); without IncludePath
    /// only its file name part is kept. Notifies.
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    /// Keeps the directory in Name (default false); switching it off drops the
    /// directory from the current Name. Notifies.
    Q_PROPERTY(bool IncludePath READ IncludePath WRITE SetIncludePath)
    /// How the image covers the data area (default bfStretch); values outside
    /// the enumeration are stored as the default. Notifies.
    Q_PROPERTY(TBkgFill FillMode READ FillMode WRITE SetFillMode)
    /// Which part of the data area the coloured area covers (default bamNone). Notifies.
    Q_PROPERTY(TBGAreaMode AreaMode READ AreaMode WRITE SetAreaMode)
    /// Colour of the coloured area (default 0xDDDDDD, light grey). Notifies.
    Q_PROPERTY(TColor AreaColor READ AreaColor WRITE SetAreaColor)
    /// Left bound of the coloured area in x units of layer 1 (default -1). Notifies.
    Q_PROPERTY(double AreaLeft READ AreaLeft WRITE SetAreaLeft)
    /// Right bound of the coloured area in x units of layer 1 (default 1). Notifies.
    Q_PROPERTY(double AreaRight READ AreaRight WRITE SetAreaRight)
    /// Upper bound of the coloured area in y units of layer 1 (default 1). Notifies.
    Q_PROPERTY(double AreaTop READ AreaTop WRITE SetAreaTop)
    /// Lower bound of the coloured area in y units of layer 1 (default -1). Notifies.
    Q_PROPERTY(double AreaBottom READ AreaBottom WRITE SetAreaBottom)

public:
    /// Settings with no image and no coloured area, owned by Owner.
    explicit TBakGndImg(QObject *Owner = nullptr);

    /// See the Name property.
    QString Name() const { return m_name; }
    /// See the IncludePath property.
    bool IncludePath() const { return m_includePath; }
    /// See the FillMode property.
    TBkgFill FillMode() const { return m_fillMode; }
    /// See the AreaMode property.
    TBGAreaMode AreaMode() const { return m_areaMode; }
    /// See the AreaColor property.
    TColor AreaColor() const { return m_areaColor; }
    /// See the AreaLeft property.
    double AreaLeft() const { return m_areaLeft; }
    /// See the AreaRight property.
    double AreaRight() const { return m_areaRight; }
    /// See the AreaTop property.
    double AreaTop() const { return m_areaTop; }
    /// See the AreaBottom property.
    double AreaBottom() const { return m_areaBottom; }

    /// Without IncludePath only the file name part is kept.
    void SetName(const QString &Value);
    /// Switching it off drops the directory from the current Name.
    void SetIncludePath(bool Value);
    /// Enumeration values beyond the last are ignored.
    void SetFillMode(TBkgFill Value);
    /// Sets the AreaMode property.
    void SetAreaMode(TBGAreaMode Value);
    /// Sets the AreaColor property.
    void SetAreaColor(TColor Value);
    /// Sets the AreaLeft property.
    void SetAreaLeft(double Value);
    /// Sets the AreaRight property.
    void SetAreaRight(double Value);
    /// Sets the AreaTop property.
    void SetAreaTop(double Value);
    /// Sets the AreaBottom property.
    void SetAreaBottom(double Value);

    /// Raised after every change of a setting; the chart binds it to its repaint.
    TNotifyEvent OnChange;

private:
    void Changed();

    QString m_name;
    bool m_includePath = false;
    TBkgFill m_fillMode = bfStretch;
    TBGAreaMode m_areaMode = bamNone;
    TColor m_areaColor = 0xDDDDDD;
    double m_areaLeft = -1;
    double m_areaRight = 1;
    double m_areaTop = 1;
    double m_areaBottom = -1;
};
