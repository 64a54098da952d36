#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QUrl;
class THreflet;

// The About dialog: the program's name and version, a copyright line, a short
// description and up to three web links. The main window fills in the name,
// version, description and home-page target and shows it at start and on
// demand; the dialog itself only decides whether the home-page link shows.
class TFrmAbout : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 543;
    static constexpr int kClientHeight = 332;

    explicit TFrmAbout(QWidget *parent = nullptr);
    ~TFrmAbout() override;

    QLabel *LblDescription = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *LblName = nullptr;
    QLabel *LblVersion = nullptr;
    QLabel *LblAuthor = nullptr;
    QLabel *LblCopyright = nullptr;
    QFrame *Panel2 = nullptr;
    QLabel *LblWebSite = nullptr;
    THreflet *HrefletKeslSuite = nullptr;
    THreflet *HrefletSimulations = nullptr;
    THreflet *HrefletHomepage = nullptr;
    QPushButton *BButOK = nullptr;

    // Texts the main window puts in at start, in English or German.
    static QString WebSiteText(bool german);
    static QString DescriptionText(bool german);

    // Shows the home-page link only when its caption was translated to a
    // text of its own; otherwise the other two links move down to the middle.
    void FormShow();
    void BButOKClick(QObject *Sender);

    // Where a link leads: a web address as it is; a page name (the home
    // page's target, "index.html") in the documentation shipped with the
    // program; "#section" a section of the home page. Empty when the page is
    // not there. A click opens the target through the desktop shell and says
    // so in a message box when that fails.
    QUrl LinkTarget(const QString &target) const;
    void OpenLink(const THreflet *Link);

    // The window the dialog opens centred on, kept inside that window's
    // screen; without one, the middle of the screen.
    void CentreOn(QWidget *Window);

    // Shows the dialog modally and returns its result. Tests put a hook in
    // place so that nothing blocks; the previous hook is returned.
    using TShowModalHook = std::function<int(TFrmAbout *Dialog)>;
    int ShowModal();
    static TShowModalHook SetShowModalHook(TShowModalHook hook);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void MoveToItsPlace();

    QPointer<QWidget> m_owner;
};
