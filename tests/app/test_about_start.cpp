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

#include <functional>
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
    QString title, name, version, webSite, description, ok, homeCaption, homeUrl, suiteCaption, copyright;
    bool homeShown = false;
    bool histogramDrawn = false;
    bool windowOnScreen = false; // the main window was shown before the dialog opened
};

// Replaces the modal showing: the dialog opens for real (without blocking),
// its state is recorded, and OK closes it.
class ModalRecorder
{
public:
    explicit ModalRecorder(const std::function<void(Showing &)> &probe = {})
    {
        m_old = TFrmAbout::SetShowModalHook([this, probe](TFrmAbout *d) {
            d->open();
            Showing s;
            s.title = d->windowTitle();
            s.name = d->LblName->text();
            s.version = d->LblVersion->text();
            s.webSite = d->LblWebSite->text();
            s.description = d->LblDescription->text();
            s.ok = d->BButOK->text();
            s.homeCaption = d->HrefletHomepage->Caption();
            s.homeUrl = d->HrefletHomepage->URL();
            s.homeShown = d->HrefletHomepage->isVisible();
            s.suiteCaption = d->HrefletKeslSuite->Caption();
            s.copyright = d->LblCopyright->text();
            if (probe)
                probe(s);
            showings.push_back(s);
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
        const char *suite;
    } cases[] = {
        {"no table", QByteArray(), false, "About", "OK", "HomePage", false, "The component library of this program"},
        {"English", SourceTable("cauchy.itl"), false, "About", "OK", "Home page of this simulation", true,
         "The component library of this program"},
        {"German", SourceTable("translations/cauchy.itl"), true, "Info", "OK", "Startseite dieser Simulation", true,
         "Die Komponentenbibliothek dieses Programms"},
        {"language in capitals", "[$dlglanguage$]=LGGERMAN|$$[HomePage]=|$$", true, "About", "OK", "", false,
         "The component library of this program"},
        {"another language", "[$dlglanguage$]=lgFrench|$$", false, "About", "OK", "HomePage", false,
         "The component library of this program"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StartTable table(c.table);
        TFrmMain frm;
        TFrmAbout about;
        frm.FrmAbout = &about;
        ModalRecorder modal([&](Showing &s) {
            s.histogramDrawn = frm.Histo->NrOfElem() == 400;
            s.windowOnScreen = frm.windowHandle() && frm.windowHandle()->isVisible();
        });
        ShowAndStart(frm);
        ASSERT_EQ(modal.showings.size(), 1u);
        const Showing &s = modal.showings[0];
        EXPECT_EQ(s.name, "Cauchy Distribution");
        EXPECT_EQ(s.version, "Version 1.0");
        EXPECT_EQ(s.webSite, TFrmAbout::WebSiteText(c.german));
        EXPECT_EQ(s.description, TFrmAbout::DescriptionText(c.german));
        EXPECT_EQ(s.title, c.title);
        EXPECT_EQ(s.ok, c.ok);
        EXPECT_EQ(s.homeCaption, c.home);
        EXPECT_EQ(s.homeShown, c.homeShown);
        EXPECT_EQ(s.homeUrl, frm.Translated("HomePageURL"));
        EXPECT_EQ(s.suiteCaption, c.suite);
        // The copyright line is translated too: German in the German table.
        EXPECT_EQ(s.copyright.contains("die Autoren"), c.german && c.homeShown);
        EXPECT_TRUE(s.windowOnScreen);
        // The histogram view comes after the dialog is closed.
        EXPECT_FALSE(s.histogramDrawn);
        EXPECT_EQ(frm.Histo->NrOfElem(), 400);
        EXPECT_TRUE(frm.DistriShown);
        EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
    }
    // The two language texts differ.
    EXPECT_NE(TFrmAbout::WebSiteText(true), TFrmAbout::WebSiteText(false));
    EXPECT_NE(TFrmAbout::DescriptionText(true), TFrmAbout::DescriptionText(false));
}

TEST_F(AboutStart, TheAboutButtonShowsTheDialogAgainEachTime)
{
    StartTable table(SourceTable("cauchy.itl"));
    TFrmMain frm;
    TFrmAbout about;
    frm.FrmAbout = &about;
    ModalRecorder modal;
    ShowAndStart(frm);
    ASSERT_EQ(modal.showings.size(), 1u);
    QTest::mouseClick(frm.SButAbout, Qt::LeftButton);
    QTest::mouseClick(frm.SButAbout, Qt::LeftButton);
    ASSERT_EQ(modal.showings.size(), 3u);
    EXPECT_EQ(modal.showings[2].homeCaption, "Home page of this simulation");
    EXPECT_EQ(modal.showings[2].webSite, TFrmAbout::WebSiteText(false));
}

TEST_F(AboutStart, ARunStartedBeforeTheDialogOpensIsNotDrawnOver)
{
    StartTable table(QByteArray {});
    TFrmMain frm;
    TFrmAbout about;
    frm.FrmAbout = &about;
    ModalRecorder modal;
    frm.show();
    frm.SButDrawSamplesClick(frm.SButDrawSamples); // as --view means does
    QCoreApplication::processEvents();
    ASSERT_EQ(modal.showings.size(), 1u);
    EXPECT_TRUE(frm.MeansRunning);
    EXPECT_EQ(frm.Histo->NrOfElem(), 1); // no histogram was counted
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
    EXPECT_EQ(frm.Histo->NrOfElem(), 400);
}

TEST_F(AboutStart, TheIconOfTheTableReachesTheDialogAndBadIconsAreSkipped)
{
    const QString dir = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath();
    const QString good = dir + QStringLiteral("/test_about_icon.png");
    const QString bad = dir + QStringLiteral("/test_about_text.png");
    const QString folder = dir + QStringLiteral("/test_about_folder.png");
    {
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(Qt::green);
        ASSERT_TRUE(img.save(good));
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not an image\n");
    }
    struct Case
    {
        const char *name;
        bool own; // the dialog shows the table's icon
    } cases[] = {
        {"test_about_icon.png", true},
        {"test_about_text.png", false},
        {"test_about_folder.png", false}, // not a file
        {"test_about_missing.png", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StartTable table(QByteArray("[AppIconName]=") + c.name + "|$$");
        TFrmMain frm;
        TFrmAbout about;
        const QImage designIcon = about.windowIcon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_RGB32);
        frm.FrmAbout = &about;
        ModalRecorder modal;
        ShowAndStart(frm);
        EXPECT_EQ(modal.showings.size(), 1u);
        EXPECT_EQ(frm.Histo->NrOfElem(), 400);
        const QImage shown = about.windowIcon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_RGB32);
        if (c.own) {
            ASSERT_FALSE(shown.isNull());
            EXPECT_EQ(shown.pixel(8, 8) & 0xFFFFFF, 0x00FF00u);
        } else {
            // The dialog keeps its own icon.
            EXPECT_EQ(shown, designIcon);
        }
    }
    QFile::remove(good);
    QFile::remove(bad);
    QDir().rmdir(folder);
}
