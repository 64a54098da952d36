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
#include "Simulation.h"
#include "SimulationChart.h"
#include "TheoryOverlay.h"

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

    Window = this;
    StartDrag = [this](QMimeData *mime) {
        auto *drag = new QDrag(Memo1);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction);
    };
    m_generator.SeedFromClock(); // each start gives other samples, unless a seed is set
    Model = new TSimulation(m_generator, this);
    Model->setObjectName(QStringLiteral("Model"));
    Lookup = [this](const QString &key, const QStringList &arguments) {
        return cliDemon ? cliDemon->Lingwa().LookupText(key, arguments) : FillPlaceholders(key, arguments);
    };
    CreateControls(singleInstance, language);
    SyncControls();
    connect(Model, &TSimulation::Changed, this, &TFrmMain::ModelChanged);
    InstallAccessAids(*this, cliDemon);

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

    SBarLoc = ScrollBar(Panel1, "SBarLoc", TSimulation::kLocationLow, TSimulation::kLocationHigh,
                        Model->LocationPosition(), {376, 40, 121, 20});
    SBarWid = ScrollBar(Panel1, "SBarWid", TSimulation::kWidthLow, TSimulation::kWidthHigh, Model->WidthPosition(),
                        {512, 40, 121, 20});
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
    // Also where a person looks: the description's first line.
    if (Memo1->Lines().value(0) != note)
        Memo1->SetLines(QStringList(note) + Memo1->Lines());
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
    Model->StopRun();
    LoadIcon();
    ReportScaleFit();
    // The lesson starts at the first action, not in the chart (which keeps
    // Tab for itself): the window has it once the About dialog closes.
    SButShowDistri->setFocus();
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
    if (!Model->Running() && Model->RunCount() == 0)
        ShowDistri();
}

void TFrmMain::SButShowDistriClick(QObject *)
{
    ShowDistri();
}

void TFrmMain::SButDrawSamplesClick(QObject *)
{
    Model->ToggleRun();
}

void TFrmMain::Timer1Timer(QObject *)
{
    Model->Step();
}

void TFrmMain::RGDistriClick(QObject *)
{
    const int index = RGDistri->ItemIndex();
    Model->SetDistribution(index == 0       ? std::optional(TDistribution::Normal)
                               : index == 1 ? std::optional(TDistribution::Cauchy)
                                            : std::nullopt);
}

void TFrmMain::SBarLocChange(QObject *)
{
    Model->SetLocationPosition(SBarLoc->value());
}

void TFrmMain::SBarWidChange(QObject *)
{
    Model->SetWidthPosition(SBarWid->value());
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
    Model->ShowHistogram();
}

void TFrmMain::ModelChanged(TSimulation::TChanges what)
{
    SyncControls();
    // Nothing is drawn before the first view (start options set the model
    // before the window shows); a parameter change alone leaves the running
    // means as they are drawn.
    const bool noView = !Model->HistogramShown() && !Model->Running() && Model->RunCount() == 0;
    if (!noView && (what & (TSimulation::DataChanged | TSimulation::ExtrasChanged)))
        DrawView();
}

// The controls show the model; setting a control to the value it has sends nothing.
void TFrmMain::SyncControls()
{
    const std::optional<TDistribution> d = Model->Distribution();
    const int index = !d ? -1 : *d == TDistribution::Normal ? 0 : 1;
    if (RGDistri->ItemIndex() != index)
        RGDistri->SetItemIndex(index);
    SBarLoc->setValue(Model->LocationPosition());
    SBarWid->setValue(Model->WidthPosition());
    NLabLoc->SetValue(Model->Location());
    NLabWid->SetValue(Model->Width());
    const bool running = Model->Running();
    const QString caption = Translated(running ? QStringLiteral("Stop") : QStringLiteral("Calculate Means"));
    if (SButDrawSamples->text() != caption)
        SButDrawSamples->setText(caption);
    for (QWidget *w : {static_cast<QWidget *>(SButShowDistri), static_cast<QWidget *>(RGDistri),
                       static_cast<QWidget *>(SBarLoc), static_cast<QWidget *>(SBarWid)})
        w->setEnabled(!running);
}

void TFrmMain::DrawView()
{
    if (!DrawSimulation(*RC, *Model, Lookup)) {
        ShowMessageBox(mtError, QStringLiteral("Cannot calculate histogram"), this);
        return;
    }
    DescribeChart(*this);
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
    StartDrag(mime);
}
