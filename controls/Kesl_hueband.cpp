#include "Kesl_hueband.h"

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
    m_nrColors = std::clamp(v, 1, 255);
    Changed();
}

void THueband::SetFillType(TGradType v)
{
    if (v == m_fillType)
        return;
    m_fillType = v;
    Changed();
}

void THueband::SetColorFirst(TColor v)
{
    m_colorFirst = v;
    (m_flipped ? m_baseLast : m_baseFirst) = v;
    Changed();
}

void THueband::SetColorLast(TColor v)
{
    m_colorLast = v;
    (m_flipped ? m_baseFirst : m_baseLast) = v;
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
    m_frameStyle = v;
    Changed();
}

void THueband::SetGridMode(TGridMode v)
{
    m_gridMode = v;
    Changed();
}

void THueband::SetGridColor(TColor v)
{
    m_gridColor = v;
    Changed();
}
