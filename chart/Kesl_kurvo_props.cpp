#include "Kesl_kurvo_props.h"

#include <cmath>

#include <string>

// ---------------------------------------------------------------------------
// TJointLayers

TJointLayers::TJointLayers(QObject *Owner) : QObject(Owner)
{
    for (int i = 0; i < LayerCount; ++i) {
        m_x[i] = i + 1;
        m_y[i] = i + 1;
    }
}

int TJointLayers::XControlledBy(int Layer) const
{
    return (Layer >= 1 && Layer <= LayerCount) ? m_x[Layer - 1] : 0;
}

int TJointLayers::YControlledBy(int Layer) const
{
    return (Layer >= 1 && Layer <= LayerCount) ? m_y[Layer - 1] : 0;
}

void TJointLayers::SetXControlledBy(int Layer, int Dest)
{
    SetControlledBy(m_x, Layer, Dest, true);
}

void TJointLayers::SetYControlledBy(int Layer, int Dest)
{
    SetControlledBy(m_y, Layer, Dest, false);
}

void TJointLayers::SetControlledBy(TTable &Table, int Layer, int Dest, bool XAxis)
{
    if (Layer < 1 || Layer > LayerCount)
        throw EKeslKurvoError("Layer " + std::to_string(Layer) + " is out of range");
    if (Dest < 1 || Dest > LayerCount)
        throw EKeslKurvoError("Destination layer " + std::to_string(Dest) + " is out of range");
    if (Dest == Layer) {
        Table[Layer - 1] = Layer;
        return;
    }
    if (Table[Dest - 1] != Dest)
        throw EKeslKurvoError("Destination layer " + std::to_string(Dest) + " is already joined");
    std::string followers;
    for (int k = 1; k <= LayerCount; ++k) {
        if (k != Layer && Table[k - 1] == Layer) {
            if (!followers.empty())
                followers += ", ";
            followers += std::to_string(k);
        }
    }
    if (!followers.empty())
        throw EKeslKurvoError("Layer " + std::to_string(Layer) + " is joined by other layers (" + followers + ")");

    Table[Layer - 1] = Dest;
    if (OnJoined)
        OnJoined(this, Layer, XAxis);
    if (OnChange)
        OnChange(this);
}

void TJointLayers::Assign(const QObject *Source)
{
    const auto *src = qobject_cast<const TJointLayers *>(Source);
    if (!src) {
        const std::string name = Source ? Source->metaObject()->className() : "nil";
        throw EKeslError("Cannot assign a " + name + " to a TJointLayers");
    }
    if (src == this)
        return;
    const bool changed = m_x != src->m_x || m_y != src->m_y;
    m_x = src->m_x;
    m_y = src->m_y;
    if (changed && OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------
// TBakGndImg

namespace {
// The part after the last directory separator.
QString FileNamePart(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

template<class E> bool InRange(E value, E last)
{
    const int v = static_cast<int>(value);
    return v >= 0 && v <= static_cast<int>(last);
}
} // namespace

TBakGndImg::TBakGndImg(QObject *Owner) : QObject(Owner) { }

void TBakGndImg::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TBakGndImg::SetName(const QString &Value)
{
    const QString name = m_includePath ? Value : FileNamePart(Value);
    if (name == m_name)
        return;
    m_name = name;
    Changed();
}

void TBakGndImg::SetIncludePath(bool Value)
{
    const QString name = Value ? m_name : FileNamePart(m_name);
    if (Value == m_includePath && name == m_name)
        return;
    m_includePath = Value;
    m_name = name;
    Changed();
}

void TBakGndImg::SetFillMode(TBkgFill Value)
{
    if (!InRange(Value, bfTile))
        Value = bfStretch;
    if (Value == m_fillMode)
        return;
    m_fillMode = Value;
    Changed();
}

void TBakGndImg::SetAreaMode(TBGAreaMode Value)
{
    if (!InRange(Value, bamRect))
        Value = bamNone;
    if (Value == m_areaMode)
        return;
    m_areaMode = Value;
    Changed();
}

void TBakGndImg::SetAreaColor(TColor Value)
{
    if (Value == m_areaColor)
        return;
    m_areaColor = Value;
    Changed();
}

namespace {
// Stores a coordinate and reports whether it changed; two NaNs count as equal,
// so writing NaN again does not notify again.
bool StoreDouble(double &field, double value)
{
    if (field == value || (std::isnan(field) && std::isnan(value)))
        return false;
    field = value;
    return true;
}
} // namespace

void TBakGndImg::SetAreaLeft(double Value)
{
    if (StoreDouble(m_areaLeft, Value))
        Changed();
}

void TBakGndImg::SetAreaRight(double Value)
{
    if (StoreDouble(m_areaRight, Value))
        Changed();
}

void TBakGndImg::SetAreaTop(double Value)
{
    if (StoreDouble(m_areaTop, Value))
        Changed();
}

void TBakGndImg::SetAreaBottom(double Value)
{
    if (StoreDouble(m_areaBottom, Value))
        Changed();
}
