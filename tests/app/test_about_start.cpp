// The start-up sequence of the main window with the About dialog.
#include "AboutBox.h"
#include "Kesl_hreflet.h"
#include "Kesl_vector.h"
#include "MessageBox.h"
#include "mainfrm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

#include <vector>

namespace {

// The table beside the test program, written for one test and removed after it.
class StartTable
{
public:
    explicit StartTable(const QByteArray &contents)
        : m_path(QCoreApplication::applicationFilePath() + QStringLiteral(".itl"))
    {
        QFile::remove(m_path);
        if (contents.isNull())
            return;
        QFile f(m_path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    ~StartTable() { QFile::remove(m_path); }

private:
    QString m_path;
};

QByteArray SourceTable(const char *relative)
{
    QFile f(qEnvironmentVariable("CAUCHY_SOURCE_DIR") + QStringLiteral("/app/tables/") + QLatin1String(relative));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    return f.readAll();
}

// What the About dialog showed at one modal showing.
struct Showing
{
    QString title, name, version, webSite, description, ok, homeCaption, homeUrl;
    bool homeShown, histogramDrawn;
    bool windowOnScreen; // the main window was shown before the dialog opened
};

// Replaces the modal showing: the dialog opens for real (without blocking),
// its state (and that of the main window, when given) is recorded, and OK
// closes it.
class ModalRecorder
{
public:
    explicit ModalRecorder(const TFrmMain *frm = nullptr)
    {
        m_old = TFrmAbout::SetShowModalHook([this, frm](TFrmAbout *d) {
            d->open();
            showings.push_back({d->windowTitle(), d->LblName->text(), d->LblVersion->text(), d->LblWebSite->text(),
                                d->LblDescription->text(), d->BButOK->text(), d->HrefletHomepage->Caption(),
                                d->HrefletHomepage->URL(), d->HrefletHomepage->isVisible(),
                                frm && frm->Model->Bins().NrOfElem() == 400,
                                frm && frm->windowHandle() && frm->windowHandle()->isVisible()});
            // For a look by eye: CAUCHY_ABOUT_SCREENSHOT=/some/prefix.
            const QString shot = qEnvironmentVariable("CAUCHY_ABOUT_SCREENSHOT");
            if (!shot.isEmpty())
                d->grab().save(shot + QStringLiteral("_start%1.png").arg(++m_saved));
            QTest::mouseClick(d->BButOK, Qt::LeftButton);
            EXPECT_FALSE(d->isVisible());
            return d->result();
        });
    }
    ~ModalRecorder() { TFrmAbout::SetShowModalHook(m_old); }

    std::vector<Showing> showings;

private:
    TFrmAbout::TShowModalHook m_old;
    inline static int m_saved = 0;
};

// The main window with an About dialog, started over a table.
struct Started
{
    explicit Started(const QByteArray &contents) : table(contents) { frm.FrmAbout = &about; }

    StartTable table;
    TFrmMain frm;
    TFrmAbout about;
    ModalRecorder modal {&frm};
};

// Shows the window and lets the start-up that follows its first showing run.
void ShowAndStart(TFrmMain &frm)
{
    frm.show();
    QCoreApplication::processEvents();
}

class AboutStart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldBox = SetMessageBoxHandler([this](TMsgDlgType, const QString &, const QString &t) { messages << t; });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(m_oldBox);
        QApplication::setWindowIcon(QIcon());
    }

    QStringList messages;

private:
    TMessageBoxHandler m_oldBox;
};

} // namespace

TEST_F(AboutStart, TheTableDecidesTheLanguageOfTheAboutTexts)
{
    struct Case
    {
        const char *name;
        QByteArray table;
        bool german;
        const char *title, *ok, *home;
        bool homeShown;
    } cases[] = {
        {"no table", QByteArray(), false, "About", "OK", "HomePage", false},
        {"English", SourceTable("cauchy.itl"), false, "About", "OK", "Home page of this simulation", true},
        {"German", SourceTable("translations/cauchy.itl"), true, "Info", "OK", "Startseite dieser Simulation", true},
        {"language in capitals", "[$dlglanguage$]=LGGERMAN|$$[HomePage]=|$$", true, "About", "OK", "", false},
        {"another language", "[$dlglanguage$]=lgFrench|$$", false, "About", "OK", "HomePage", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Started start(c.table);
        TFrmMain &frm = start.frm;
        ShowAndStart(frm);
        ASSERT_EQ(start.modal.showings.size(), 1u);
        const Showing &s = start.modal.showings[0];
        EXPECT_EQ(s.name, "Cauchy Distribution");
        EXPECT_EQ(s.version, "Version 1.0");
        EXPECT_EQ(s.webSite, TFrmAbout::WebSiteText(c.german));
        EXPECT_EQ(s.description, TFrmAbout::DescriptionText(c.german));
        EXPECT_EQ(s.title, c.title);
        EXPECT_EQ(s.ok, c.ok);
        EXPECT_EQ(s.homeCaption, c.home);
        EXPECT_EQ(s.homeShown, c.homeShown);
        EXPECT_EQ(s.homeUrl, frm.Translated("HomePageURL"));
        EXPECT_TRUE(s.windowOnScreen);
        // The histogram view comes after the dialog is closed.
        EXPECT_FALSE(s.histogramDrawn);
        EXPECT_EQ(frm.Model->Bins().NrOfElem(), 400);
        EXPECT_TRUE(frm.Model->HistogramShown());
        EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
    }
    // The two language texts differ.
    EXPECT_NE(TFrmAbout::WebSiteText(true), TFrmAbout::WebSiteText(false));
    EXPECT_NE(TFrmAbout::DescriptionText(true), TFrmAbout::DescriptionText(false));
}

TEST_F(AboutStart, TheAboutButtonShowsTheDialogAgainEachTime)
{
    Started start(SourceTable("cauchy.itl"));
    const std::vector<Showing> &showings = start.modal.showings;
    ShowAndStart(start.frm);
    ASSERT_EQ(showings.size(), 1u);
    QTest::mouseClick(start.frm.SButAbout, Qt::LeftButton);
    QTest::mouseClick(start.frm.SButAbout, Qt::LeftButton);
    ASSERT_EQ(showings.size(), 3u);
    EXPECT_EQ(showings[2].homeCaption, "Home page of this simulation");
    EXPECT_EQ(showings[2].webSite, TFrmAbout::WebSiteText(false));
}

TEST_F(AboutStart, ARunStartedBeforeTheDialogOpensIsNotDrawnOver)
{
    Started start {QByteArray()};
    TFrmMain &frm = start.frm;
    frm.show();
    frm.SButDrawSamplesClick(frm.SButDrawSamples); // as --view means does
    QCoreApplication::processEvents();
    ASSERT_EQ(start.modal.showings.size(), 1u);
    EXPECT_TRUE(frm.Model->Running());
    EXPECT_EQ(frm.Model->Bins().NrOfElem(), 1); // no histogram was counted
    frm.SButDrawSamplesClick(frm.SButDrawSamples);
}

TEST_F(AboutStart, WithoutADialogTheStartShowsNothingModal)
{
    StartTable table(QByteArray {});
    ModalRecorder modal;
    TFrmMain frm;
    frm.show();
    frm.BButAboutClick(frm.SButAbout);
    EXPECT_TRUE(modal.showings.empty());
    EXPECT_EQ(frm.Model->Bins().NrOfElem(), 400);
}

TEST_F(AboutStart, TheIconOfTheTableReachesTheDialogAndBadIconsAreSkipped)
{
    const QString dir = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath();
    const QString good = dir + QStringLiteral("/test_about_icon.png");
    const QString bad = dir + QStringLiteral("/test_about_text.png");
    const QString folder = dir + QStringLiteral("/test_about_folder.png");
    QImage green(16, 16, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(good));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile text(bad);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("this is not an image\n") > 0);
    text.close();
    // The icon named, whether the dialog shows it (else it keeps its own).
    const std::pair<const char *, bool> cases[] = {{"test_about_icon.png", true},
                                                   {"test_about_text.png", false},
                                                   {"test_about_folder.png", false}, // not a file
                                                   {"test_about_missing.png", false}};
    for (const auto &[name, own] : cases) {
        SCOPED_TRACE(name);
        Started start(QByteArray("[AppIconName]=") + name + "|$$");
        auto icon = [&] {
            return start.about.windowIcon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage designIcon = icon();
        ShowAndStart(start.frm);
        EXPECT_EQ(start.modal.showings.size(), 1u);
        EXPECT_EQ(start.frm.Model->Bins().NrOfElem(), 400);
        EXPECT_EQ(icon(), own ? green : designIcon);
    }
    QFile::remove(good);
    QFile::remove(bad);
    QDir().rmdir(folder);
}
