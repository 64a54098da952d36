// What a program built on the chart reaches: its settings by property name and
// its key events.
#include "Kesl_kurvo.h"

#include <QApplication>
#include <QLineEdit>
#include <QMetaProperty>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
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

// Every enumeration setting ignores a value beyond its last: nothing stored,
// nothing repainted.
TEST(KurvoPublished, EnumerationValuesBeyondTheLastAreIgnored)
{
    TKurvo k;
    k.SetPaintSuppressed(false);
    TBakGndImg &b = *k.BackGroundImg();
    // Each writes v and reads the setting back; then the value after the last.
    const std::vector<std::pair<std::function<int(int)>, int>> settings = {
        {[&](int v) { return k.SetShadowStyle(TShadowStyle(v)), int(k.ShadowStyle()); }, ssBox + 1},
        {[&](int v) { return k.SetTextBkStyle(TTextBkg(v)), int(k.TextBkStyle()); }, tbSolid + 1},
        {[&](int v) { return k.SetTextAlignment(TAlignment(v)), int(k.TextAlignment()); }, taCenter + 1},
        {[&](int v) { return k.SetMouseAction(TMouseActMode(v)), int(k.MouseAction()); }, maRotZOnly + 1},
        {[&](int v) { return b.SetFillMode(TBkgFill(v)), int(b.FillMode()); }, bfTile + 1},
        {[&](int v) { return b.SetAreaMode(TBGAreaMode(v)), int(b.AreaMode()); }, bamRect + 1},
        {[&](int v) { return k.Scale1X()->SetLabelType(TFigType(v)), int(k.Scale1X()->LabelType()); }, ftUserText + 1},
    };
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const auto &[set, beyond] = settings[i];
        ASSERT_EQ(set(1), 1) << i;
        const int paints = k.PaintCount();
        EXPECT_EQ(set(beyond), 1) << i;
        EXPECT_EQ(k.PaintCount(), paints) << i;
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
