#include "Kesl_hueband.h"

#include "Kesl_setting.h"

#include <QMouseEvent>

#include <algorithm>

THueband::THueband(QWidget *parent) : TControl(parent)
{
    resize(121, 121);
    setMouseTracking(true); // moves without a button reach OnMouseMove too
    // The picture covers every pixel; nothing beneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

THueband::~THueband() = default;

void THueband::Changed()
{
    if (!IsLoading())
        update();
}

void THueband::Loaded()
{
    TLoadable::Loaded();
    update();
}

void THueband::SetNrColors(int v)
{
    if (TStoreAlways::Store(m_nrColors, std::clamp(v, 1, 255)))
        Changed();
}

void THueband::SetFillType(TGradType v)
{
    // The pattern alone repaints only when it changes.
    if (TStoreOnChange::StoreEnum(m_fillType, v, gtRect))
        Changed();
}

void THueband::SetColorFirst(TColor v)
{
    (m_flipped ? m_baseLast : m_baseFirst) = v;
    if (TStoreAlways::Store(m_colorFirst, v))
        Changed();
}

void THueband::SetColorLast(TColor v)
{
    (m_flipped ? m_baseFirst : m_baseLast) = v;
    if (TStoreAlways::Store(m_colorLast, v))
        Changed();
}

void THueband::SetColorFlipped(bool v)
{
    m_flipped = v;
    // Copies first: the setters write the base colours back.
    const TColor baseFirst = m_baseFirst, baseLast = m_baseLast;
    SetColorFirst(v ? baseLast : baseFirst);
    SetColorLast(v ? baseFirst : baseLast);
}

void THueband::SetFrameStyle(TFrameStyle v)
{
    if (TStoreAlways::StoreEnum(m_frameStyle, v, fsEngraved))
        Changed();
}

void THueband::SetGridMode(TGridMode v)
{
    if (TStoreAlways::StoreEnum(m_gridMode, v, gmBoth))
        Changed();
}

void THueband::SetGridColor(TColor v)
{
    if (TStoreAlways::Store(m_gridColor, v))
        Changed();
}
