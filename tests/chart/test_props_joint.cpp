#include "Kesl_kurvo_props.h"

#include "../controls/setter_rules.h"

#include <QMetaProperty>
#include <QVariant>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records OnJoined and OnChange in the order they come.
struct JointRecorder
{
    std::vector<std::string> events;
    void Bind(TJointLayers &j)
    {
        j.OnJoined = [this, &j](QObject *s, int layer, bool x) {
            EXPECT_EQ(s, &j);
            events.push_back("join " + std::to_string(layer) + (x ? "x" : "y"));
        };
        j.OnChange = [this, &j](QObject *s) {
            EXPECT_EQ(s, &j);
            events.push_back("change");
        };
    }
};

std::vector<int> Table(const TJointLayers &j, bool x)
{
    std::vector<int> t;
    for (int n = 1; n <= 16; ++n)
        t.push_back(x ? j.XControlledBy(n) : j.YControlledBy(n));
    return t;
}

std::vector<int> Identity()
{
    std::vector<int> t;
    for (int n = 1; n <= 16; ++n)
        t.push_back(n);
    return t;
}

TEST(JointLayers, StartsWithEveryAxisIndependent)
{
    TJointLayers j;
    EXPECT_EQ(Table(j, true), Identity());
    EXPECT_EQ(Table(j, false), Identity());
    EXPECT_EQ(j.XControlledBy(0), 0);
    EXPECT_EQ(j.YControlledBy(17), 0);
}

TEST(JointLayers, PublishesThirtyTwoEntriesByName)
{
    TJointLayers j;
    j.SetL07yControlledBy(2);
    const QMetaObject *mo = j.metaObject();
    ASSERT_EQ(mo->propertyCount() - QObject::staticMetaObject.propertyCount(), 32);
    for (int n = 1; n <= 16; ++n) {
        for (const char axis : {'x', 'y'}) {
            char name[32];
            std::snprintf(name, sizeof name, "L%02d%cControlledBy", n, axis);
            const int i = mo->indexOfProperty(name);
            ASSERT_GE(i, 0) << name;
            const int expected = (n == 7 && axis == 'y') ? 2 : n;
            EXPECT_EQ(mo->property(i).read(&j).toInt(), expected) << name;
        }
    }
    // Written through the meta-object the checks apply as well.
    const QMetaProperty p = mo->property(mo->indexOfProperty("L03xControlledBy"));
    EXPECT_THROW(p.write(&j, 17), EKeslKurvoError);
}

TEST(JointLayers, JoinStoresTellsTheChartThenNotifies)
{
    TJointLayers j;
    JointRecorder rec;
    rec.Bind(j);
    j.SetL02xControlledBy(1);
    j.SetL16yControlledBy(9);
    EXPECT_EQ(j.XControlledBy(2), 1);
    EXPECT_EQ(j.YControlledBy(2), 2);
    EXPECT_EQ(j.YControlledBy(16), 9);
    EXPECT_EQ(j.XControlledBy(16), 16);
    EXPECT_EQ(rec.events, (std::vector<std::string> {"join 2x", "change", "join 16y", "change"}));
}

TEST(JointLayers, JoiningToItselfSeparatesSilently)
{
    TJointLayers j;
    j.SetL02xControlledBy(1);
    JointRecorder rec;
    rec.Bind(j);
    j.SetL02xControlledBy(2);
    EXPECT_EQ(j.XControlledBy(2), 2);
    // Layer 1 is free again: it may now follow another layer.
    j.SetL01xControlledBy(3);
    EXPECT_EQ(j.XControlledBy(1), 3);
    EXPECT_EQ(rec.events, (std::vector<std::string> {"join 1x", "change"}));
}

TEST(JointLayers, InvalidJoinsRaiseAndChangeNothing)
{
    struct Case
    {
        const char *what;
        std::function<void(TJointLayers &)> act;
        std::string message;
    };
    const Case cases[] = {
        {"destination 17", [](auto &j) { j.SetL03xControlledBy(17); }, "Destination layer 17 is out of range"},
        {"destination 0", [](auto &j) { j.SetL03yControlledBy(0); }, "Destination layer 0 is out of range"},
        {"destination -5", [](auto &j) { j.SetXControlledBy(4, -5); }, "Destination layer -5 is out of range"},
        {"destination min int", [](auto &j) { j.SetYControlledBy(4, std::numeric_limits<int>::min()); },
         "Destination layer -2147483648 is out of range"},
        {"destination follows", [](auto &j) { j.SetL03xControlledBy(2); }, "Destination layer 2 is already joined"},
        {"layer is followed", [](auto &j) { j.SetL01xControlledBy(3); },
         "Layer 1 is joined by other layers (2, 5, 16)"},
        {"layer is followed on y", [](auto &j) { j.SetL06yControlledBy(8); }, "Layer 6 is joined by other layers (7)"},
        {"no such layer", [](auto &j) { j.SetXControlledBy(0, 1); }, "Layer 0 is out of range"},
        {"no such layer high", [](auto &j) { j.SetYControlledBy(17, 1); }, "Layer 17 is out of range"},
    };
    for (const Case &c : cases) {
        TJointLayers j;
        j.SetL02xControlledBy(1);
        j.SetL05xControlledBy(1);
        j.SetL16xControlledBy(1);
        j.SetL07yControlledBy(6);
        const auto x = Table(j, true), y = Table(j, false);
        JointRecorder rec;
        rec.Bind(j);
        try {
            c.act(j);
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const EKeslKurvoError &e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.what;
        }
        EXPECT_EQ(Table(j, true), x) << c.what;
        EXPECT_EQ(Table(j, false), y) << c.what;
        EXPECT_TRUE(rec.events.empty()) << c.what;
    }
}

TEST(JointLayers, TheTwoAxesAreSeparateTables)
{
    TJointLayers j;
    j.SetL02xControlledBy(1);
    // On y, layer 2 is independent, so layer 3 may follow it there.
    j.SetL03yControlledBy(2);
    j.SetL01yControlledBy(4);
    EXPECT_EQ(j.YControlledBy(3), 2);
    EXPECT_EQ(j.YControlledBy(1), 4);
    EXPECT_THROW(j.SetL03xControlledBy(2), EKeslKurvoError);
}

TEST(JointLayers, AssignCopiesWithoutChecksAndAlwaysNotifies)
{
    TJointLayers src, dst;
    src.SetL02xControlledBy(1);
    src.SetL09yControlledBy(10);
    dst.SetL04xControlledBy(3);
    JointRecorder rec;
    rec.Bind(dst);
    dst.Assign(&src);
    EXPECT_EQ(Table(dst, true), Table(src, true));
    EXPECT_EQ(Table(dst, false), Table(src, false));
    EXPECT_EQ(rec.events, std::vector<std::string> {"change"});

    dst.Assign(&src); // the same tables again
    dst.Assign(&dst);
    EXPECT_EQ(rec.events, std::vector<std::string>(3, "change"));
}

TEST(JointLayers, AssignFromAnotherKindRaises)
{
    TJointLayers j;
    QObject other;
    j.SetL02xControlledBy(1);
    try {
        j.Assign(&other);
        FAIL() << "no exception";
    } catch (const EKeslError &e) {
        EXPECT_STREQ(e.what(), "Cannot assign a QObject to a TJointLayers");
    }
    EXPECT_THROW(j.Assign(nullptr), EKeslError);
    EXPECT_EQ(j.XControlledBy(2), 1);
}

// ---------------------------------------------------------------------------
// Background image settings

struct Recorder
{
    int count = 0;
    QObject *last = nullptr;
    TNotifyEvent Handler()
    {
        return [this](QObject *s) {
            ++count;
            last = s;
        };
    }
};

TEST(BakGndImg, Defaults)
{
    TBakGndImg b;
    EXPECT_TRUE(b.Name().isEmpty());
    EXPECT_FALSE(b.IncludePath());
    EXPECT_EQ(b.FillMode(), bfStretch);
    EXPECT_EQ(b.AreaMode(), bamNone);
    EXPECT_EQ(b.AreaColor(), 14540253);
    EXPECT_EQ(b.AreaLeft(), -1);
    EXPECT_EQ(b.AreaRight(), 1);
    EXPECT_EQ(b.AreaTop(), 1);
    EXPECT_EQ(b.AreaBottom(), -1);
}

TEST(BakGndImg, NameKeepsTheDirectoryOnlyWithIncludePath)
{
    struct Case
    {
        bool includePath;
        QString in, stored;
    };
    const Case cases[] = {
        {false, QStringLiteral("/usr/share/pics/sky.bmp"), QStringLiteral("sky.bmp")},
        {false, QStringLiteral("relative/dir/sky.bmp"), QStringLiteral("sky.bmp")},
        {false, QStringLiteral("sky.bmp"), QStringLiteral("sky.bmp")},
        {false, QStringLiteral("/pics/"), QString()},
        {false, QString(), QString()},
        {true, QStringLiteral("/usr/share/pics/sky.bmp"), QStringLiteral("/usr/share/pics/sky.bmp")},
        {true, QStringLiteral("relative/sky.bmp"), QStringLiteral("relative/sky.bmp")},
    };
    for (const Case &c : cases) {
        TBakGndImg b;
        b.SetIncludePath(c.includePath);
        b.SetName(c.in);
        EXPECT_EQ(b.Name(), c.stored) << c.in.toStdString();
    }
}

TEST(BakGndImg, SwitchingIncludePathOffDropsTheDirectory)
{
    TBakGndImg b;
    b.SetIncludePath(true);
    b.SetName(QStringLiteral("/tmp/x/back.bmp"));
    Recorder rec;
    b.OnChange = rec.Handler();
    b.SetIncludePath(false);
    EXPECT_EQ(b.Name(), QStringLiteral("back.bmp"));
    EXPECT_EQ(rec.count, 1);
    b.SetIncludePath(true); // switching on brings nothing back
    EXPECT_EQ(b.Name(), QStringLiteral("back.bmp"));
}

TEST(BakGndImg, EverySetterNotifies)
{
    const char *A = "always";
    // clang-format off
    const std::initializer_list<TRuleRow> rows = {
        {"Name", A, "/d/a.bmp"}, {"IncludePath", A, true}, {"FillMode", A, V(bfTile), Beyond(bfTile)},
        {"AreaMode", A, V(bamRect), Beyond(bamRect)}, {"AreaColor", A, clRed}, {"AreaLeft", A, -2},
        {"AreaRight", A, std::nan("")}, {"AreaTop", A, 5}, {"AreaBottom", A, -5},
    };
    // clang-format on
    ExpectRules(rows, [](int &count) {
        auto b = std::make_unique<TBakGndImg>();
        b->OnChange = [&count, p = b.get()](QObject *s) { count += s == p; };
        return b;
    });
}

} // namespace
