// Translating objects and widget trees through their published properties.
#include "Lingwa2000.h"
#include "Memo.h"
#include "RadioGroup.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

// A component with a caption, a list of lines and a few properties that must be left alone.
class TTextHolder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
    Q_PROPERTY(QString Fixed READ Fixed)
    Q_PROPERTY(int Number READ Number WRITE SetNumber)

public:
    explicit TTextHolder(QObject *parent = nullptr, const QString &caption = QString()) : QObject(parent)
    {
        m_caption = caption;
    }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &v)
    {
        m_caption = v;
        ++captionWrites;
        if (onCaption)
            onCaption();
    }
    QStringList Lines() const { return m_lines; }
    void SetLines(const QStringList &v)
    {
        m_lines = v;
        ++linesWrites;
    }
    QString Fixed() const { return QStringLiteral("LW_Fixed"); }
    int Number() const { return m_number; }
    void SetNumber(int v) { m_number = v; }

    int captionWrites = 0;
    int linesWrites = 0;
    std::function<void()> onCaption;

private:
    QString m_caption;
    QStringList m_lines;
    int m_number = 7;
};

// A property record of a control, marked for the walk by class info.
class TPropsRecord : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("LingwaWalk", "object")
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TPropsRecord *Peer READ Peer)

public:
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &v) { m_caption = v; }
    TPropsRecord *Peer() const { return m_peer; }
    void SetPeer(TPropsRecord *p) { m_peer = p; }

private:
    QString m_caption = QStringLiteral("LW_Scale caption");
    TPropsRecord *m_peer = nullptr;
};

// A control that exposes its property objects; none of them is its child,
// so only the property walk can reach them.
class THostControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TPropsRecord *Props READ Props)
    Q_PROPERTY(QObject *Items READ Items)
    Q_PROPERTY(QObject *Plain READ Plain)
    Q_PROPERTY(QObject *Dynamic READ Dynamic)
    Q_PROPERTY(QObject *Empty READ Empty)

public:
    TPropsRecord *Props() const { return props.get(); }
    QObject *Items() const { return items.get(); }
    QObject *Plain() const { return plain.get(); }
    QObject *Dynamic() const { return dynamic.get(); }
    QObject *Empty() const { return nullptr; }

    std::unique_ptr<TPropsRecord> props = std::make_unique<TPropsRecord>();
    std::unique_ptr<QObject> items = std::make_unique<QObject>();
    std::unique_ptr<TTextHolder> plain = std::make_unique<TTextHolder>(nullptr, "LW_Plain");
    std::unique_ptr<TTextHolder> dynamic = std::make_unique<TTextHolder>(nullptr, "LW_Dynamic");
};

// Named like the chart's scale property record, without any walk marker.
class TScaleProps : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TScaleProps(const QString &caption) : m_caption(caption) { }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &v) { m_caption = v; }

private:
    QString m_caption;
};

class TScalePropsVert : public TScaleProps
{
    Q_OBJECT

public:
    using TScaleProps::TScaleProps;
};

// A chart-like control: its scale records are reached only through properties.
class TChartLike : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TScalePropsVert *SclY READ SclY)
    Q_PROPERTY(QObject *SclX READ SclX)

public:
    TScalePropsVert *SclY() const { return y.get(); }
    QObject *SclX() const { return x.get(); }

    std::unique_ptr<TScalePropsVert> y = std::make_unique<TScalePropsVert>("LW_probability");
    std::unique_ptr<TScaleProps> x = std::make_unique<TScaleProps>("LW_x");
};

namespace {

const QByteArray kTable = "[Show Distribution]=Verteilung zeigen|$$\r\n"
                          "[Select a Distribution]=Verteilung ausw\xc3\xa4hlen|$$\r\n"
                          "[Normal Distribution]=Normalverteilung|$$\r\n"
                          "[Description]=Line one\\nLine two|$$\r\n"
                          "[Stop]=Anhalten|$$\r\n";

TEST(LingwaWalk, WidgetTreeGetsItsMarkedTextsTranslated)
{
    QWidget form;
    form.setObjectName("LW_Form");
    auto *button = new QToolButton(&form);
    button->setObjectName("LW_Show Distribution");
    button->setText("LW_Show Distribution");
    button->setToolTip("LW_Stop");
    auto *group = new QGroupBox("LW_Select a Distribution", &form);
    auto *radio = new QRadioButton("LW_Normal Distribution", group);
    auto *memo = new TTextHolder(&form);
    memo->SetLines({"LW_Description"});
    auto *lower = new QLabel("lw_Stop", &form);
    auto *unknown = new QToolButton(&form);
    unknown->setText("LW_Unknown key");
    auto *inner = new QLabel(" LW_Stop", &form);

    TLingwa2000 lw;
    lw.LoadTable(kTable);
    lw.TranslateComponent(&form);

    EXPECT_EQ(button->text(), "Verteilung zeigen");
    EXPECT_EQ(button->toolTip(), "Anhalten");
    EXPECT_EQ(group->title(), QString::fromUtf8("Verteilung auswählen"));
    EXPECT_EQ(radio->text(), "Normalverteilung");
    EXPECT_EQ(memo->Lines(), QStringList({"Line one\r\nLine two"}));
    EXPECT_EQ(unknown->text(), "Unknown key");
    // The prefix is case-sensitive and must lead the text.
    EXPECT_EQ(lower->text(), "lw_Stop");
    EXPECT_EQ(inner->text(), " LW_Stop");
    // Names are never translated.
    EXPECT_EQ(form.objectName(), "LW_Form");
    EXPECT_EQ(button->objectName(), "LW_Show Distribution");
}

TEST(LingwaWalk, MemoAndRadioGroupOfTheWindowShowTheirTranslations)
{
    QWidget form;
    auto *group = new TRadioGroup(&form);
    group->setTitle("LW_Select a Distribution");
    group->SetItems({"LW_Normal Distribution", "LW_Cauchy Distribution"});
    group->SetItemIndex(1);
    auto *memo = new TMemo(&form);
    memo->SetLines({"LW_Description"});
    TLingwa2000 lw;
    lw.LoadTable(kTable);
    lw.TranslateComponent(&form);
    EXPECT_EQ(group->Items(), QStringList({"Normalverteilung", "Cauchy Distribution"}));
    ASSERT_NE(group->Button(0), nullptr);
    EXPECT_EQ(group->Button(0)->text(), "Normalverteilung");
    EXPECT_EQ(group->ItemIndex(), 1);
    // One memo line whose translation holds "\n" shows as two lines.
    EXPECT_EQ(memo->document()->blockCount(), 2);
    EXPECT_EQ(memo->toPlainText(), "Line one\nLine two");
}

TEST(LingwaWalk, NoTableShowsKeysWithoutPrefix)
{
    QWidget form;
    auto *button = new QToolButton(&form);
    button->setText("LW_Show Distribution");
    auto *memo = new TTextHolder(&form);
    memo->SetLines({"LW_Description"});
    TLingwa2000 lw;
    lw.TranslateComponent(&form);
    EXPECT_EQ(button->text(), "Show Distribution");
    EXPECT_EQ(memo->Lines(), QStringList({"Description"}));
}

TEST(LingwaWalk, OnlyWritableStringsAndChangedListsAreWritten)
{
    TTextHolder h(nullptr, "plain caption");
    h.SetLines({"a", "b"});
    h.linesWrites = 0;
    TLingwa2000 lw;
    lw.TranslateObject(&h);
    EXPECT_EQ(h.captionWrites, 0);
    EXPECT_EQ(h.linesWrites, 0);
    EXPECT_EQ(h.Number(), 7);
    EXPECT_EQ(h.Fixed(), "LW_Fixed");
}

TEST(LingwaWalk, SecondTranslationChangesNothing)
{
    TTextHolder h(nullptr, "LW_Stop");
    h.SetLines({"LW_Stop", "x"});
    TLingwa2000 lw;
    lw.LoadTable(kTable);
    lw.SetAutoCreateItlFile(false);
    int calls = 0;
    lw.OnTextTranslated = [&](TLingwa2000 *, const QString &, QString &) { ++calls; };
    lw.TranslateObject(&h);
    EXPECT_EQ(calls, 2);
    const int captionWrites = h.captionWrites, linesWrites = h.linesWrites;
    lw.TranslateObject(&h);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(h.captionWrites, captionWrites);
    EXPECT_EQ(h.linesWrites, linesWrites);
    EXPECT_EQ(h.Caption(), "Anhalten");
}

// The order of lookups: each object before its children, children in
// creation order, list lines from the last to the first.
TEST(LingwaWalk, VisitsParentsFirstChildrenInOrderLinesBackwards)
{
    TTextHolder root(nullptr, "LW_root");
    auto *a = new TTextHolder(&root, "LW_a");
    new TTextHolder(a, "LW_a1");
    new TTextHolder(a, "LW_a2");
    auto *b = new TTextHolder(&root, "LW_b");
    b->SetLines({"LW_b line 1", "plain", "LW_b line 3"});
    new TTextHolder(&root, "LW_c");

    TLingwa2000 lw;
    lw.SetAutoCreateItlFile(true); // the missing list records the lookups in order
    lw.TranslateComponent(&root);
    EXPECT_EQ(lw.Missing(),
              QStringList({"[root]=root|$$", "[a]=a|$$", "[a1]=a1|$$", "[a2]=a2|$$", "[b]=b|$$",
                           "[b line 3]=b line 3|$$", "[b line 1]=b line 1|$$", "[c]=c|$$"}));
    EXPECT_EQ(b->Lines(), QStringList({"b line 1", "plain", "b line 3"}));
    lw.SetAutoCreateItlFile(false); // no file from this test
}

TEST(LingwaWalk, BeforeObjectCallbackCanSkipAnObject)
{
    TTextHolder root(nullptr, "LW_root");
    auto *skipped = new TTextHolder(&root, "LW_skipped");
    skipped->setObjectName("skip me");
    auto *child = new TTextHolder(skipped, "LW_child");
    TLingwa2000 lw;
    QList<QObject *> asked;
    lw.OnBeforeObject = [&](TLingwa2000 *sender, QObject *obj, bool &translate) {
        EXPECT_EQ(sender, &lw);
        asked << obj;
        translate = obj->objectName() != "skip me";
    };
    lw.TranslateComponent(&root);
    EXPECT_EQ(root.Caption(), "root");
    EXPECT_EQ(skipped->Caption(), "LW_skipped");
    EXPECT_EQ(child->Caption(), "child"); // owned components are still visited
    EXPECT_EQ(asked, (QList<QObject *> {&root, skipped, child}));
}

TEST(LingwaWalk, MarkedPropertyObjectsAndCollectionsAreWalked)
{
    THostControl host;
    TPropsRecord other;
    host.props->SetPeer(&other);
    other.SetPeer(host.props.get()); // a cycle must not loop
    host.items->setProperty(TLingwa2000::WalkMarker, "collection");
    auto *item1 = new TTextHolder(host.items.get(), "LW_item one");
    auto *item2 = new TTextHolder(host.items.get(), "LW_item two");
    host.dynamic->setProperty(TLingwa2000::WalkMarker, "object");

    TLingwa2000 lw;
    lw.LoadTable("[Scale caption]=Achse|$$[item two]=Zwei|$$");
    lw.TranslateObject(&host);

    EXPECT_EQ(host.props->Caption(), "Achse");
    EXPECT_EQ(other.Caption(), "Achse");
    EXPECT_EQ(item1->Caption(), "item one");
    EXPECT_EQ(item2->Caption(), "Zwei");
    EXPECT_EQ(host.dynamic->Caption(), "Dynamic");
    EXPECT_EQ(host.plain->Caption(), "LW_Plain"); // unmarked objects are left alone
}

TEST(LingwaWalk, ScalePropertyRecordsAreWalkedWithoutAMarker)
{
    TChartLike chart;
    TLingwa2000 lw;
    lw.LoadTable("[probability]=Wahrscheinlichkeit|$$");
    QList<QObject *> asked;
    lw.OnBeforeObject = [&](TLingwa2000 *, QObject *obj, bool &) { asked << obj; };
    lw.TranslateObject(&chart);
    EXPECT_EQ(chart.y->Caption(), "Wahrscheinlichkeit"); // a derived record class
    EXPECT_EQ(chart.x->Caption(), "x"); // held by a plain object pointer
    EXPECT_EQ(asked, (QList<QObject *> {&chart, chart.y.get(), chart.x.get()}));
}

TEST(LingwaWalk, SetterThatDeletesALaterSiblingIsSafe)
{
    TTextHolder root(nullptr, "LW_root");
    auto *first = new TTextHolder(&root, "LW_first");
    QPointer<TTextHolder> second = new TTextHolder(&root, "LW_second");
    new TTextHolder(second, "LW_grandchild");
    auto *third = new TTextHolder(&root, "LW_third");
    first->onCaption = [&] { delete second.data(); };
    TLingwa2000 lw;
    lw.TranslateComponent(&root);
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(first->Caption(), "first");
    EXPECT_EQ(third->Caption(), "third");
}

TEST(LingwaWalk, ChildrenRebuiltByASetterAreTheNewOnes)
{
    // Like a radio group whose item setter recreates its buttons.
    TTextHolder group(nullptr, "LW_group");
    new TTextHolder(&group, "LW_old");
    group.onCaption = [&] {
        qDeleteAll(group.children());
        new TTextHolder(&group, "LW_new");
    };
    TLingwa2000 lw;
    lw.TranslateComponent(&group);
    ASSERT_EQ(group.children().size(), 1);
    EXPECT_EQ(static_cast<TTextHolder *>(group.children().first())->Caption(), "new");
}

TEST(LingwaWalk, NullObjectsAreIgnored)
{
    TLingwa2000 lw;
    int asked = 0;
    lw.OnBeforeObject = [&](TLingwa2000 *, QObject *, bool &) { ++asked; };
    lw.TranslateObject(nullptr);
    lw.TranslateComponent(nullptr);
    EXPECT_EQ(asked, 0);
}

} // namespace

#include "test_lingwa_walk.moc"
