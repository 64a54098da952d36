// What a program built on the chart reaches: its settings by property name and
// its key events.
#include "Kesl_kurvo.h"

#include <QApplication>
#include <QLineEdit>
#include <QMetaProperty>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

TEST(KurvoPublished, SettingsAreReachedByTheirNames)
{
    TKurvo k;
    const QMetaObject *mo = k.metaObject();
    for (const char *name :
         {"PenStyle", "TextFontStyle", "TextBkStyle", "TextAlignment", "ShadowStyle", "CaptionAlignment",
          "CaptionAnchorHoriz", "CaptionAnchorVert", "GridStyle", "StandardLayout", "Font", "UseDataOf"}) {
        const QMetaProperty p = mo->property(mo->indexOfProperty(name));
        EXPECT_TRUE(p.isWritable() && p.write(&k, p.read(&k))) << name;
    }
}

// Beside another control that could take the focus, arrows and Tab stay with
// the chart and reach its key events, as typed text does.
TEST(KurvoPublished, KeysReachTheChart)
{
    QWidget window;
    auto *k = new TKurvo(&window);
    (new QLineEdit(&window))->move(0, 210);
    std::vector<std::pair<char, int>> log;
    k->OnKeyDown = [&](QObject *, int &key, Qt::KeyboardModifiers) { log.push_back({'d', key}); };
    k->OnKeyUp = [&](QObject *, int &key, Qt::KeyboardModifiers) { log.push_back({'u', key}); };
    k->OnKeyPress = [&](QObject *, QChar &c) { log.push_back({'p', c.unicode()}); };
    window.show();
    QApplication::setActiveWindow(&window);
    k->setFocus();
    for (int key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_A}) {
        log.clear();
        QTest::keyClick(k, Qt::Key(key));
        ASSERT_FALSE(log.empty()) << key;
        EXPECT_EQ(log.front(), std::make_pair('d', key));
        EXPECT_EQ(log.back(), std::make_pair('u', key));
        EXPECT_TRUE(k->hasFocus()) << key;
    }
    EXPECT_EQ(log[1], std::make_pair('p', int('a')));
}
