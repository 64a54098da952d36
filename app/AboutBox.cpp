#include "AboutBox.h"

#include "Accessibility.h"
#include "Colors.h"
#include "DataFiles.h"
#include "Kesl_hreflet.h"
#include "MessageBox.h"
#include "ScreenFit.h"
#include "Shell.h"

#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>
#include <QWindow>

#include <cmath>

namespace {

constexpr int kLinkLeft = 152;
constexpr int kLinkWidth = 369;
constexpr int kLinkHeight = 16;
const QString kDefaultPage = QStringLiteral("index.html");

// A panel with a lowered outer and a raised inner bevel, one pixel each.
class TBevelPanel : public QFrame
{
public:
    explicit TBevelPanel(QWidget *parent) : QFrame(parent)
    {
        setFrameShape(QFrame::NoFrame);
        setContentsMargins(2, 2, 2, 2);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QColor shadow = ColorToQColor(clBtnShadow);
        const QColor light = ColorToQColor(clBtnHighlight);
        Bevel(p, rect(), shadow, light);
        Bevel(p, rect().adjusted(1, 1, -1, -1), light, shadow);
    }

private:
    static void Bevel(QPainter &p, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
    {
        p.setPen(topLeft);
        p.drawLine(r.left(), r.bottom() - 1, r.left(), r.top());
        p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        p.setPen(bottomRight);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
    }
};

QFont ArialFont(int pixels)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    return f;
}

void SetTextColor(QWidget *w, TColor color)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, ColorToQColor(color));
    w->setPalette(pal);
}

QLabel *Label(QWidget *parent, const char *name, const QRect &geometry, Qt::Alignment alignment,
              const QString &text = QString())
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setAlignment(alignment | Qt::AlignTop);
    l->setTextFormat(Qt::PlainText);
    return l;
}

THreflet *Link(QWidget *parent, const char *name, int top, const QString &caption, const QString &url)
{
    TFont normal;
    normal.Name = QStringLiteral("Courier New");
    normal.Height = -13;
    normal.Color = clBlue;
    normal.Style = fsBold;
    TFont active = normal;
    active.Color = clRed;
    active.Style = fsBold | fsUnderline;

    auto *h = new THreflet(parent);
    h->setObjectName(QLatin1String(name));
    h->BeginLoading();
    h->setGeometry(kLinkLeft, top, kLinkWidth, kLinkHeight);
    h->SetCaption(caption);
    h->SetURL(url);
    h->SetFont(normal);
    h->SetFontActive(active);
    h->SetColor(clBtnFace);
    h->Loaded();
    return h;
}

// The dialog's own icon: a bell curve over a heavy-tailed one.
QIcon AboutIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawLine(2, 28, 30, 28);
    auto curve = [](double (*density)(double)) {
        QPainterPath path;
        for (int x = 2; x <= 30; ++x) {
            const double y = 28 - 24 * density((x - 16) / 4.0);
            if (x == 2)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        return path;
    };
    p.setPen(QPen(QColor(0, 0, 200), 2));
    p.drawPath(curve([](double u) { return std::exp(-u * u / 2); }));
    p.setPen(QPen(QColor(160, 0, 0), 2));
    p.drawPath(curve([](double u) { return 0.8 / (1 + u * u); }));
    return QIcon(pm);
}

QIcon OkGlyph()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygon({QPoint(3, 8), QPoint(6, 12), QPoint(13, 3)}));
    return QIcon(pm);
}

TFrmAbout::TShowModalHook &ModalHook()
{
    static TFrmAbout::TShowModalHook hook;
    return hook;
}

} // namespace

TFrmAbout::TFrmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("LW_About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowIcon(AboutIcon());

    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    pal.setColor(QPalette::WindowText, ColorToQColor(clBlack));
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(ArialFont(13));

    CreateControls();
}

TFrmAbout::~TFrmAbout() = default;

void TFrmAbout::CreateControls()
{
    LblDescription = Label(this, "LblDescription", {8, 152, 529, 65}, Qt::AlignHCenter);
    LblDescription->setWordWrap(true);
    SetTextColor(LblDescription, clMaroon);

    Panel1 = new TBevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 10, 529, 127);

    LblName = Label(Panel1, "LblName", {8, 12, 513, 34}, Qt::AlignHCenter);
    QFont nameFont = ArialFont(30);
    nameFont.setBold(true);
    nameFont.setItalic(true);
    LblName->setFont(nameFont);
    SetTextColor(LblName, clMaroon);
    LblVersion = Label(Panel1, "LblVersion", {8, 50, 513, 16}, Qt::AlignHCenter);
    LblAuthor = Label(Panel1, "LblAuthor", {8, 74, 513, 16}, Qt::AlignHCenter);
    LblCopyright = Label(Panel1, "LblCopyright", {8, 100, 513, 16}, Qt::AlignHCenter,
                         QStringLiteral("LW_Copyright \u00A9 2026 the authors of Cauchy Distribution"));

    Panel2 = new TBevelPanel(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(8, 224, 529, 65);

    LblWebSite = Label(Panel2, "LblWebSite", {8, 8, 135, 49}, Qt::AlignRight);
    LblWebSite->setWordWrap(true);
    // Sections of the documentation page that comes with the program.
    HrefletKeslSuite = Link(Panel2, "HrefletKeslSuite", 8, QStringLiteral("LW_The component library of this program"),
                            QStringLiteral("#components"));
    HrefletSimulations = Link(Panel2, "HrefletSimulations", 24, QStringLiteral("LW_More simulations of this series"),
                              QStringLiteral("#simulations"));
    HrefletHomepage = Link(Panel2, "HrefletHomepage", 40, QStringLiteral("LW_HomePage"), QString());
    HrefletHomepage->setVisible(false);
    // The dialog opens the links itself: it knows where its pages are and
    // tells the user when one cannot be shown.
    for (THreflet *h : {HrefletKeslSuite, HrefletSimulations, HrefletHomepage}) {
        h->installEventFilter(this);
        h->setFocusPolicy(Qt::TabFocus); // Return or Space opens a link that has the focus
    }
    MarkFocus(this, {HrefletKeslSuite, HrefletSimulations, HrefletHomepage});

    BButOK = new QPushButton(OkGlyph(), QStringLiteral("LW_OK"), this);
    BButOK->setObjectName(QStringLiteral("BButOK"));
    BButOK->setGeometry(424, 296, 113, 33);
    BButOK->setDefault(true);
    connect(BButOK, &QPushButton::clicked, this, [this] { BButOKClick(BButOK); });
    // OK first: Return at the start-up screen closes it; Tab reaches the links.
    BButOK->setFocus();
    setTabOrder(BButOK, HrefletKeslSuite);
    setTabOrder(HrefletKeslSuite, HrefletSimulations);
    setTabOrder(HrefletSimulations, HrefletHomepage);
}

QString TFrmAbout::WebSiteText(bool german)
{
    return german ? QStringLiteral("Mehr Informationen finden Sie auf folgenden Seiten:")
                  : QStringLiteral("More information can be found on the following pages:");
}

QString TFrmAbout::DescriptionText(bool german)
{
    return german ? QStringLiteral("Dieses Programm zeigt die Eigenschaften der Cauchy-Verteilung neben der "
                                   "Normalverteilung: Der Mittelwert ihrer Zufallszahlen kommt nie zur Ruhe. Es "
                                   "ist eine Simulation aus einer Reihe, die in interaktiven elektronischen "
                                   "Lehrb\u00FCchern verwendet wird.")
                  : QStringLiteral("This program shows the features of the Cauchy distribution beside the normal "
                                   "distribution: the mean of its random numbers never settles. It is one of a "
                                   "series of simulations used in interactive electronic textbooks.");
}

void TFrmAbout::FormShow()
{
    const QString caption = HrefletHomepage->Caption();
    if (caption != QLatin1String("HomePage") && !caption.isEmpty()) {
        HrefletHomepage->setVisible(true);
        return;
    }
    // Two links sit centred in the lower panel.
    HrefletHomepage->setVisible(false);
    HrefletKeslSuite->move(HrefletKeslSuite->x(), 16);
    HrefletSimulations->move(HrefletSimulations->x(), 32);
}

void TFrmAbout::BButOKClick(QObject *)
{
    accept();
}

QUrl TFrmAbout::LinkTarget(const QString &target) const
{
    QString page = target.section(QLatin1Char('#'), 0, 0);
    const QString section = target.section(QLatin1Char('#'), 1);
    if (page.isEmpty()) {
        // The home page's target comes from the table; without a usable one, the English page.
        page = HrefletHomepage->URL().section(QLatin1Char('#'), 0, 0);
        if (LinkTargetKind(page) != TLinkTarget::WebAddress &&
            !page.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
            page = kDefaultPage;
    }
    QUrl url;
    if (LinkTargetKind(page) == TLinkTarget::WebAddress) {
        url = QUrl(page, QUrl::StrictMode);
    } else {
        const QString file = FindDocFile(page);
        if (file.isEmpty())
            return QUrl();
        url = QUrl::fromLocalFile(file);
    }
    if (!section.isEmpty())
        url.setFragment(section);
    return url;
}

void TFrmAbout::OpenLink(const THreflet *Link)
{
    const QUrl url = LinkTarget(Link->URL());
    QString problem;
    if (!url.isValid() || url.isEmpty())
        problem = QStringLiteral("The page \"%1\" is not installed with this program.").arg(Link->URL());
    else if (ShellOpen(url.toString()) <= 32)
        problem = QStringLiteral("No program was found to show \"%1\".").arg(url.toString());
    if (!problem.isEmpty())
        ShowMessageBox(mtError, problem, this);
}

bool TFrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool open = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
        if (open)
            OpenLink(static_cast<THreflet *>(watched));
        return open;
    }
    if (event->type() != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    auto *link = static_cast<THreflet *>(watched);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() == Qt::LeftButton && link->rect().contains(mouse->position().toPoint()))
        OpenLink(link);
    return true;
}

void TFrmAbout::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        MoveToItsPlace();
        FormShow();
    }
    QDialog::showEvent(event);
}

void TFrmAbout::CentreOn(QWidget *Window)
{
    m_owner = Window;
}

void TFrmAbout::MoveToItsPlace()
{
    const QScreen *s = m_owner ? m_owner->screen() : screen();
    if (!s)
        s = QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    const QPoint centre = m_owner ? m_owner->frameGeometry().center() : area.center();
    QRect r(QPoint(), frameGeometry().size());
    r.moveCenter(centre);
    move(PlaceInside(area, r));
    // Window managers keep a dialog above the window it belongs to.
    if (m_owner && m_owner->windowHandle() && windowHandle())
        windowHandle()->setTransientParent(m_owner->windowHandle());
}

int TFrmAbout::ShowModal()
{
    if (const TShowModalHook &hook = ModalHook())
        return hook(this);
    const int result = exec();
    // The keys go back to the window the dialog was opened over, also where
    // no window manager hands them back.
    if (m_owner && m_owner->isVisible())
        m_owner->activateWindow();
    return result;
}

TFrmAbout::TShowModalHook TFrmAbout::SetShowModalHook(TShowModalHook hook)
{
    TShowModalHook old = std::move(ModalHook());
    ModalHook() = std::move(hook);
    return old;
}
