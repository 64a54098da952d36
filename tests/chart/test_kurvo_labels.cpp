#include "KeslError.h"
#include "Kesl_kurvo_labels.h"

#include <QMetaProperty>
#include <QVariant>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Counts OnChange calls and remembers the senders.
struct Recorder
{
    std::vector<QObject *> senders;
    TNotifyEvent Handler()
    {
        return [this](QObject *s) { senders.push_back(s); };
    }
    int Count() const { return int(senders.size()); }
};

// Writes every published property of obj with its current value through the
// meta-object system (the way a stored form or the translation walk does) and
// returns, per property, how many notifications the write caused.
template<class T> std::vector<std::pair<std::string, int>> WriteEachPropertyUnchanged(T &obj, Recorder &rec)
{
    std::vector<std::pair<std::string, int>> result;
    const QMetaObject *mo = obj.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        const int before = rec.Count();
        EXPECT_TRUE(p.write(&obj, p.read(&obj))) << p.name();
        result.emplace_back(p.name(), rec.Count() - before);
    }
    return result;
}

std::vector<std::string> PublishedNames(const QMetaObject *mo)
{
    std::vector<std::string> names;
    for (int i = QObject::staticMetaObject.propertyCount(); i < mo->propertyCount(); ++i)
        names.emplace_back(mo->property(i).name());
    return names;
}

// ---------------------------------------------------------------------------
// Cross-hair

TEST(CrossHair, PublishesItsFieldsInOrder)
{
    TCrossHair ch;
    EXPECT_EQ(PublishedNames(ch.metaObject()),
              (std::vector<std::string> {"PosX", "PosY", "Color", "Mode", "LineType", "LineWid", "Layer"}));
}

TEST(CrossHair, EveryFieldWrittenWithItsOwnValueStillNotifiesOnce)
{
    TCrossHair ch;
    Recorder rec;
    ch.OnChange = rec.Handler();
    for (const auto &[name, count] : WriteEachPropertyUnchanged(ch, rec))
        EXPECT_EQ(count, 1) << name;
    for (QObject *s : rec.senders)
        EXPECT_EQ(s, &ch);
}

TEST(CrossHair, LayerIsClampedToOneToSixteenAndNotifies)
{
    struct Case
    {
        int in, stored;
    };
    const Case cases[] = {{0, 1}, {17, 16}, {-2147483647 - 1, 1}, {2147483647, 16}, {1, 1}, {16, 16}, {7, 7}};
    for (const Case &c : cases) {
        TCrossHair ch;
        ch.SetLayer(5);
        Recorder rec;
        ch.OnChange = rec.Handler();
        ch.SetLayer(c.in);
        EXPECT_EQ(ch.Layer(), c.stored) << c.in;
        EXPECT_EQ(rec.Count(), 1) << c.in;
    }
}

TEST(CrossHair, StoresEachField)
{
    TCrossHair ch;
    ch.SetPosX(-2.5);
    ch.SetPosY(1e300);
    ch.SetColor(clRed);
    ch.SetMode(chBoth);
    ch.SetLineType(psDashDot);
    ch.SetLineWid(3);
    EXPECT_EQ(ch.PosX(), -2.5);
    EXPECT_EQ(ch.PosY(), 1e300);
    EXPECT_EQ(ch.Color(), clRed);
    EXPECT_EQ(ch.Mode(), chBoth);
    EXPECT_EQ(ch.LineType(), psDashDot);
    EXPECT_EQ(ch.LineWid(), 3);
}

TEST(CrossHair, UnknownLineStyleIsDroppedSilently)
{
    TCrossHair ch;
    ch.SetLineType(psDot);
    Recorder rec;
    ch.OnChange = rec.Handler();
    ch.SetLineType(static_cast<TPenStyle>(7));
    EXPECT_EQ(ch.LineType(), psDot);
    EXPECT_EQ(rec.Count(), 0);
}

TEST(CrossHair, HasNoCopyOfItsOwn)
{
    TCrossHair a, b;
    b.SetPosX(42);
    Recorder rec;
    a.OnChange = rec.Handler();
    try {
        a.Assign(&b);
        FAIL() << "no exception";
    } catch (const EKeslError &e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TCrossHair to a TCrossHair");
    }
    EXPECT_EQ(a.PosX(), 0);
    EXPECT_EQ(rec.Count(), 0);
    EXPECT_THROW(a.Assign(nullptr), EKeslError);
}

// ---------------------------------------------------------------------------
// Text label settings

TEST(CustomTextLabel, Defaults)
{
    TCustomTextLabel l;
    EXPECT_EQ(l.PosX(), 100);
    EXPECT_EQ(l.PosY(), 10);
    EXPECT_EQ(l.Layer(), 1);
    EXPECT_EQ(l.ShadowDx(), 0);
    EXPECT_EQ(l.ShadowDy(), 0);
    EXPECT_EQ(l.ColorShadow(), 0x808080);
    EXPECT_EQ(l.Alignment(), taCenter);
    EXPECT_EQ(l.VerticalAlignment(), vaBottom);
    EXPECT_EQ(l.AttachToData(), tlamNone);
    EXPECT_EQ(l.ColorBkg(), 0xC0C0C0);
    EXPECT_EQ(l.ColorBorder(), 0);
    EXPECT_FALSE(l.Transparent());
    EXPECT_EQ(l.Font(), TFont());
    EXPECT_TRUE(l.Caption().isEmpty());
    EXPECT_EQ(l.Mode(), tlsimple);
    EXPECT_TRUE(l.Visible());
}

TEST(CustomTextLabel, PublishesItsFieldsInOrder)
{
    TCustomTextLabel l;
    EXPECT_EQ(PublishedNames(l.metaObject()),
              (std::vector<std::string> {"PosX", "PosY", "Layer", "ShadowDx", "ShadowDy", "ColorShadow", "Alignment",
                                         "VerticalAlignment", "AttachToData", "ColorBkg", "ColorBorder", "Transparent",
                                         "Font", "Caption", "Mode", "Visible"}));
    // The caption is a plain string property, so translation can reach it.
    EXPECT_EQ(l.metaObject()->property(l.metaObject()->indexOfProperty("Caption")).metaType(),
              QMetaType::fromType<QString>());
}

TEST(CustomTextLabel, EveryFieldWrittenWithItsOwnValueStillNotifiesOnce)
{
    TCustomTextLabel l;
    Recorder rec;
    l.OnChange = rec.Handler();
    for (const auto &[name, count] : WriteEachPropertyUnchanged(l, rec))
        EXPECT_EQ(count, 1) << name;
    for (QObject *s : rec.senders)
        EXPECT_EQ(s, &l);
}

TEST(CustomTextLabel, LayerOutsideOneToSixteenIsIgnoredSilently)
{
    struct Case
    {
        int in, stored, notifications;
    };
    const Case cases[] = {{0, 4, 0}, {17, 4, 0}, {-1, 4, 0}, {1, 1, 1}, {16, 16, 1}, {4, 4, 1}};
    for (const Case &c : cases) {
        TCustomTextLabel l;
        l.SetLayer(4);
        Recorder rec;
        l.OnChange = rec.Handler();
        l.SetLayer(c.in);
        EXPECT_EQ(l.Layer(), c.stored) << c.in;
        EXPECT_EQ(rec.Count(), c.notifications) << c.in;
    }
}

TEST(CustomTextLabel, CaptionControlCharactersBecomeBlanksExceptLineFeed)
{
    struct Case
    {
        QString in, stored;
    };
    const Case cases[] = {
        {QStringLiteral("a\tb\nc"), QStringLiteral("a b\nc")},
        {QStringLiteral("x\r\ny"), QStringLiteral("x \ny")},
        {QString(QChar(1)) + QChar(31) + QChar(32) + QChar(127), QStringLiteral("   ") + QChar(127)},
        {QString(QChar(0)) + QStringLiteral("z"), QStringLiteral(" z")},
        {QStringLiteral("\u00e4\u20ac"), QStringLiteral("\u00e4\u20ac")},
        {QString(), QString()},
    };
    for (const Case &c : cases) {
        TCustomTextLabel l;
        Recorder rec;
        l.OnChange = rec.Handler();
        l.SetCaption(c.in);
        EXPECT_EQ(l.Caption(), c.stored) << c.in.toStdString();
        EXPECT_EQ(rec.Count(), 1);
    }
}

TEST(CustomTextLabel, FontAttributesAreCopiedIntoTheOwnFont)
{
    TCustomTextLabel l;
    Recorder rec;
    l.OnChange = rec.Handler();
    TFont f;
    f.Name = QStringLiteral("Courier New");
    f.Height = -20;
    f.Color = clRed;
    f.Style = fsBold | fsItalic;
    l.SetFont(f);
    f.Name = QStringLiteral("Arial");
    EXPECT_EQ(l.Font().Name, QStringLiteral("Courier New"));
    EXPECT_EQ(l.Font().Height, -20);
    EXPECT_EQ(l.Font().Color, clRed);
    EXPECT_EQ(l.Font().Style, fsBold | fsItalic);
    EXPECT_EQ(rec.Count(), 1);
}

TEST(CustomTextLabel, UnknownEnumerationValuesAreDropped)
{
    TCustomTextLabel l;
    l.SetMode(tlShadow);
    l.SetMode(static_cast<TTxtLblMode>(6));
    EXPECT_EQ(l.Mode(), tlShadow);
    l.SetVerticalAlignment(vaTop);
    l.SetVerticalAlignment(static_cast<TVerticalAlignment>(3));
    EXPECT_EQ(l.VerticalAlignment(), vaTop);
    l.SetAlignment(taLeftJustify);
    l.SetAlignment(static_cast<TAlignment>(3));
    EXPECT_EQ(l.Alignment(), taLeftJustify);
}

TEST(CustomTextLabel, HasNoCopyOfItsOwn)
{
    TCustomTextLabel a, b;
    b.SetCaption(QStringLiteral("copy me"));
    EXPECT_THROW(a.Assign(&b), EKeslError);
    EXPECT_TRUE(a.Caption().isEmpty());
}

} // namespace
