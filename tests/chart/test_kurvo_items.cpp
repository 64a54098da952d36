// The item store: growth, drawing state captured by items, painting
// suppression and data sharing.
#include "Kesl_kurvo.h"

#include "MessageBox.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// Collects information messages instead of showing a modal box.
class MessageCatcher
{
public:
    MessageCatcher()
    {
        m_prev = SetMessageBoxHandler([this](TMsgDlgType t, const QString &, const QString &text) {
            EXPECT_EQ(t, mtInformation);
            texts << text;
        });
    }
    ~MessageCatcher() { SetMessageBoxHandler(m_prev); }
    QStringList texts;

private:
    TMessageBoxHandler m_prev;
};

TEST(KurvoItems, GrowsByAllocSizeKeepsCountAndClearsToNothing)
{
    TKurvo k;
    EXPECT_EQ(k.AllocatedItems(), 0);
    for (int i = 0; i < 1001; ++i)
        k.AddLine(i, 0, i, 1);
    EXPECT_EQ(k.AllocatedItems(), 2000);
    k.SetAllocSize(7);
    for (int i = 0; i < 1000; ++i)
        k.AddMark(0, 0, 1);
    EXPECT_EQ(k.ItemCount(), 2001);
    EXPECT_EQ(k.AllocatedItems(), 2007);
    k.ClearItems();
    EXPECT_EQ(std::pair(k.ItemCount(), k.AllocatedItems()), std::pair(0, 0));
    k.AddMark(0, 0, 1);
    EXPECT_EQ(k.AllocatedItems(), 7);
}

TEST(KurvoItems, RejectedSettingsKeepTheirOldValues)
{
    TKurvo k;
    // value, then AllocSize and ClassDefault after setting both to it
    const int cases[][3] = {{0, 1000, 0},    {1000001, 1000, 0}, {-5, 1000, 0},  {1, 1, 1},
                            {254, 254, 254}, {255, 255, 254},    {-1, 255, 254}, {1000000, 1000000, 254}};
    for (const auto &c : cases) {
        k.SetAllocSize(c[0]);
        k.SetClassDefault(c[0]);
        EXPECT_EQ(std::pair(k.AllocSize(), k.ClassDefault()), std::pair(c[1], c[2])) << c[0];
    }
    k.SetCurrentLayer(17);
    EXPECT_EQ(k.CurrentLayer(), 1);
}

TEST(KurvoItems, ItemsCaptureTheDrawingStateAtRecording)
{
    TKurvo k;
    k.SetDataColor(clRed);
    k.SetFillColor(clBlue);
    k.SetLineWidth(3);
    k.SetPenStyle(psDash);
    k.SetClassDefault(9);
    k.SetCurrentLayer(4);
    k.AddMark(1, 2, 7);
    k.AddLine(1, 2, 3, 4);
    k.SetDataColor(clGreen);
    k.AddMark(5, 6, 34);
    k.SetTextAlignment(taRightJustify);
    k.AddText(0, 0, QStringLiteral("σ² ≈ 1, μ = 0, 𝜎 ≠ s")); // 𝜎 is two UTF-16 units

    const auto look = [&](int i) {
        const TChartItem it = k.Item(i);
        return std::tuple(int(it.Kind), it.Color, it.FillColor, int(it.Style), it.LineWidth, int(it.PenStyle),
                          int(it.ItemClass), it.Layer);
    };
    // Marks leave the fill colour untouched; recorded colours never change.
    EXPECT_EQ(look(0), std::tuple(int(ikMark), clRed, TColor(0), 7, 3, int(psDash), 9, 4));
    EXPECT_EQ(look(1), std::tuple(int(ikLine), clRed, clBlue, 0, 3, int(psDash), 9, 4));
    EXPECT_EQ(std::get<1>(look(2)), clGreen);
    const TChartItem l = k.Item(1), t = k.Item(3);
    EXPECT_EQ((std::vector<double> {l.X1, l.Y1, l.X2, l.Y2}), (std::vector<double> {1, 2, 3, 4}));
    EXPECT_EQ(t.TextString(), QStringLiteral("σ² ≈ 1, μ = 0, 𝜎 ")); // 17 characters, 18 UTF-16 units
    EXPECT_EQ(t.Style, taRightJustify);
}

TEST(KurvoItems, SuppressedTwiceThenReleasedOncePaintsOnce)
{
    TKurvo k;
    k.SetPaintSuppressed(false);
    const int before = k.PaintCount();
    k.SetPaintSuppressed(true);
    k.SetPaintSuppressed(true);
    for (int i = 0; i < 100; ++i)
        k.AddLine(0, 0, 1, 1);
    k.SetDataColor(clRed);
    k.ClearItems();
    EXPECT_EQ(k.PaintCount(), before);
    k.SetPaintSuppressed(false);
    EXPECT_EQ(k.PaintCount(), before + 1);
    k.SetPaintSuppressed(false);
    EXPECT_EQ(k.PaintCount(), before + 1);
}

TEST(KurvoSharing, FourSharersSeeEveryChangeAndAFifthIsRefused)
{
    MessageCatcher msg;
    TKurvo owner;
    std::vector<std::unique_ptr<TKurvo>> sharers;
    for (int i = 0; i < 4; ++i) {
        sharers.push_back(std::make_unique<TKurvo>());
        sharers.back()->SetUseDataOf(&owner);
    }
    EXPECT_TRUE(msg.texts.isEmpty());
    EXPECT_EQ(owner.SharerCount(), 4);
    TKurvo fifth;
    fifth.AddLine(0, 0, 1, 1);
    fifth.SetUseDataOf(sharers[2].get()); // through a sharer: the owner counts
    ASSERT_EQ(msg.texts, QStringList {QStringLiteral("Kurvo: Max. number of data shares exceeded")});
    EXPECT_EQ(std::pair(fifth.UseDataOf(), fifth.ItemCount()), (std::pair<TCustomKurvo *, int>(nullptr, 1)));

    sharers[1]->AddLine(1, 2, 3, 4);
    EXPECT_EQ(owner.ItemCount(), 1);
    for (const auto &s : sharers)
        EXPECT_EQ(s->ItemCount(), 1);
    owner.AddMark(5, 5, 1);
    EXPECT_EQ(std::pair(sharers[3]->ItemCount(), int(sharers[3]->Item(1).Kind)), std::pair(2, int(ikMark)));
    sharers[0]->ClearItems();
    EXPECT_EQ(owner.ItemCount(), 0);
}

TEST(KurvoSharing, RefusalsShowTheirMessagesAndChangeNothing)
{
    MessageCatcher msg;
    TKurvo a, b, c;
    b.SetUseDataOf(&a);
    a.SetUseDataOf(&a);
    a.SetUseDataOf(&c); // a has a sharer of its own
    b.SetUseDataOf(&b);
    EXPECT_EQ(msg.texts,
              (QStringList {QStringLiteral("Kurvo: Cannot share data with myself"),
                            QStringLiteral("Kurvo: Cannot use foreign data. Other Kurvos are using my own data."),
                            QStringLiteral("Kurvo: Cannot share data with myself")}));
    EXPECT_EQ(a.UseDataOf(), nullptr);
    EXPECT_EQ(b.UseDataOf(), &a);
    EXPECT_EQ(a.SharerCount(), 1);
}

// Another member of the own group: leave and join again (a repaint), refused
// when the group is full.
TEST(KurvoSharing, PointingAtAnotherMemberLeavesAndJoinsAgain)
{
    for (const int members : {2, TKurvo::kMaxShares}) {
        MessageCatcher msg;
        TKurvo owner;
        std::vector<std::unique_ptr<TKurvo>> s(static_cast<std::size_t>(members));
        for (auto &c : s)
            (c = std::make_unique<TKurvo>())->SetUseDataOf(&owner);
        s[0]->SetPaintSuppressed(false);
        const int paints = s[0]->PaintCount();
        s[0]->SetUseDataOf(s[1].get());
        EXPECT_EQ(msg.texts.size(), members == TKurvo::kMaxShares ? 1 : 0) << members;
        EXPECT_EQ(s[0]->PaintCount() - paints + msg.texts.size(), 1) << members;
        EXPECT_EQ(owner.SharerCount(), members) << members;
    }
}

TEST(KurvoSharing, LeavingKeepsTheItemsAsAnOwnList)
{
    MessageCatcher msg;
    TKurvo a, b, c;
    a.AddLine(0, 0, 1, 1);
    b.SetUseDataOf(&a);
    c.SetUseDataOf(&a);
    b.SetUseDataOf(nullptr);
    EXPECT_EQ(a.SharerCount(), 1);
    // The former sharer's additions stay its own, the group's stay the group's.
    b.AddMark(1, 1, 1);
    a.AddMark(2, 2, 2);
    EXPECT_EQ((std::vector<int> {b.ItemCount(), b.Item(1).Style, a.ItemCount(), a.Item(1).Style, c.Item(1).Style}),
              (std::vector<int> {2, 1, 2, 2, 2}));
    EXPECT_TRUE(msg.texts.isEmpty());
}

TEST(KurvoSharing, DestroyedOwnerLeavesSharersWithTheirItems)
{
    TKurvo b;
    {
        TKurvo a;
        a.AddLine(0, 0, 1, 1);
        b.SetUseDataOf(&a);
    }
    EXPECT_EQ(b.UseDataOf(), nullptr);
    b.AddLine(0, 0, 2, 2);
    EXPECT_EQ(b.ItemCount(), 2); // the owner's item kept, the new one added
}

} // namespace

// Whatever is stored inside, a record comes back as it went in, also between
// records that carry text, edges, sizes or a layer beyond a byte.
TEST(KurvoItems, AddItemRecordsComeBackUnchanged)
{
    auto record = [](std::uint8_t kind, int layer, int size, const char *text) {
        TChartItem it {};
        it.Kind = kind;
        it.Layer = layer;
        it.X1 = 1.5;
        it.Y2 = -2e300;
        it.Color = clRed;
        it.FillColor = clBlue;
        it.DarkEdgeColor = size ? clGray : 0;
        it.Size = size;
        it.Depth = -size;
        it.LineWidth = 255;
        it.Style = 200;
        std::memcpy(it.Text, text, std::strlen(text)); // short literals only
        return it;
    };
    const std::vector<TChartItem> in {record(ikMark, 3, 0, ""),    record(ikText, 2, 12, "label"),
                                      record(ikLine, 300, 0, ""),  record(ikDrawTo, -1, 0, ""),
                                      record(ikBar3D, 16, 45, ""), record(ikMark, 255, 0, "")};
    TKurvo k;
    for (const TChartItem &it : in)
        k.AddItem(it);
    auto fields = [](const TChartItem &it) {
        return std::tuple(it.Kind, it.Layer, it.X1, it.Y2, it.Color, it.FillColor, it.DarkEdgeColor, it.Size, it.Depth,
                          it.LineWidth, it.Style, it.TextString());
    };
    ASSERT_EQ(k.ItemCount(), int(in.size()));
    for (std::size_t i = 0; i < in.size(); ++i)
        EXPECT_EQ(fields(k.Item(int(i))), fields(in[i])) << i;
    EXPECT_EQ(k.Item(int(in.size())).Kind, ikNone);
}
