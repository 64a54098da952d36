// Sizing, forgiving element access, events, errors and MeanVar of the vectors.
#include "Kesl_vector.h"

#include <gtest/gtest.h>

#include <QVariant>

#include <climits>
#include <cmath>
#include <memory>

namespace {

template<typename V> class VectorTest : public ::testing::Test
{
protected:
    using Value = decltype(std::declval<V>().Elem(1));

    VectorTest() : vec(std::make_unique<V>(nullptr, QStringLiteral("Vec1")))
    {
        vec->OnChange = [this](QObject *sender) {
            EXPECT_EQ(sender, vec.get());
            ++events;
        };
    }

    std::unique_ptr<V> vec;
    int events = 0;
};

using VectorTypes = ::testing::Types<TVector, TIntVector>;
TYPED_TEST_SUITE(VectorTest, VectorTypes);

TYPED_TEST(VectorTest, StartsWithOneZeroElement)
{
    EXPECT_EQ(this->vec->NrOfElem(), 1);
    EXPECT_EQ(this->vec->Elem(1), 0);
    EXPECT_EQ(this->vec->objectName(), QStringLiteral("Vec1"));

    QObject owner;
    auto *owned = new TypeParam(&owner);
    EXPECT_EQ(owned->parent(), &owner);
    EXPECT_EQ(owned->NrOfElem(), 1);
}

TYPED_TEST(VectorTest, ResizeTable)
{
    struct Case
    {
        int request;
        bool result;
        int size;
        int events;
    };
    const Case cases[] = {
        {1, true, 1, 0}, // the same size changes nothing
        {0, false, 1, 0},  {-4, false, 1, 0}, {INT_MIN, false, 1, 0},    {10, true, 10, 1},
        {10, true, 10, 0}, {3, true, 3, 1},   {100000, true, 100000, 1},
    };
    for (const Case &c : cases) {
        this->events = 0;
        EXPECT_EQ(this->vec->Resize(c.request), c.result) << c.request;
        EXPECT_EQ(this->vec->NrOfElem(), c.size) << c.request;
        EXPECT_EQ(this->events, c.events) << c.request;
    }
}

TYPED_TEST(VectorTest, ResizeKeepsValuesAndZeroesNewOnes)
{
    auto &v = *this->vec;
    v.Resize(4);
    for (int i = 1; i <= 4; ++i)
        v.SetElem(i, static_cast<typename TestFixture::Value>(i * 10));
    v.Resize(2);
    v.Resize(6);
    const int expected[] = {10, 20, 0, 0, 0, 0};
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(v.Elem(i), expected[i - 1]) << i;
}

TYPED_TEST(VectorTest, NrOfElemPropertyResizesAndIgnoresNonPositive)
{
    auto &v = *this->vec;
    EXPECT_TRUE(v.setProperty("NrOfElem", 7));
    EXPECT_EQ(v.NrOfElem(), 7);
    EXPECT_EQ(v.property("NrOfElem").toInt(), 7);
    EXPECT_EQ(this->events, 1);
    for (int bad : {0, -1, INT_MIN, 7}) {
        v.SetNrOfElem(bad);
        EXPECT_EQ(v.NrOfElem(), 7) << bad;
    }
    EXPECT_EQ(this->events, 1);

    EXPECT_TRUE(v.setProperty("Tag", 42));
    EXPECT_EQ(v.Tag(), 42);
    EXPECT_EQ(v.property("Tag").toInt(), 42);
}

TYPED_TEST(VectorTest, OutOfRangeAccessIsSilent)
{
    auto &v = *this->vec;
    v.Resize(5);
    for (int i = 1; i <= 5; ++i)
        v.SetElem(i, static_cast<typename TestFixture::Value>(i));
    this->events = 0;
    for (int index : {0, 6, -1, INT_MIN, INT_MAX, INT_MIN + 1}) {
        EXPECT_EQ(v.Elem(index), 0) << index;
        v.SetElem(index, static_cast<typename TestFixture::Value>(99));
    }
    EXPECT_EQ(this->events, 0);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(v.Elem(i), i) << "a write outside changed element " << i;

    v.SetElem(5, static_cast<typename TestFixture::Value>(-3));
    EXPECT_EQ(v.Elem(5), -3);
    EXPECT_EQ(this->events, 1);
}

TYPED_TEST(VectorTest, ClearZeroesAllWithOneEvent)
{
    auto &v = *this->vec;
    v.Resize(50);
    for (int i = 1; i <= 50; ++i)
        v.SetElem(i, static_cast<typename TestFixture::Value>(i));
    this->events = 0;
    v.Clear();
    EXPECT_EQ(this->events, 1);
    for (int i = 1; i <= 50; ++i)
        ASSERT_EQ(v.Elem(i), 0) << i;
    EXPECT_EQ(v.NrOfElem(), 50);
}

TYPED_TEST(VectorTest, FailedResizeLeavesVectorIntact)
{
    auto &v = *this->vec;
    v.Resize(3);
    v.SetElem(2, static_cast<typename TestFixture::Value>(8));
    this->events = 0;
    for (int request : {TypeParam::MaxNrOfElem + 1, INT_MAX}) {
        try {
            v.Resize(request);
            ADD_FAILURE() << "no error for " << request;
        } catch (const EKeslVectorError &e) {
            EXPECT_STREQ(e.what(), "Component \"Vec1\": not enough memory");
        }
    }
    EXPECT_THROW(v.SetNrOfElem(INT_MAX), EKeslError) << "the property setter raises too";
    EXPECT_EQ(v.NrOfElem(), 3);
    EXPECT_EQ(v.Elem(2), 8);
    EXPECT_EQ(v.Elem(3), 0);
    EXPECT_EQ(this->events, 0);
}

TEST(VectorErrorText, NamesComponentAndWhen)
{
    EXPECT_EQ(TCustomVector::OutOfMemoryMessage(QStringLiteral("Vec1"), true),
              "Component \"Vec1\": not enough memory on heap");
    EXPECT_EQ(TCustomVector::OutOfMemoryMessage(QStringLiteral("Histo"), false),
              "Component \"Histo\": not enough memory");
    EXPECT_EQ(TCustomVector::OutOfMemoryMessage(QString(), false), "Component \"\": not enough memory");
}

// ---- MeanVar ---------------------------------------------------------------

class MeanVarTest : public ::testing::Test
{
protected:
    void Fill(std::initializer_list<double> values)
    {
        vec.Resize(static_cast<int>(values.size()));
        int i = 1;
        for (double x : values)
            vec.SetElem(i++, x);
    }

    TVector vec;
};

TEST_F(MeanVarTest, ClampsSwapsAndAppliesThreeElementRule)
{
    Fill({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    struct Case
    {
        int first;
        int last;
        double mean;
        double variance;
    };
    const Case cases[] = {
        {5, 2, 3.5, 5.0 / 3.0}, // elements 2 … 5
        {2, 5, 3.5, 5.0 / 3.0},
        {0, 20, 5.5, 55.0 / 6.0}, // elements 1 … 10
        {20, 0, 5.5, 55.0 / 6.0},
        {-5, -1, 1.0, 1.0}, // both clamp to 1
        {11, 40, 10.0, 1.0}, // both clamp to 10
        {INT_MIN, INT_MAX, 5.5, 55.0 / 6.0},
        {1, 2, 1.5, 1.0}, // two elements: variance stays 1.0
        {7, 7, 7.0, 1.0},
        {1, 3, 2.0, 1.0}, // three elements: the real variance, which is 1
        {8, 10, 9.0, 1.0},
    };
    for (const Case &c : cases) {
        double mean = -99, variance = -99;
        vec.MeanVar(c.first, c.last, mean, variance);
        EXPECT_DOUBLE_EQ(mean, c.mean) << c.first << ".." << c.last;
        EXPECT_DOUBLE_EQ(variance, c.variance) << c.first << ".." << c.last;
    }
}

TEST_F(MeanVarTest, NonFiniteValuesPropagateWithoutFault)
{
    Fill({1, std::nan(""), 3});
    double mean = 0, variance = 0;
    vec.MeanVar(1, 3, mean, variance);
    EXPECT_TRUE(std::isnan(mean));
    EXPECT_TRUE(std::isnan(variance));

    Fill({1, 2, HUGE_VAL});
    vec.MeanVar(1, 2, mean, variance);
    EXPECT_EQ(mean, 1.5) << "elements outside the range are not read";
    vec.MeanVar(1, 3, mean, variance);
    EXPECT_EQ(mean, HUGE_VAL);
}

} // namespace
