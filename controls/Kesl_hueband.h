#pragma once

#include "Kesl_keslbase.h"

#include "Canvas.h"
#include "Colors.h"
#include "Control.h"

#include <QImage>
#include <QWidget>

#include <functional>

// Geometric pattern of a gradient fill.
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

// Line raster over a gradient fill.
enum TGridMode { gmNone, gmHoriz, gmVert, gmBoth };

// Fills its whole area with a stepped colour gradient from ColorFirst towards
// ColorLast, optionally overlaid with a raster on every second row and/or column
// and framed. The picture is built off screen and put on the surface in one step.
class THueband : public TControl
{
    Q_OBJECT
    Q_PROPERTY(int NrColors READ NrColors WRITE SetNrColors)
    Q_PROPERTY(TGradType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TColor ColorFirst READ ColorFirst WRITE SetColorFirst)
    Q_PROPERTY(TColor ColorLast READ ColorLast WRITE SetColorLast)
    Q_PROPERTY(bool ColorFlipped READ ColorFlipped WRITE SetColorFlipped)
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(TGridMode GridMode READ GridMode WRITE SetGridMode)
    Q_PROPERTY(TColor GridColor READ GridColor WRITE SetGridColor)

public:
    explicit THueband(QWidget *parent = nullptr);
    ~THueband() override;

    int NrColors() const { return m_nrColors; }
    TGradType FillType() const { return m_fillType; }
    TColor ColorFirst() const { return m_colorFirst; }
    TColor ColorLast() const { return m_colorLast; }
    bool ColorFlipped() const { return m_flipped; }
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    TGridMode GridMode() const { return m_gridMode; }
    TColor GridColor() const { return m_gridColor; }

    // Stored within 1..255.
    void SetNrColors(int v);
    void SetFillType(TGradType v);
    // Sets the effective first colour and the base colour that supplies it.
    void SetColorFirst(TColor v);
    // Sets the effective last colour and the base colour that supplies it.
    void SetColorLast(TColor v);
    // Exchanges the roles of the two base colours (or restores them).
    void SetColorFlipped(bool v);
    void SetFrameStyle(TFrameStyle v);
    void SetGridMode(TGridMode v);
    void SetGridColor(TColor v);

    // Called after each paint.
    TNotifyEvent OnPaint;

    // Draws the picture (pattern, raster, frame) of a width x height control.
    void DrawPicture(TCanvas &canvas, int width, int height) const;
    // Paints onto a surface standing for the control's own canvas, then calls OnPaint.
    void PaintOn(TCanvas &target);

    void Loaded() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Everything the picture depends on, with system colours resolved, so that
    // a kept picture is reused only while it is still exactly right.
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
    // The picture for the current settings, built again only when they changed.
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
    // The last picture shown on screen. Controls lying over the gradient (the
    // numeric labels) repaint it beneath them on every change of their value;
    // those partial repaints copy from here instead of rebuilding it all.
    QImage m_picture;
    TPictureKey m_pictureKey;
};

// Colour of step i out of n from first towards last: each channel moves by
// i/n of its difference, rounded half away from zero, taken modulo 256. Both
// colours must be plain RGB; n must not be zero.
TColor HuebandStep(TColor first, TColor last, int i, int n);
