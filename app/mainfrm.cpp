#include "mainfrm.h"

#include "AboutBox.h"
#include "Colors.h"
#include "Kesl_Digrel.h"
#include "Kesl_hreflet.h"
#include "Kesl_hueband.h"
#include "Kesl_math1.h"
#include "Kesl_vector.h"
#include "Lingwa2000.h"
#include "Memo.h"
#include "MessageBox.h"
#include "QuarvisDemon.h"
#include "RadioGroup.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kSamples = 100000;
constexpr double kHistLow = -20.0;
constexpr double kHistHigh = 20.0;
constexpr double kBinWidth = 0.1;
constexpr int kTimerInterval = 50;

// Small glyphs drawn in code: an "i" in a blue disc and a door with an arrow.
QIcon AboutGlyph()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 0, 160));
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 14, 14);
    p.setBrush(Qt::white);
    p.drawRect(7, 7, 2, 6);
    p.drawRect(7, 3, 2, 2);
    return QIcon(pm);
}

QIcon ExitGlyph()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(96, 64, 32));
    p.setBrush(QColor(160, 112, 64));
    p.drawRect(2, 1, 8, 13);
    p.setPen(QPen(QColor(128, 0, 0), 2));
    p.drawLine(8, 8, 15, 8);
    p.drawLine(12, 5, 15, 8);
    p.drawLine(12, 11, 15, 8);
    return QIcon(pm);
}

QToolButton *SpeedButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus); // speed buttons never take the focus
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
    s->setPageStep(1);
    s->setGeometry(geometry);
    return s;
}

// NLabLoc and NLabWid differ only in place, caption and value.
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

} // namespace

TFrmMain::TFrmMain(QWidget *parent, bool singleInstance) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Cauchy Distribution"));

    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    pal.setColor(QPalette::WindowText, ColorToQColor(clWindowText));
    setPalette(pal);
    setAutoFillBackground(true);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(13);
    setFont(f);

    CreateControls(singleInstance);

    setGeometry(kDesignLeft, kDesignTop, kDesignWidth - kFrameWidth, kDesignHeight - kFrameHeight);
    setMinimumSize(kMinWidth - kFrameWidth, kMinHeight - kFrameHeight);
    ArrangeControls();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::CreateControls(bool singleInstance)
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);

    // First child of the panel, so it lies beneath the others.
    Hueband1 = new THueband(Panel1);
    Hueband1->setObjectName(QStringLiteral("Hueband1"));
    Hueband1->BeginLoading();
    Hueband1->setGeometry(0, 0, 752, kPanelHeight);
    Hueband1->SetColorFirst(clSilver);
    Hueband1->SetColorLast(clWhite);
    Hueband1->SetColorFlipped(false);
    Hueband1->SetFrameStyle(fsNone);
    Hueband1->SetGridMode(gmNone);
    Hueband1->SetGridColor(clNavy);
    Hueband1->Loaded();

    SButShowDistri = SpeedButton(Panel1, "SButShowDistri", QStringLiteral("LW_Show Distribution"), {8, 8, 169, 27});
    SButDrawSamples = SpeedButton(Panel1, "SButDrawSamples", QStringLiteral("LW_Calculate Means"), {8, 40, 169, 27});
    NLabLoc = NumericLabel(Panel1, "NLabLoc", QStringLiteral("LW_Location"), 376, 0.0);
    NLabWid = NumericLabel(Panel1, "NLabWid", QStringLiteral("LW_Width"), 512, 1.0);
    SButAbout = SpeedButton(Panel1, "SButAbout", QStringLiteral("LW_About"), {642, 8, 102, 27});
    SButAbout->setIcon(AboutGlyph());
    SButAbout->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SButExit = SpeedButton(Panel1, "SButExit", QStringLiteral("LW_Exit"), {642, 40, 102, 27});
    SButExit->setIcon(ExitGlyph());
    SButExit->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    RGDistri = new TRadioGroup(Panel1);
    RGDistri->setObjectName(QStringLiteral("RGDistri"));
    RGDistri->setGeometry(184, 8, 177, 57);
    RGDistri->setTitle(QStringLiteral("LW_Select a Distribution"));
    {
        // Its own colour, not the panel's.
        QPalette pal = RGDistri->palette();
        pal.setColor(QPalette::Window, ColorToQColor(0xC8C8C8));
        RGDistri->setPalette(pal);
        RGDistri->setAutoFillBackground(true);
    }
    RGDistri->SetItems({QStringLiteral("LW_Normal Distribution"), QStringLiteral("LW_Cauchy Distribution")});
    RGDistri->SetItemIndex(1);

    SBarLoc = ScrollBar(Panel1, "SBarLoc", -100, 100, 0, {376, 40, 121, 20});
    SBarWid = ScrollBar(Panel1, "SBarWid", 1, 500, 100, {512, 40, 121, 20});

    Memo1 = new TMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    {
        QPalette pal = Memo1->palette();
        pal.setColor(QPalette::Base, ColorToQColor(clCream));
        Memo1->setPalette(pal);
    }
    Memo1->SetLines({QStringLiteral("LW_Description")});

    Vec1 = new TVector(this);
    Vec1->setObjectName(QStringLiteral("Vec1"));
    Vec1->SetNrOfElem(kSamples);
    Histo = new TIntVector(this);
    Histo->setObjectName(QStringLiteral("Histo"));
    Histo->SetNrOfElem(1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);

    // Keyboard order: the distribution, then location and width, then the description.
    setTabOrder(RGDistri, SBarLoc);
    setTabOrder(SBarLoc, SBarWid);
    setTabOrder(SBarWid, Memo1);

    connect(SButShowDistri, &QToolButton::clicked, this, [this] { SButShowDistriClick(SButShowDistri); });
    connect(SButDrawSamples, &QToolButton::clicked, this, [this] { SButDrawSamplesClick(SButDrawSamples); });
    connect(SButAbout, &QToolButton::clicked, this, [this] { BButAboutClick(SButAbout); });
    connect(SButExit, &QToolButton::clicked, this, [this] { BButCloseClick(SButExit); });
    RGDistri->OnClick = [this](QObject *sender) { RGDistriClick(sender); };
    connect(SBarLoc, &QScrollBar::valueChanged, this, [this] { SBarLocChange(SBarLoc); });
    connect(SBarWid, &QScrollBar::valueChanged, this, [this] { SBarWidChange(SBarWid); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(Timer1); });

    // Last: its load step translates the controls above and keeps the program
    // to one running instance.
    cliDemon = new TvrxDemonClient(this);
    cliDemon->setObjectName(QStringLiteral("cliDemon"));
    cliDemon->BeginLoading();
    cliDemon->SetAutoTranslate(true);
    cliDemon->SetAutoCreateItlFile(false);
    cliDemon->SetMultiStart(!singleInstance);
    cliDemon->SetUseQuarvisServer(false);
    cliDemon->Loaded();
}

void TFrmMain::ArrangeControls()
{
    // Panel on top, description at the bottom, the chart takes the rest.
    const int w = width();
    Panel1->setGeometry(0, 0, w, kPanelHeight);
    Hueband1->setGeometry(Panel1->rect());
    Memo1->setGeometry(0, std::max(kPanelHeight, height() - kMemoHeight), w, kMemoHeight);
    // About and Exit keep their distance from the panel's right edge.
    const int right = w - (752 - 642);
    SButAbout->move(right, 8);
    SButExit->move(right, 40);
}

QRect TFrmMain::ChartArea() const
{
    return QRect(0, kPanelHeight, width(), std::max(0, Memo1->y() - kPanelHeight));
}

void TFrmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ArrangeControls();
}

void TFrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

double TFrmMain::Location() const
{
    return SBarLoc->value() / 10.0;
}

double TFrmMain::Width() const
{
    return SBarWid->value() / 100.0;
}

QString TFrmMain::Translated(const QString &key) const
{
    return cliDemon ? cliDemon->Lingwa().LookupText(key) : key;
}

namespace {
// The icon name comes from a table or a host: only a plain file name inside
// the work area is accepted, never a path that leads elsewhere.
bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
        !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}
} // namespace

void TFrmMain::LoadIcon()
{
    const QString key = QStringLiteral("AppIconName");
    const QString iconName = Translated(key);
    if (!cliDemon)
        return;
    const QString workArea = cliDemon->GetHostValue(QStringLiteral("QuarvisWorkArea"));
    if (iconName == key || !IsPlainFileName(iconName))
        return;
    const QString path = workArea + iconName;
    if (cliDemon->UseQuarvisServer()) {
        const std::unique_ptr<QBuffer> stream = cliDemon->GetHostFile(iconName);
        if (stream && stream->size() > 0) {
            QFile out(path);
            if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                out.write(stream->data());
        }
    }
    if (!QFileInfo(path).isFile())
        return;
    // A file that is no image is skipped like a missing one: the windows keep their icons.
    const QIcon icon(path);
    if (icon.availableSizes().isEmpty())
        return;
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
    if (FrmAbout)
        FrmAbout->setWindowIcon(icon);
}

void TFrmMain::FormShow()
{
    MeansRunning = false;
    DistriShown = true;
    LoadIcon();
    // The About dialog doubles as the start-up screen; without one (tests,
    // snapshots) nothing modal stops the start.
    if (FrmAbout) {
        FrmAbout->LblName->setText(QStringLiteral("Cauchy Distribution"));
        FrmAbout->LblVersion->setText(QStringLiteral("Version 1.0"));
        FrmAbout->HrefletHomepage->SetURL(Translated(QStringLiteral("HomePageURL")));
        const QString language = Translated(QStringLiteral("$dlglanguage$")).toLower();
        if (cliDemon)
            cliDemon->Lingwa().TranslateComponent(FrmAbout);
        // After the translation, so these texts stay as set here.
        const bool german = language == QLatin1String("lggerman");
        FrmAbout->LblWebSite->setText(TFrmAbout::WebSiteText(german));
        FrmAbout->LblDescription->setText(TFrmAbout::DescriptionText(german));
        FrmAbout->ShowModal();
    }
    ShowDistri();
}

void TFrmMain::SButShowDistriClick(QObject *)
{
    DistriShown = true;
    ShowDistri();
}

void TFrmMain::SetParameterControlsEnabled(bool enabled)
{
    SButShowDistri->setEnabled(enabled);
    RGDistri->setEnabled(enabled);
    SBarLoc->setEnabled(enabled);
    SBarWid->setEnabled(enabled);
}

void TFrmMain::SButDrawSamplesClick(QObject *)
{
    DistriShown = false;
    MeansRunning = !MeansRunning;
    if (MeansRunning) {
        SButDrawSamples->setText(Translated(QStringLiteral("Stop")));
        SetParameterControlsEnabled(false);
        if (FixedSeed)
            GeneratorSeed = *FixedSeed;
        else
            SeedFromClock();
        Vec1->Clear();
        NrOfSamples = 0;
        Timer1->start();
    } else {
        SButDrawSamples->setText(Translated(QStringLiteral("Calculate Means")));
        SetParameterControlsEnabled(true);
        Timer1->stop();
    }
}

bool TFrmMain::DrawSample(double &value) const
{
    switch (RGDistri->ItemIndex()) {
    case 0:
        // Extended precision in this order: multiply, divide, add.
        value = static_cast<double>(static_cast<long double>(GaussRandom()) * SBarWid->value() / 100 +
                                    static_cast<long double>(SBarLoc->value()) / 10);
        return true;
    case 1: value = CauchyRandom(Location(), Width()); return true;
    default: return false;
    }
}

void TFrmMain::Timer1Timer(QObject *)
{
    NrOfSamples += 1;
    double v = 0;
    if (DrawSample(v))
        Vec1->SetElem(NrOfSamples, v);
    if (NrOfSamples >= 500) {
        Timer1->stop();
        SButDrawSamplesClick(nullptr);
    }
}

void TFrmMain::RGDistriClick(QObject *)
{
    if (DistriShown)
        ShowDistri();
}

void TFrmMain::SBarLocChange(QObject *)
{
    NLabLoc->SetValue(Location());
    if (DistriShown)
        ShowDistri();
}

void TFrmMain::SBarWidChange(QObject *)
{
    NLabWid->SetValue(Width());
    if (DistriShown)
        ShowDistri();
}

void TFrmMain::BButAboutClick(QObject *)
{
    if (FrmAbout)
        FrmAbout->ShowModal();
}

void TFrmMain::BButCloseClick(QObject *)
{
    close();
}

void TFrmMain::ShowDistri()
{
    // With no distribution selected the samples already in Vec1 are counted again.
    const int n = Vec1->NrOfElem();
    double v = 0;
    for (int i = 1; i <= n && DrawSample(v); ++i)
        Vec1->SetElem(i, v);
    int underflow = 0, overflow = 0, maxCount = 0;
    if (!Vec1->Histogram(1, n, kHistLow, kHistHigh, kBinWidth, Histo, underflow, overflow, maxCount)) {
        ShowMessageBox(mtError, QStringLiteral("Cannot calculate histogram"), this);
        return;
    }
}
