#pragma once

/// @file
/// The gradient fill: a stepped colour gradient with an optional line raster.

#include "Kesl_keslbase.h"

#include "Canvas.h"
#include "Colors.h"
#include "Control.h"

#include <QImage>
#include <QWidget>

#include <functional>

/// Geometric pattern of a gradient fill.
enum TGradType {
    gtHoriz,
    gtVert,
    gtMidBandHoriz,
    gtMidBandVert,
    gtEllipticFull,
    gtEllipticFit,
    gtRadial,
    gtDiagGrid,
    gtRect
};

/// Line raster over a gradient fill.
enum TGridMode { gmNone, gmHoriz, gmVert, gmBoth };

/// Fills its whole area with a stepped colour gradient from ColorFirst towards
/// ColorLast, optionally overlaid with a raster on every second row and/or column
/// and framed. The picture is built off screen and put on the surface in one step.
class THueband : public TControl
{
    Q_OBJECT
    /// Number of colour steps, 1..255 (default 16); other values are clamped. Repaints.
    Q_PROPERTY(int NrColors READ NrColors WRITE SetNrColors)
    /// Geometric pattern of the gradient (default gtHoriz). Repaints.
    Q_PROPERTY(TGradType FillType READ FillType WRITE SetFillType)
    /// Colour of the first step (default clMaroon); with ColorFlipped, the base colour of the last. Repaints.
    Q_PROPERTY(TColor ColorFirst READ ColorFirst WRITE SetColorFirst)
    /// Colour towards which the steps go (default clYellow); with ColorFlipped, the base colour of the first. Repaints.
    Q_PROPERTY(TColor ColorLast READ ColorLast WRITE SetColorLast)
    /// Exchanges the roles of the two base colours (default false). Repaints.
    Q_PROPERTY(bool ColorFlipped READ ColorFlipped WRITE SetColorFlipped)
    /// Frame around the fill (default fsNone). Repaints.
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    /// Raster of lines on every second row and/or column (default gmNone). Repaints.
    Q_PROPERTY(TGridMode GridMode READ GridMode WRITE SetGridMode)
    /// Colour of the raster (default clNavy). Repaints.
    Q_PROPERTY(TColor GridColor READ GridColor WRITE SetGridColor)

public:
    /// A gradient fill with the defaults on parent.
    explicit THueband(QWidget *parent = nullptr);
    /// Frees the kept picture.
    ~THueband() override;

    /// See the NrColors property.
    int NrColors() const { return m_nrColors; }
    /// See the FillType property.
    TGradType FillType() const { return m_fillType; }
    /// See the ColorFirst property.
    TColor ColorFirst() const { return m_colorFirst; }
    /// See the ColorLast property.
    TColor ColorLast() const { return m_colorLast; }
    /// See the ColorFlipped property.
    bool ColorFlipped() const { return m_flipped; }
    /// See the FrameStyle property.
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    /// See the GridMode property.
    TGridMode GridMode() const { return m_gridMode; }
    /// See the GridColor property.
    TColor GridColor() const { return m_gridColor; }

    /// Stored within 1..255.
    void SetNrColors(int v);
    /// Sets the FillType property.
    void SetFillType(TGradType v);
    /// Sets the effective first colour and the base colour that supplies it.
    void SetColorFirst(TColor v);
    /// Sets the effective last colour and the base colour that supplies it.
    void SetColorLast(TColor v);
    /// Exchanges the roles of the two base colours (or restores them).
    void SetColorFlipped(bool v);
    /// Sets the FrameStyle property.
    void SetFrameStyle(TFrameStyle v);
    /// Sets the GridMode property.
    void SetGridMode(TGridMode v);
    /// Sets the GridColor property.
    void SetGridColor(TColor v);

    /// Called after each paint.
    TNotifyEvent OnPaint;

    /// Draws the picture (pattern, raster, frame) of a width x height control.
    void DrawPicture(TCanvas &canvas, int width, int height) const;
    /// Paints onto a surface standing for the control's own canvas, then calls OnPaint.
    void PaintOn(TCanvas &target);

    /// Ends loading and paints with the loaded settings.
    void Loaded() override;

protected:
    /// Puts the picture on the surface and calls OnPaint.
    void paintEvent(QPaintEvent *event) override;

private:
    /// Everything the picture depends on, with system colours resolved, so that
    /// a kept picture is reused only while it is still exactly right.
    struct TPictureKey
    {
        int Width = 0, Height = 0;
        qreal Ratio = 1;
        int NrColors = 0;
        TGradType FillType = gtHoriz;
        TColor First = 0, Last = 0, Grid = 0;
        TGridMode GridMode = gmNone;
        TFrameStyle FrameStyle = fsNone;
        bool operator==(const TPictureKey &) const = default;
    };

    void Changed();
    TPictureKey PictureKey() const;
    /// The picture for the current settings, built again only when they changed.
    const QImage &Picture();

    int m_nrColors = 16;
    TGradType m_fillType = gtHoriz;
    TColor m_colorFirst = clMaroon;
    TColor m_colorLast = clYellow;
    TColor m_baseFirst = clMaroon;
    TColor m_baseLast = clYellow;
    bool m_flipped = false;
    TFrameStyle m_frameStyle = fsNone;
    TGridMode m_gridMode = gmNone;
    TColor m_gridColor = clNavy;
    /// The last picture shown on screen. Controls lying over the gradient (the
    /// numeric labels) repaint it beneath them on every change of their value;
    /// those partial repaints copy from here instead of rebuilding it all.
    QImage m_picture;
    TPictureKey m_pictureKey;
};

/// Colour of step i out of n from first towards last: each channel moves by
/// i/n of its difference, rounded half away from zero, taken modulo 256. Both
/// colours must be plain RGB; n must not be zero.
TColor HuebandStep(TColor first, TColor last, int i, int n);
