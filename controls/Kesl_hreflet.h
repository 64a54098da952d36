#pragma once

/// @file
/// The hyperlink label: a text that opens a web address or starts a program.

#include "Canvas.h"
#include "Control.h"
#include "KeslError.h"
#include "Kesl_DigrelTypes.h"

#include <QString>

/// Error of the hyperlink label: a target it cannot open.
class EKeslHrefletError : public EKeslError
{
public:
    using EKeslError::EKeslError;
};

/// Vertical placement of a label's text.
enum TTextLayout { tlTop, tlCenter, tlBottom };

/// A text label that acts as a hyperlink: under the mouse it shows its caption
/// in FontActive, and a click opens its URL through the desktop shell, either a
/// web address ("http://" or "https://") in the browser or a program file
/// (".exe") with TaskParams as its command line. "&" in the caption is shown as
/// it is, never as an accelerator marker.
class THreflet : public TControl
{
    Q_OBJECT
    /// The text shown (default empty); "&" is shown as it is. Repaints.
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    /// The target a click opens (default empty): a web address beginning
    /// "http://" or "https://", or a program file ending in ".exe". Stored
    /// without leading and trailing blanks. Repaints nothing.
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    /// Command line of a program target, split as a shell would (default
    /// empty). Repaints nothing.
    Q_PROPERTY(QString TaskParams READ TaskParams WRITE SetTaskParams)
    /// Breaks the caption into lines at blanks to fit the width (default false). Repaints.
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    /// Lets the parent show through instead of filling with Color (default false). Repaints.
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    /// A label with an empty caption and target on parent.
    explicit THreflet(QWidget *parent = nullptr);
    /// Destroys the label.
    ~THreflet() override;

    /// See the Caption property.
    QString Caption() const { return m_caption; }
    /// Sets the Caption property.
    void SetCaption(const QString &Value);
    /// Stored without leading and trailing blanks.
    QString URL() const { return m_url; }
    /// Sets the URL property.
    void SetURL(const QString &Value);
    /// See the TaskParams property.
    QString TaskParams() const { return m_taskParams; }
    /// Sets the TaskParams property.
    void SetTaskParams(const QString &Value);

    /// The font the caption is drawn in now.
    const TFont &Font() const { return m_font; }
    /// Sets the font the caption is drawn in; it is also the one the label
    /// returns to when the mouse leaves. Repaints.
    void SetFont(const TFont &Value);
    /// The font shown while the mouse is over the label.
    const TFont &FontActive() const { return m_fontActive; }
    /// Sets the font shown while the mouse is over the label. Repaints when the mouse is over it.
    void SetFontActive(const TFont &Value);

    /// Horizontal placement of the text (default taLeftJustify).
    TAlignment Alignment() const { return m_alignment; }
    /// Sets the horizontal placement of the text. Repaints.
    void SetAlignment(TAlignment Value);
    /// Vertical placement of the text (default tlTop).
    TTextLayout Layout() const { return m_layout; }
    /// Sets the vertical placement of the text. Repaints.
    void SetLayout(TTextLayout Value);
    /// See the WordWrap property.
    bool WordWrap() const { return m_wordWrap; }
    /// Sets the WordWrap property.
    void SetWordWrap(bool Value);
    /// See the Transparent property.
    bool Transparent() const { return m_transparent; }
    /// Sets the Transparent property.
    void SetTransparent(bool Value);
    /// Background colour (default clBtnFace), unless Transparent.
    TColor Color() const { return m_color; }
    /// Sets the background colour. Repaints.
    void SetColor(TColor Value);

    /// The font is kept as the one to return to when the mouse leaves.
    void Loaded() override;

    /// Opens the target, then fires OnClick; an error raises EKeslHrefletError
    /// and OnClick is not fired.
    void Click();

    /// Draws the label at (0, 0) of the canvas, its own size.
    void PaintOn(TCanvas &target) const;

    /// Raised when the mouse enters the label, after FontActive is shown.
    TNotifyEvent OnMouseEnter;
    /// Raised when the mouse leaves the label, after Font is shown again.
    TNotifyEvent OnMouseLeave;

protected:
    /// Draws the label through PaintOn().
    void paintEvent(QPaintEvent *event) override;
    /// Shows FontActive and raises OnMouseEnter.
    void enterEvent(QEnterEvent *event) override;
    /// Shows the normal font again and raises OnMouseLeave.
    void leaveEvent(QEvent *event) override;
    /// A left-button release inside the label calls Click().
    void mouseReleaseEvent(QMouseEvent *event) override;
    /// Repaints when the label is enabled or disabled (its text greys out).
    void changeEvent(QEvent *event) override;

private:
    void Changed();
    void OpenWebAddress();
    void StartProgram();
    [[noreturn]] void Fail(const QString &what) const;
    /// The caption broken into the lines that are drawn.
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
