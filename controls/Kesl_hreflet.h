#pragma once

#include "Canvas.h"
#include "Control.h"
#include "KeslError.h"
#include "Kesl_DigrelTypes.h"

#include <QString>

// Error of the hyperlink label: a target it cannot open.
class EKeslHrefletError : public EKeslError
{
public:
    using EKeslError::EKeslError;
};

// Vertical placement of a label's text.
enum TTextLayout { tlTop, tlCenter, tlBottom };

// A text label that acts as a hyperlink: under the mouse it shows its caption
// in FontActive, and a click opens its URL through the desktop shell, either a
// web address ("http://" or "https://") in the browser or a program file
// (".exe") with TaskParams as its command line. "&" in the caption is shown as
// it is, never as an accelerator marker.
class THreflet : public TControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(QString TaskParams READ TaskParams WRITE SetTaskParams)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit THreflet(QWidget *parent = nullptr);
    ~THreflet() override;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &Value);
    // Stored without leading and trailing blanks.
    QString URL() const { return m_url; }
    void SetURL(const QString &Value);
    QString TaskParams() const { return m_taskParams; }
    void SetTaskParams(const QString &Value);

    // The font the caption is drawn in now.
    const TFont &Font() const { return m_font; }
    void SetFont(const TFont &Value);
    // The font shown while the mouse is over the label.
    const TFont &FontActive() const { return m_fontActive; }
    void SetFontActive(const TFont &Value);

    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool Value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool Value);
    TColor Color() const { return m_color; }
    void SetColor(TColor Value);

    // The font is kept as the one to return to when the mouse leaves.
    void Loaded() override;

    // Opens the target, then fires OnClick; an error raises EKeslHrefletError
    // and OnClick is not fired.
    void Click();

    // Draws the label at (0, 0) of the canvas, its own size.
    void PaintOn(TCanvas &target) const;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Changed();
    void OpenWebAddress();
    void StartProgram();
    [[noreturn]] void Fail(const QString &what) const;
    // The caption broken into the lines that are drawn.
    QStringList Lines(const TCanvas &c) const;

    QString m_caption;
    QString m_url;
    QString m_taskParams;
    TFont m_font;
    TFont m_fontActive;
    TFont m_fontNormal;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_wordWrap = false;
    bool m_transparent = false;
    TColor m_color = clBtnFace;
};
