#include "Memo.h"
#include "RadioGroup.h"

#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(RadioGroup, ItemIndexSelectsOneButtonOrNone)
{
    TRadioGroup g;
    g.resize(177, 57);
    g.SetItems({"a", "b"});
    EXPECT_EQ(g.ItemIndex(), -1);
    g.SetItemIndex(1);
    EXPECT_TRUE(g.Button(1)->isChecked());
    EXPECT_FALSE(g.Button(0)->isChecked());
    g.SetItemIndex(-1);
    EXPECT_EQ(g.ItemIndex(), -1);
    EXPECT_FALSE(g.Button(0)->isChecked());
    EXPECT_FALSE(g.Button(1)->isChecked());
    g.SetItemIndex(7);
    EXPECT_EQ(g.ItemIndex(), -1);
    EXPECT_EQ(g.Button(2), nullptr);
}

TEST(RadioGroup, RetranslatingKeepsTheSelection)
{
    TRadioGroup g;
    g.SetItems({"LW_a", "LW_b"});
    g.SetItemIndex(1);
    g.SetItems({"A", "B"});
    EXPECT_EQ(g.ItemIndex(), 1);
    EXPECT_EQ(g.Button(0)->text(), "A");
    EXPECT_TRUE(g.Button(1)->isChecked());
    g.SetItems({"x"});
    EXPECT_EQ(g.ItemIndex(), -1);
}

TEST(RadioGroup, OnlyAUserPickFiresOnClick)
{
    TRadioGroup g;
    g.resize(177, 57);
    g.SetItems({"a", "b"});
    g.SetItemIndex(1);
    g.show();
    int clicks = 0;
    g.OnClick = [&](QObject *sender) {
        EXPECT_EQ(sender, &g);
        ++clicks;
    };
    g.SetItemIndex(0);
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(g.Button(1), Qt::LeftButton, {}, QPoint(6, g.Button(1)->height() / 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(g.ItemIndex(), 1);
    QTest::mouseClick(g.Button(1), Qt::LeftButton, {}, QPoint(6, g.Button(1)->height() / 2)); // already selected
    EXPECT_EQ(clicks, 1);
}

TEST(Memo, LinesWithLineBreaksShowAsSeparateLines)
{
    TMemo m;
    m.SetLines({"first\r\nsecond", "third"});
    EXPECT_EQ(m.Lines().size(), 2);
    EXPECT_EQ(m.toPlainText(), "first\nsecond\nthird");
    EXPECT_EQ(m.document()->blockCount(), 3);
}

TEST(Memo, ItsHeightForAWidthShowsEveryLineAndItsScrollBarsSettle)
{
    TMemo m;
    m.document()->setDocumentMargin(2); // as the main window's description
    m.SetLines({QStringLiteral("Words that wrap at the width of the box, ").repeated(12), QStringLiteral("end")});
    m.show();
    // Around the height the text needs: below it a vertical bar only, from it on none; no switching.
    const int fit = m.heightForWidth(400);
    for (int h = fit - 24; h <= fit + 2; ++h) {
        m.resize(400, h);
        QCoreApplication::processEvents();
        QSignalSpy ranges(m.verticalScrollBar(), &QScrollBar::rangeChanged);
        for (int round = 0; round < 4; ++round, QCoreApplication::processEvents()) { }
        EXPECT_TRUE(ranges.isEmpty() && !m.horizontalScrollBar()->isVisible()) << h;
        EXPECT_EQ(m.verticalScrollBar()->isVisible(), h < fit) << h;
    }
}
