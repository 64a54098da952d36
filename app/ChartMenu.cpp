#include "ChartMenu.h"

#include "ChartExport.h"
#include "ChartPrint.h"
#include "Kesl_kurvo.h"
#include "MainParts.h"
#include "MessageBox.h"
#include "ModelTexts.h"
#include "RadioGroup.h"
#include "Simulation.h"

#include <QActionGroup>
#include <QApplication>
#include <QChildEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpression>

namespace {

struct TExtraEntry
{
    const char *Key;
    const char *Name;
    TExtra Extra;
};
constexpr TExtraEntry kExtraEntries[] = {
    {"Density curve", "ActDensityCurve", TExtra::DensityCurve},
    {"Share outside the window", "ActShareOutside", TExtra::ShareOutside},
    {"Running median", "ActRunningMedian", TExtra::RunningMedian},
    {"Logarithmic y axis", "ActLogY", TExtra::LogY},
    {"Compare with the other distribution", "ActCompare", TExtra::CompareOther},
};

QAction *AddEntry(QMenu *menu, const TMainParts &frm, const char *key, const char *name)
{
    QAction *a = menu->addAction(frm.Translated(QString::fromUtf8(key)));
    a->setObjectName(QLatin1String(name));
    return a;
}

void Report(TMainParts &frm, const QString &error)
{
    if (!error.isEmpty())
        ShowMessageBox(mtError, error, frm.Window);
}

// A file name from the save dialog; a name typed without an extension gets
// the one of the chosen file type. Empty when the dialog was cancelled.
QString AskFileName(TMainParts &frm, const QString &title, const QStringList &filters)
{
    QString chosen;
    QString name =
        QFileDialog::getSaveFileName(frm.Window, title, QString(), filters.join(QStringLiteral(";;")), &chosen);
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\(\\*(\\.\\w+)\\)")).match(chosen);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty() && m.hasMatch())
        name += m.captured(1);
    return name;
}

QString Filter(const TMainParts &frm, const char *key, const char *pattern)
{
    return frm.Translated(QString::fromUtf8(key)) + QStringLiteral(" (%1)").arg(QLatin1String(pattern));
}

void SavePicture(TMainParts &frm, const QString &title, int scale)
{
    const QString name = AskFileName(frm, title,
                                     {Filter(frm, "PNG picture", "*.png"), Filter(frm, "SVG drawing", "*.svg"),
                                      Filter(frm, "PDF document", "*.pdf")});
    if (!name.isEmpty())
        Report(frm, SaveChartPicture(frm.RC, name, scale, PageHeading(frm)));
}

void SaveSamples(TMainParts &frm, const QString &title)
{
    const QString name = AskFileName(frm, title, {Filter(frm, "CSV file", "*.csv")});
    if (name.isEmpty())
        return;
    Report(frm, SaveShownSamples(*frm.Model, QFile::encodeName(name)));
}

void AddExportEntries(QMenu *menu, TMainParts &frm)
{
    for (const int scale : {1, 2}) {
        QAction *a = AddEntry(menu, frm, scale == 1 ? "Save picture…" : "Save picture (2×)…",
                              scale == 1 ? "ActSavePicture" : "ActSavePicture2");
        QObject::connect(a, &QAction::triggered, frm.Window,
                         [&frm, title = a->text(), scale] { SavePicture(frm, title, scale); });
    }
    for (const int scale : {1, 2}) {
        QAction *a = AddEntry(menu, frm, scale == 1 ? "Copy picture" : "Copy picture (2×)",
                              scale == 1 ? "ActCopyPicture" : "ActCopyPicture2");
        QObject::connect(a, &QAction::triggered, frm.Window,
                         [&frm, scale] { Report(frm, CopyChartPicture(frm.RC, scale)); });
    }
    QAction *print = AddEntry(menu, frm, "Print…", "ActPrint");
    // The key is the window's (it works without the menu); the menu only names it.
    print->setText(print->text() + QLatin1Char('\t') + PrintKeys().toString(QKeySequence::NativeText));
    QObject::connect(print, &QAction::triggered, frm.Window, [&frm] { OpenPrintDialog(frm); });
    QAction *a = AddEntry(menu, frm, "Save samples…", "ActSaveSamples");
    a->setEnabled(frm.Model->ShownCount() > 0);
    QObject::connect(a, &QAction::triggered, frm.Window, [&frm, title = a->text()] { SaveSamples(frm, title); });
}

// One entry per n; choosing the checked one again goes back to the samples.
void AddMeanOfEntries(QMenu *menu, TMainParts &frm)
{
    QMenu *sub = menu->addMenu(frm.Translated(QStringLiteral("Means of n samples")));
    sub->menuAction()->setObjectName(QStringLiteral("ActMeanOf"));
    sub->setEnabled(frm.Model->HistogramShown());
    auto *group = new QActionGroup(sub);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const int n : {1, 2, 10, 100}) {
        QAction *a = sub->addAction(frm.Translated(QStringLiteral("n = <%1%>"), {QString::number(n)}));
        a->setObjectName(QStringLiteral("ActMeanOf%1").arg(n));
        a->setCheckable(true);
        a->setChecked(frm.Model->Extras().MeanOf == n);
        group->addAction(a);
        QObject::connect(a, &QAction::toggled, frm.Window, [&frm, n](bool on) {
            TTeachingExtras extras = frm.Model->Extras();
            if (on || extras.MeanOf == n)
                extras.MeanOf = on ? n : 0;
            frm.Model->SetExtras(extras);
        });
    }
}

} // namespace

QMenu *CreateChartMenu(TMainParts &frm, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("ChartMenu"));
    for (const TExtraEntry &e : kExtraEntries) {
        QAction *a = AddEntry(menu, frm, e.Key, e.Name);
        a->setCheckable(true);
        a->setChecked(ExtraOn(frm.Model->Extras(), e.Extra));
        a->setEnabled(frm.Model->Allows(e.Extra));
        QObject::connect(a, &QAction::toggled, frm.Window, [&frm, extra = e.Extra](bool on) {
            TTeachingExtras extras = frm.Model->Extras();
            SetExtraOn(extras, extra, on);
            frm.Model->SetExtras(extras);
        });
    }
    AddMeanOfEntries(menu, frm);
    menu->addSeparator();
    AddExportEntries(menu, frm);
    return menu;
}

namespace {

// Opens the menu at a point of the chart, unless a menu is open already (the
// menu key may come as a key and as a menu request).
void OpenChartMenu(TMainParts &frm, const QPoint &pos)
{
    if (QApplication::activePopupWidget())
        return;
    QMenu *menu = CreateChartMenu(frm, frm.RC);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(frm.RC->mapToGlobal(pos));
}

// Shift+F10 and the menu key open the menu in the middle of the chart, from
// whichever control of the window has the focus (the scroll bars and the
// description would otherwise open menus of their own). Watches every widget
// the window gets, as it gets it.
class TMenuKeys : public QObject
{
public:
    explicit TMenuKeys(TMainParts &frm) : QObject(frm.Window), m_frm(frm) { Watch(frm.Window); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            // Only just being made: its own type is not known yet.
            if (QObject *child = static_cast<QChildEvent *>(event)->child(); child->isWidgetType())
                Watch(static_cast<QWidget *>(child));
            return false;
        }
        const bool byKey = IsMenuRequest(event) && static_cast<QWidget *>(watched)->window() == m_frm.Window;
        if (byKey)
            OpenChartMenu(m_frm, m_frm.RC->rect().center());
        return byKey;
    }

private:
    static bool IsMenuRequest(const QEvent *event)
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *k = static_cast<const QKeyEvent *>(event);
            return k->key() == Qt::Key_Menu ||
                (k->key() == Qt::Key_F10 && (k->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier);
        }
        return event->type() == QEvent::ContextMenu &&
            static_cast<const QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard;
    }
    void Watch(QWidget *w)
    {
        w->installEventFilter(this);
        for (QWidget *child : w->findChildren<QWidget *>())
            child->installEventFilter(this);
    }

    TMainParts &m_frm;
};

} // namespace

void InstallChartMenu(TMainParts &frm)
{
    frm.RC->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(frm.RC, &QWidget::customContextMenuRequested, frm.Window,
                     [&frm](const QPoint &pos) { OpenChartMenu(frm, pos); });
    new TMenuKeys(frm);
    InstallPrintShortcut(frm);
}
