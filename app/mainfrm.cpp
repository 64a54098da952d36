#include "mainfrm.h"

#include "AboutBox.h"
#include "Accessibility.h"
#include "ChartMenu.h"
#include "Colors.h"
#include "DataFiles.h"
#include "Kesl_Digrel.h"
#include "Kesl_hreflet.h"
#include "Kesl_hueband.h"
#include "Kesl_kurvo.h"
#include "Kesl_math1.h"
#include "Kesl_vector.h"
#include "Lingwa2000.h"
#include "MainChartDesign.h"
#include "Memo.h"
#include "MessageBox.h"
#include "PanelControls.h"
#include "QuarvisDemon.h"
#include "RadioGroup.h"
#include "ScreenFit.h"
#include "TheoryOverlay.h"
#include "ViewMath.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTimerInterval = 50;
constexpr int kMaxMeanSamples = 500;
constexpr TColor kGrey = 0x808080;
// Mark shapes: small plus, filled square, arrowheads up and down.
constexpr std::uint8_t kMarkSample = 1;
constexpr std::uint8_t kMarkMean = 7;
constexpr std::uint8_t kMarkAbove = 36;
constexpr std::uint8_t kMarkBelow = 34;

// The distribution the selected source draws from; none without a selection.
std::optional<TTheorySource> TheoryOf(const TFrmMain::TSampleSource &source)
{
    if (source.Distribution != 0 && source.Distribution != 1)
        return std::nullopt;
    const TDistribution d = source.Distribution == 0 ? TDistribution::Normal : TDistribution::Cauchy;
    return TTheorySource {d, source.LocationValue, source.WidthValue};
}

QString DistributionName(const TFrmMain &frm, TDistribution distribution)
{
    return frm.Translated(distribution == TDistribution::Normal ? QStringLiteral("normal density")
                                                                : QStringLiteral("Cauchy density"));
}

// The description's height: the designed one, or what a longer text (another
// language, a larger font) needs, up to half of the room below the panel.
int MemoHeight(int textHeight, int windowHeight)
{
    return std::max(TFrmMain::kMemoHeight, std::min(textHeight, (windowHeight - TFrmMain::kPanelHeight) / 2));
}

} // namespace

TFrmMain::TFrmMain(QWidget *parent, bool singleInstance, const QString &language) : QWidget(parent)
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

    CreateControls(singleInstance, language);
    InstallAccessAids(*this);

    resize(kDesignWidth - kFrameWidth, kDesignHeight - kFrameHeight);
    PlaceOnScreen();
    setMinimumSize(kMinWidth - kFrameWidth, kMinHeight - kFrameHeight);
    ArrangeControls();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::CreateControls(bool singleInstance, const QString &language)
{
    // The chart: the histogram and the running means are drawn on it.
    RC = new TKurvo(this);
    RC->setObjectName(QStringLiteral("RC"));
    ApplyMainChartDesign(*RC);
    InstallChartMenu(*this);

    CreatePanel();
    CreateDescriptionAndData();
    ConnectHandlers();
    CreateHostLink(singleInstance, language);
}

void TFrmMain::CreatePanel()
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
    RGDistri->SetItemIndex(kStartDistribution);

    SBarLoc = ScrollBar(Panel1, "SBarLoc", -100, 100, kStartLocationPosition, {376, 40, 121, 20});
    SBarWid = ScrollBar(Panel1, "SBarWid", 1, 500, kStartWidthPosition, {512, 40, 121, 20});
}

void TFrmMain::CreateDescriptionAndData()
{
    Memo1 = new TMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    {
        QPalette pal = Memo1->palette();
        pal.setColor(QPalette::Base, ColorToQColor(clCream));
        Memo1->setPalette(pal);
    }
    // A narrow inner margin: the description's five lines fit the 88 pixels.
    Memo1->document()->setDocumentMargin(2);
    Memo1->SetLines({QStringLiteral("LW_Description")});
    Memo1->viewport()->installEventFilter(this);

    Vec1 = new TVector(this);
    Vec1->setObjectName(QStringLiteral("Vec1"));
    Vec1->SetNrOfElem(kSamples);
    Histo = new TIntVector(this);
    Histo->setObjectName(QStringLiteral("Histo"));
    Histo->SetNrOfElem(1);
    MeanVec = new TVector(this);
    MeanVec->setObjectName(QStringLiteral("MeanVec"));
    MeanVec->SetNrOfElem(kMeans);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);
}

void TFrmMain::ConnectHandlers()
{
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
}

void TFrmMain::CreateHostLink(bool singleInstance, const QString &language)
{
    // Last: its load step keeps the program to one running instance. The
    // controls above are translated once the table is settled.
    cliDemon = new TvrxDemonClient(this);
    cliDemon->setObjectName(QStringLiteral("cliDemon"));
    cliDemon->BeginLoading();
    cliDemon->SetAutoTranslate(false);
    cliDemon->SetAutoCreateItlFile(false);
    cliDemon->SetMultiStart(!singleInstance);
    cliDemon->SetUseQuarvisServer(false);
    cliDemon->Loaded();
    LoadTable(language);
    cliDemon->SetAutoTranslate(true);
    cliDemon->Lingwa().TranslateComponent(this);
}

void TFrmMain::LoadTable(const QString &language)
{
    if (!cliDemon || cliDemon->UseQuarvisServer())
        return; // the host's table stands
    const QString name = QFileInfo(TLingwa2000::ItlPathFor(QCoreApplication::applicationFilePath())).fileName();
    QString path;
    if (!language.isEmpty()) {
        path = FindDataFile(QStringLiteral("translations/%1/%2").arg(language, name), kDataFolder);
        if (path.isEmpty())
            std::fprintf(stderr, "cauchy: no table for the language \"%s\" is installed\n", qPrintable(language));
    } else if (cliDemon->Lingwa().Count() == 0) {
        path = FindDataFile(name, kDataFolder);
    }
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly))
        cliDemon->Lingwa().LoadTable(file);
}

void TFrmMain::ArrangeControls()
{
    // Panel on top, description at the bottom, the chart takes the rest.
    const int w = width();
    Panel1->setGeometry(0, 0, w, kPanelHeight);
    Hueband1->setGeometry(Panel1->rect());
    const int memoHeight = MemoHeight(Memo1->heightForWidth(w), height());
    Memo1->setGeometry(0, std::max(kPanelHeight, height() - memoHeight), w, memoHeight);
    // About and Exit keep their distance from the panel's right edge.
    const int right = w - (752 - 642);
    SButAbout->move(right, 8);
    SButExit->move(right, 40);
    const QRect area = ChartArea();
    RC->SetBounds(area.x(), area.y(), area.width(), area.height());
    PlaceCornerNote(*RC);
}

void TFrmMain::PlaceOnScreen()
{
    // The designed place, unless that would put a part of the window (at a
    // projector's scale, say) beyond the screen's free area.
    if (const QScreen *s = screen())
        move(PlaceInside(s->availableGeometry(), QRect(kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight)));
}

void TFrmMain::ReportScaleFit() const
{
    const TScaleFit fit = StartScale();
    if (fit.Used >= fit.Asked)
        return;
    const QString note = Translated(QStringLiteral("Too large for the screen at scale <%1%>: shown at scale <%2%>."),
                                    {QString::number(fit.Asked), QString::number(fit.Used)});
    std::fprintf(stderr, "cauchy: %s\n", qPrintable(note));
}

QRect TFrmMain::ChartArea() const
{
    return QRect(0, kPanelHeight, width(), std::max(0, Memo1->y() - kPanelHeight));
}

bool TFrmMain::event(QEvent *event)
{
    // The description's text changed (a translation): it may need another height.
    if (event->type() == QEvent::LayoutRequest)
        ArrangeControls();
    return QWidget::event(event);
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
    return TSampleSource::LocationOf(SBarLoc->value());
}

double TFrmMain::Width() const
{
    return TSampleSource::WidthOf(SBarWid->value());
}

QString TFrmMain::Translated(const QString &key, const QStringList &arguments) const
{
    if (cliDemon)
        return cliDemon->Lingwa().LookupText(key, arguments);
    QString text = key;
    for (qsizetype i = 0; i < arguments.size(); ++i)
        text.replace(QStringLiteral("<%%1%>").arg(i + 1), arguments[i]);
    return text;
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
    QString path = workArea + iconName;
    if (cliDemon->UseQuarvisServer()) {
        const std::unique_ptr<QBuffer> stream = cliDemon->GetHostFile(iconName);
        if (stream && stream->size() > 0) {
            QFile out(path);
            if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                out.write(stream->data());
        }
    }
    // Installed, the icon lives with the tables.
    if (!QFileInfo(path).isFile() && !cliDemon->UseQuarvisServer())
        path = FindDataFile(iconName, kDataFolder);
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
    ReportScaleFit();
    // The About dialog doubles as the start-up screen; without one (tests,
    // snapshots) nothing modal stops the start.
    if (!FrmAbout) {
        ShowDistri();
        return;
    }
    {
        FrmAbout->CentreOn(this);
        FrmAbout->LblName->setText(QStringLiteral("Cauchy Distribution"));
        FrmAbout->LblVersion->setText(QStringLiteral("Version " CAUCHY_VERSION));
        FrmAbout->HrefletHomepage->SetURL(Translated(QStringLiteral("HomePageURL")));
        const QString language = Translated(QStringLiteral("$dlglanguage$")).toLower();
        if (cliDemon)
            cliDemon->Lingwa().TranslateComponent(FrmAbout);
        // After the translation, so these texts stay as set here.
        const bool german = language == QLatin1String("lggerman");
        FrmAbout->LblWebSite->setText(TFrmAbout::WebSiteText(german));
        FrmAbout->LblDescription->setText(TFrmAbout::DescriptionText(german));
    }
    // The dialog opens once the window is on screen and drawn behind it, not
    // from inside its show event, before it is mapped.
    QTimer::singleShot(0, this, &TFrmMain::ShowAboutThenDistri);
}

void TFrmMain::ShowAboutThenDistri()
{
    if (FrmAbout)
        FrmAbout->ShowModal();
    // Unless a running-means run was started meanwhile (a start option).
    if (DistriShown)
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
        ViewSeed = GeneratorSeed;
        RC->ClearItems();
        Vec1->Clear();
        NrOfSamples = 0;
        Timer1->start();
    } else {
        SButDrawSamples->setText(Translated(QStringLiteral("Calculate Means")));
        SetParameterControlsEnabled(true);
        Timer1->stop();
    }
}

TFrmMain::TSampleSource TFrmMain::SampleSource() const
{
    return TSampleSource::At(RGDistri->ItemIndex(), SBarLoc->value(), SBarWid->value());
}

bool TFrmMain::DrawSample(double &value) const
{
    return SampleSource().Draw(value);
}

void TFrmMain::Timer1Timer(QObject *)
{
    NrOfSamples += 1;
    double v = 0;
    if (DrawSample(v))
        Vec1->SetElem(NrOfSamples, v);
    if (NrOfSamples >= kMaxMeanSamples) {
        Timer1->stop();
        SButDrawSamplesClick(nullptr);
    }
    ShowMeans();
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
    // The parameters are read once: the loop runs 100000 times per scroll step.
    const TSampleSource source = SampleSource();
    ViewSeed = GeneratorSeed;
    double v = 0;
    std::vector<double> means;
    if (Extras.MeanOf > 0 && source.DrawMeans(Extras.MeanOf, kMeans, means))
        for (int i = 1; i <= kMeans; ++i)
            MeanVec->SetElem(i, means[static_cast<std::size_t>(i) - 1]);
    for (int i = 1; i <= n && Extras.MeanOf <= 0 && source.Draw(v); ++i)
        Vec1->SetElem(i, v);
    DrawDistri();
}

TVector &TFrmMain::HistogramSamples() const
{
    return Extras.MeanOf > 0 ? *MeanVec : *Vec1;
}

void TFrmMain::DrawDistri()
{
    TVector &samples = HistogramSamples();
    const int n = samples.NrOfElem();
    int underflow = 0, overflow = 0, maxCount = 0;
    if (!samples.Histogram(1, n, kHistLow, kHistHigh, kBinWidth, Histo, underflow, overflow, maxCount)) {
        ShowMessageBox(mtError, QStringLiteral("Cannot calculate histogram"), this);
        return;
    }

    // One grey bar per bin at its upper edge, scaled as a density over all N
    // samples (those outside the bins lower the bars), painted once.
    RC->SetPaintSuppressed(true);
    RC->ClearItems();
    RC->SetDataColor(kGrey);
    RC->SetLineWidth(4);
    std::vector<int> counts(static_cast<std::size_t>(Histo->NrOfElem()));
    for (std::size_t i = 0; i < counts.size(); ++i)
        counts[i] = Histo->Elem(static_cast<int>(i) + 1);
    // On the logarithmic axis the bars stand on its lower end; empty bins have none.
    const double bottom = Extras.LogY ? LogAxisLow(n) : 0;
    for (const THistogramBar &bar : HistogramBars(counts, n))
        if (!Extras.LogY || bar.Height > 0)
            RC->AddLine(bar.X, bottom, bar.X, bar.Height);
    // Range and captions are set before the one paint (the picture is the
    // same as painting after each): the view redraws on every scroll step.
    SetHistogramRange(bottom, std::max<long double>(HistogramDensity(maxCount, n), ComparedPeak()));
    RC->Scale1X()->SetCaption(Translated(QStringLiteral("x")));
    RC->Scale1Y()->SetCaption(Translated(QStringLiteral("probability")));
    DrawDistriTheory(underflow + overflow, n);
    RC->SetPaintSuppressed(false);
    DescribeChart(*this);
}

// A logarithmic axis takes only positive ends: the range is set before the
// switch to it, and the switch back comes before a range from zero.
void TFrmMain::SetHistogramRange(double bottom, long double top)
{
    if (!Extras.LogY) {
        RC->Scale1Y()->SetLogarithmic(false);
        RC->SetLayerRange(0, kHistLow, 0, kHistHigh, top);
        return;
    }
    RC->SetLayerRange(0, kHistLow, bottom, kHistHigh, std::max<long double>(top, 2 * bottom));
    RC->Scale1Y()->SetLogarithmic(true);
}

// The density the histogram shows, of the samples or of their means; or the
// other distribution's at the same location and width.
std::optional<TTheorySource> TFrmMain::ShownTheory(bool other) const
{
    std::optional<TTheorySource> theory = TheoryOf(SampleSource());
    if (theory && other)
        theory = OtherDistribution(*theory);
    if (theory && Extras.MeanOf > 0)
        return MeanOfSamples(*theory, Extras.MeanOf);
    return theory;
}

// The other distribution's curve is seen whole: its peak is a quarter above
// or a fifth below this one's.
double TFrmMain::ComparedPeak() const
{
    const std::optional<TTheorySource> other = ShownTheory(true);
    if (!other || !Extras.CompareOther)
        return 0;
    return Density(other->Distribution, other->Location, other->Width, other->Location);
}

void TFrmMain::DrawDistriTheory(int outside, int samples)
{
    const std::optional<TTheorySource> theory = ShownTheory(false);
    const int meanOf = Extras.MeanOf;
    // The histogram of means is there to be compared with its exact density.
    const double floor = Extras.LogY ? RC->Scale1Y()->RangeLow() : 0;
    if (theory && (Extras.DensityCurve || meanOf > 0 || Extras.CompareOther))
        AddDensityCurve(*RC, *theory, floor);
    if (theory && Extras.CompareOther) {
        const TTheorySource other = *ShownTheory(true);
        AddDensityCurve(*RC, other, floor, clBlue);
        ShowLegend(
            *RC,
            Translated(QStringLiteral("red: <%1%>, blue: <%2%>"),
                       {DistributionName(*this, theory->Distribution), DistributionName(*this, other.Distribution)}));
    } else {
        ShowLegend(*RC, QString());
    }
    QString note;
    if (theory && meanOf > 0)
        note = Translated(QStringLiteral("means of <%1%> samples, outside <%2%> … <%3%>: <%4%> % (theory <%5%> %)"),
                          QStringList {QString::number(meanOf)} + ShareOutsideArguments(*theory, outside, samples));
    else if (theory && Extras.ShareOutside)
        note = Translated(QStringLiteral("outside <%1%> … <%2%>: <%3%> % (theory <%4%> %)"),
                          ShareOutsideArguments(*theory, outside, samples));
    ShowCornerNote(*RC, note);
}

void TFrmMain::SetExtras(const TTeachingExtras &extras)
{
    const bool newSamples = extras.MeanOf != Extras.MeanOf;
    Extras = extras;
    if (DistriShown && newSamples)
        ShowDistri();
    else if (DistriShown)
        DrawDistri();
    else
        ShowMeans();
}

int TFrmMain::ShownSampleCount() const
{
    return DistriShown ? HistogramSamples().NrOfElem() : std::clamp(NrOfSamples, 0, Vec1->NrOfElem());
}

std::vector<double> TFrmMain::ShownSamples() const
{
    const int n = ShownSampleCount();
    const TVector &shown = DistriShown ? HistogramSamples() : *Vec1;
    std::vector<double> samples(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        samples[static_cast<std::size_t>(i)] = shown.Elem(i + 1);
    return samples;
}

void TFrmMain::ShowMeans()
{
    RC->SetPaintSuppressed(true);
    RC->ClearItems();
    RC->SetLineWidth(1);
    // The plotting limit only grows, with the means of the samples before.
    std::vector<double> samples(static_cast<std::size_t>(std::max(NrOfSamples, 0)));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = Vec1->Elem(static_cast<int>(i) + 1);
    const std::vector<double> means = RunningMeans(samples);
    ShowCornerNote(*RC, QString());
    ShowLegend(*RC, QString());
    double limit = 10.0;
    for (int i = 1; i <= NrOfSamples; ++i) {
        const double v = samples[static_cast<std::size_t>(i) - 1];
        if (v > limit) {
            RC->SetDataColor(clRed);
            RC->AddMark(i, limit, kMarkAbove);
        } else if (v < -limit) {
            RC->SetDataColor(clRed);
            RC->AddMark(i, -limit, kMarkBelow);
        } else {
            RC->SetDataColor(kGrey);
            RC->AddMark(i, v, kMarkSample);
        }
        const double mean = means[static_cast<std::size_t>(i) - 1];
        RC->SetDataColor(clBlue);
        RC->AddMark(i, mean, kMarkMean);
        if (std::fabs(mean) > limit)
            limit = std::fabs(mean);
    }
    if (Extras.RunningMedian)
        AddRunningMedian(*RC, samples);
    RC->Scale1Y()->SetLogarithmic(false);
    if (limit > 10)
        RC->SetLayerRange(0, 0, -limit - 1, kMaxMeanSamples, limit + 1);
    else
        RC->SetLayerRange(0, 0, -11, kMaxMeanSamples, 11);
    RC->Scale1X()->SetCaption(Translated(QStringLiteral("number of random numbers n")));
    RC->Scale1Y()->SetCaption(Translated(
        Extras.RunningMedian
            ? QStringLiteral("random numbers (gray), the mean (blue) and the median (green) as a function of n")
            : QStringLiteral("random numbers (gray) and the mean as a function of n (blue)")));
    RC->SetPaintSuppressed(false);
    DescribeChart(*this);
}

// Memo1's drag mode is automatic: pressing the description and moving the
// mouse drags its text away, as a copy.
namespace {
TFrmMain::TStartDragHook &StartDragHook()
{
    static TFrmMain::TStartDragHook hook;
    return hook;
}
} // namespace

TFrmMain::TStartDragHook TFrmMain::SetStartDragHook(TStartDragHook hook)
{
    TStartDragHook old = std::move(StartDragHook());
    StartDragHook() = std::move(hook);
    return old;
}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != Memo1->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove))
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint p = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        m_memoPress = p;
    } else if (type == QEvent::MouseButtonRelease) {
        m_memoPress.reset();
    } else if (type == QEvent::MouseMove && m_memoPress && (mouse->buttons() & Qt::LeftButton) &&
               (p - *m_memoPress).manhattanLength() >= QApplication::startDragDistance()) {
        m_memoPress.reset();
        StartMemoDrag();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmMain::StartMemoDrag()
{
    auto *mime = new QMimeData;
    mime->setText(Memo1->toPlainText());
    if (const TStartDragHook &hook = StartDragHook()) {
        hook(mime);
        delete mime;
        return;
    }
    auto *drag = new QDrag(Memo1);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}
