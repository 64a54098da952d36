// What a program built on the chart reaches: its settings by property name and
// its key events.
#include "Kesl_kurvo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaProperty>
#include <QTest>
#include <QVariant>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(KurvoPublished, SettingsAreReachedByTheirNames)
{
    TKurvo k, other;
    k.SetAutoRedraw(false);
    TFont font;
    font.Name = QStringLiteral("Arial");
    font.Height = -20;
    const std::pair<const char *, QVariant> cases[] = {
        {"PenStyle", QVariant::fromValue(psDash)},
        {"TextFontStyle", QVariant::fromValue<TFontStyles>(fsBold | fsItalic)},
        {"TextBkStyle", QVariant::fromValue(tbSolid)},
        {"TextAlignment", QVariant::fromValue(taRightJustify)},
        {"ShadowStyle", QVariant::fromValue(ssBox)},
        {"CaptionAlignment", QVariant::fromValue(taCenter)},
        {"CaptionAnchorHoriz", QVariant::fromValue(cahControlLeft)},
        {"CaptionAnchorVert", QVariant::fromValue(cavChartBottom)},
        {"GridStyle", QVariant::fromValue(gsDotLines)},
        {"StandardLayout", QVariant::fromValue(rcl_X2Both_Y2Both)},
        {"Font", QVariant::fromValue(font)},
        {"UseDataOf", QVariant::fromValue(static_cast<TCustomKurvo *>(&other))},
    };
    const QMetaObject *mo = k.metaObject();
    for (const auto &[name, value] : cases) {
        const QMetaProperty p = mo->property(mo->indexOfProperty(name));
        ASSERT_TRUE(p.isValid()) << name;
        EXPECT_TRUE(p.write(&k, value)) << name;
        EXPECT_EQ(p.read(&k), value) << name;
    }
    EXPECT_EQ(k.UseDataOf(), &other);
    EXPECT_EQ(k.MarginTop(), 48); // the layout was applied, not only stored
}

// A chart in a window beside another control that could take the focus.
class KurvoKeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        k = new TKurvo(&window);
        auto *edit = new QLineEdit(&window);
        edit->move(0, 210);
        k->OnKeyDown = [this](QObject *s, int &key, Qt::KeyboardModifiers) { Log(s, 'd', key); };
        k->OnKeyUp = [this](QObject *s, int &key, Qt::KeyboardModifiers) { Log(s, 'u', key); };
        k->OnKeyPress = [this](QObject *s, QChar &c) { Log(s, 'p', c.unicode()); };
        window.show();
        QApplication::setActiveWindow(&window);
        k->setFocus();
    }
    void Log(QObject *sender, char what, int key)
    {
        EXPECT_EQ(sender, k);
        log.push_back({what, key});
    }
    QWidget window;
    TKurvo *k = nullptr;
    std::vector<std::pair<char, int>> log;
};

TEST_F(KurvoKeys, ArrowsTabAndTextReachTheChartAndTheFocusStays)
{
    ASSERT_TRUE(k->hasFocus());
    for (int key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}) {
        log.clear();
        QTest::keyClick(k, Qt::Key(key));
        ASSERT_FALSE(log.empty()) << key;
        EXPECT_EQ(log.front(), std::make_pair('d', key));
        EXPECT_EQ(log.back(), std::make_pair('u', key));
        EXPECT_TRUE(k->hasFocus()) << key;
    }
    log.clear();
    QTest::keyClick(k, Qt::Key_A);
    EXPECT_EQ(log, (std::vector<std::pair<char, int>> {{'d', Qt::Key_A}, {'p', 'a'}, {'u', Qt::Key_A}}));
}

} // namespace
