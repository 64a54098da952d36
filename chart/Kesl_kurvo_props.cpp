#include "Kesl_kurvo_props.h"

#include "Kesl_setting.h"

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
    return KurvoLayer::Valid(Layer) ? m_x[Layer - 1] : 0;
}

int TJointLayers::YControlledBy(int Layer) const
{
    return KurvoLayer::Valid(Layer) ? m_y[Layer - 1] : 0;
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
    if (!KurvoLayer::Valid(Layer))
        throw EKeslKurvoError("Layer " + std::to_string(Layer) + " is out of range");
    if (!KurvoLayer::Valid(Dest))
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
    // All 32 entries, then the chart hears of it, an equal table included.
    m_x = src->m_x;
    m_y = src->m_y;
    if (OnChange)
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

} // namespace

TBakGndImg::TBakGndImg(QObject *Owner) : QObject(Owner) { }

void TBakGndImg::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TBakGndImg::SetName(const QString &Value)
{
    if (TStoreAlways::Store(m_name, m_includePath ? Value : FileNamePart(Value)))
        Changed();
}

void TBakGndImg::SetIncludePath(bool Value)
{
    if (!Value)
        m_name = FileNamePart(m_name);
    if (TStoreAlways::Store(m_includePath, Value))
        Changed();
}

void TBakGndImg::SetFillMode(TBkgFill Value)
{
    if (TStoreAlways::StoreEnum(m_fillMode, Value, bfTile))
        Changed();
}

void TBakGndImg::SetAreaMode(TBGAreaMode Value)
{
    if (TStoreAlways::StoreEnum(m_areaMode, Value, bamRect))
        Changed();
}

void TBakGndImg::SetAreaColor(TColor Value)
{
    if (TStoreAlways::Store(m_areaColor, Value))
        Changed();
}

void TBakGndImg::SetAreaLeft(double Value)
{
    if (TStoreAlways::Store(m_areaLeft, Value))
        Changed();
}

void TBakGndImg::SetAreaRight(double Value)
{
    if (TStoreAlways::Store(m_areaRight, Value))
        Changed();
}

void TBakGndImg::SetAreaTop(double Value)
{
    if (TStoreAlways::Store(m_areaTop, Value))
        Changed();
}

void TBakGndImg::SetAreaBottom(double Value)
{
    if (TStoreAlways::Store(m_areaBottom, Value))
        Changed();
}
