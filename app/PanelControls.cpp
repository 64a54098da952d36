#include "PanelControls.h"

#include "Kesl_Digrel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QToolButton>

#include <functional>

namespace {

// A glyph drawn in a 16 by 16 grid, made at every pixel size a scale of 1 to
// 4 asks for, so that a projector's scale shows sharp edges, not blown-up pixels.
QIcon GlyphAtEveryScale(const std::function<void(QPainter &)> &draw)
{
    QIcon icon;
    for (const int size : {16, 20, 24, 28, 32, 36, 40, 48, 56, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

// Qt's tool buttons answer Space only; a button with the focus is pressed by
// Return as well, as every other button of the desktop is.
class TSpeedButton : public QToolButton
{
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !e->isAutoRepeat())
            click();
        else
            QToolButton::keyPressEvent(e);
    }
};

} // namespace

QIcon AboutGlyph()
{
    return GlyphAtEveryScale([](QPainter &p) {
        p.setBrush(QColor(0, 0, 160));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 7, 2, 6));
        p.drawRect(QRectF(7, 3, 2, 2));
    });
}

QIcon ExitGlyph()
{
    return GlyphAtEveryScale([](QPainter &p) {
        p.setPen(QPen(QColor(96, 64, 32), 1));
        p.setBrush(QColor(160, 112, 64));
        p.drawRect(QRectF(2.5, 1.5, 8, 13));
        p.setPen(QPen(QColor(128, 0, 0), 2));
        p.drawLine(QPointF(8, 8), QPointF(15, 8));
        p.drawLine(QPointF(12, 5), QPointF(15, 8));
        p.drawLine(QPointF(12, 11), QPointF(15, 8));
    });
}

QToolButton *SpeedButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = new TSpeedButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::TabFocus); // by Tab only: a click leaves the focus where it was
    b->setText(caption);
    b->setGeometry(geometry);
    return b;
}

QScrollBar *ScrollBar(QWidget *parent, const char *name, int min, int max, int position, const QRect &geometry)
{
    auto *s = new QScrollBar(Qt::Horizontal, parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(min, max);
    s->setValue(position);
    s->setSingleStep(1);
    // A click in the trough moves by ten positions; the thumb keeps its
    // smallest size, the ranges being far larger than a page.
    s->setPageStep(10);
    // In the tab order; the right arrow key moves the thumb right (Qt's
    // scroll bars invert the keys for vertical scrolling).
    s->setFocusPolicy(Qt::StrongFocus);
    s->setInvertedControls(false);
    s->setGeometry(geometry);
    return s;
}

TDigrel *NumericLabel(QWidget *parent, const char *name, const QString &leftText, int left, double value)
{
    auto *l = new TDigrel(parent);
    l->setObjectName(QLatin1String(name));
    l->BeginLoading();
    l->setGeometry(left, 8, 129, 25);
    l->SetLeftText(leftText);
    l->SetLeftTextAlignment(taRightJustify);
    l->SetLabelWidth(55);
    l->SetLeftSpace(64);
    l->SetDisplayType(dtFixP);
    l->SetPrecision(2);
    l->SetFrameStyle(fsLowered);
    l->SetColorScheme(csBWG);
    l->SetColorLabBakG(clBtnFace);
    l->SetColorOutBakG(clBtnFace);
    l->SetColorLabText(clBlack);
    l->SetColorOutText(clBlack);
    l->SetTransparent(true);
    l->SetComma(false);
    l->SetForcePlusSign(false);
    l->SetOverflowIndicator(QStringLiteral("*********"));
    l->SetStateText(QStringLiteral("undefined"));
    l->SetDTFormat(QStringLiteral("mmm-dd, yyyy"));
    l->SetValue(value);
    l->Loaded();
    return l;
}
