// The item store: recording, drawing state, clearing, painting suppression
// and the sharing of one item list by several charts.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_guard_p.h"
#include "Kesl_kurvo_p.h"
#include "Kesl_kurvo_store_p.h"

#include "MessageBox.h"

#include <algorithm>
#include <cstring>

int TCustomKurvo::ItemCount() const
{
    return d->store->Count();
}

int TCustomKurvo::AllocatedItems() const
{
    return d->store->Allocated();
}

TChartItem TCustomKurvo::Item(int index) const
{
    return d->store->Get(index);
}

void TCustomKurvo::SetAllocSize(int v)
{
    if (v >= 1 && v <= 1000000)
        d->allocSize = v;
}

void TCustomKurvo::SetCurrentLayer(int layer)
{
    if (KurvoLayer::Valid(layer))
        d->currentLayer = layer;
}

void TCustomKurvo::SetClassDefault(int c)
{
    if (c >= 0 && c <= 254)
        d->classDefault = std::uint8_t(c);
}

void TCustomKurvo::SetTextFontStyle(TFontStyles s)
{
    d->Set<TStoreAlways>(d->textFontStyle, s);
}

void TCustomKurvo::SetTextBkStyle(TTextBkg s)
{
    d->SetEnum(d->textBkStyle, s, tbSolid);
}

void TCustomKurvo::SetTextBkColor(TColor c)
{
    d->Set<TStoreAlways>(d->textBkColor, c);
}

void TCustomKurvo::SetTextAlignment(TAlignment a)
{
    d->SetEnum(d->textAlignment, a, taCenter);
}

bool TCustomKurvo::ClassVisible(int itemClass) const
{
    return itemClass >= 0 && itemClass <= 255 && d->classVisible[std::size_t(itemClass)];
}

void TCustomKurvo::SetClassVisible(int itemClass, bool v)
{
    if (itemClass >= 0 && itemClass <= 255)
        d->classVisible[std::size_t(itemClass)] = v;
}

bool TCustomKurvo::LayerVisible(int layer) const
{
    return KurvoLayer::Valid(layer) && d->layerVisible[std::size_t(layer - 1)];
}

void TCustomKurvo::SetLayerVisible(int layer, bool v)
{
    if (KurvoLayer::Valid(layer))
        d->layerVisible[std::size_t(layer - 1)] = v;
}

void TCustomKurvo::SetPaintSuppressed(bool v)
{
    if (v == d->paintSuppressed)
        return;
    d->paintSuppressed = v;
    if (!v)
        Paint();
}

TChartItem TCustomKurvo::NewItem(std::uint8_t kind) const
{
    TChartItem it {};
    it.Kind = kind;
    it.Layer = d->currentLayer;
    it.ItemClass = d->classDefault;
    it.Color = d->dataColor;
    it.PenStyle = std::uint8_t(d->penStyle);
    it.LineWidth = d->lineWidth;
    return it;
}

// The one step every recording operation ends with.
void TCustomKurvo::Commit(const TChartItem &item)
{
    d->store->Commit(item, d->allocSize);
    SyncSharedData();
}

namespace {

// The first TChartItem::kMaxChars characters of text, whole, into the record.
void StoreText(TChartItem &it, const QString &text)
{
    QByteArray b;
    int chars = 0;
    for (qsizetype i = 0; i < text.size() && chars < TChartItem::kMaxChars; ++chars) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        b += text.mid(i, n).toUtf8();
        i += n;
    }
    std::memset(it.Text, 0, sizeof(it.Text));
    std::memcpy(it.Text, b.constData(), std::size_t(b.size()));
}

} // namespace

void TCustomKurvo::AddItem(const TChartItem &item)
{
    TChartItem it = item;
    // The bytes as UTF-8, cut after the last whole character that fits.
    StoreText(it, QString::fromUtf8(item.Text, qstrnlen(item.Text, sizeof(item.Text))));
    it.LineWidth = std::clamp(it.LineWidth, 0, 255); // as LineWidth itself allows
    Commit(it);
}

void TCustomKurvo::AddMark(double X, double Y, std::uint8_t Shape)
{
    TChartItem it = NewItem(ikMark);
    it.X1 = X;
    it.Y1 = Y;
    it.Style = Shape;
    Commit(it);
}

void TCustomKurvo::AddLine(double X1, double Y1, double X2, double Y2)
{
    TChartItem it = NewItem(ikLine);
    it.X1 = X1;
    it.Y1 = Y1;
    it.X2 = X2;
    it.Y2 = Y2;
    it.FillColor = d->fillColor;
    Commit(it);
}

void TCustomKurvo::MoveTo(double X, double Y)
{
    TChartItem it = NewItem(ikMoveTo);
    it.X1 = X;
    it.Y1 = Y;
    Commit(it);
}

void TCustomKurvo::DrawTo(double X, double Y)
{
    TChartItem it = NewItem(ikDrawTo);
    it.X1 = X;
    it.Y1 = Y;
    it.FillColor = d->fillColor;
    Commit(it);
}

void TCustomKurvo::AddRect(double X1, double Y1, double X2, double Y2, bool Transparent)
{
    TChartItem it = NewItem(ikRectangle);
    it.X1 = X1;
    it.Y1 = Y1;
    it.X2 = X2;
    it.Y2 = Y2;
    it.FillColor = d->fillColor;
    it.Transparent = Transparent;
    Commit(it);
}

void TCustomKurvo::AddBox(double X1, double Y1, double X2, double Y2)
{
    TChartItem it = NewItem(ikBox);
    it.X1 = X1;
    it.Y1 = Y1;
    it.X2 = X2;
    it.Y2 = Y2;
    it.FillColor = d->fillColor;
    it.DarkEdgeColor = d->darkEdge;
    it.LightEdgeColor = d->lightEdge;
    it.FrameStyle = std::uint8_t(d->boxFrame);
    Commit(it);
}

void TCustomKurvo::AddBar3D(double X1, double Y1, double X2, double Y2, int Angle, int Depth)
{
    TChartItem it = NewItem(ikBar3D);
    it.X1 = X1;
    it.Y1 = Y1;
    it.X2 = X2;
    it.Y2 = Y2;
    it.FillColor = d->fillColor;
    it.Size = Angle;
    it.Depth = Depth;
    Commit(it);
}

void TCustomKurvo::AddText(double X, double Y, const QString &Text)
{
    TChartItem it = NewItem(ikText);
    it.X1 = X;
    it.Y1 = Y;
    StoreText(it, Text);
    it.Size = d->textSize;
    it.Style = std::uint8_t(d->textAlignment);
    Commit(it);
}

void TCustomKurvo::AddTextOffset(double X, double Y, int Dx, int Dy, const QString &Text)
{
    TChartItem it = NewItem(ikTextOffset);
    it.X1 = X;
    it.Y1 = Y;
    it.X2 = Dx;
    it.Y2 = Dy;
    StoreText(it, Text);
    it.Size = d->textSize;
    it.Style = std::uint8_t(d->textAlignment);
    Commit(it);
}

void TCustomKurvo::AddEllipse(double X, double Y, double HalfX, double HalfY, bool Transparent)
{
    TChartItem it = NewItem(ikEllipse);
    it.X1 = X;
    it.Y1 = Y;
    it.X2 = HalfX;
    it.Y2 = HalfY;
    it.FillColor = d->fillColor;
    it.Transparent = Transparent;
    Commit(it);
}

void TCustomKurvo::MoveRel(int Dx, int Dy)
{
    TChartItem it = NewItem(ikMoveRel);
    it.X1 = Dx;
    it.Y1 = Dy;
    Commit(it);
}

void TCustomKurvo::DrawRel(int Dx, int Dy)
{
    TChartItem it = NewItem(ikDrawRel);
    it.X1 = Dx;
    it.Y1 = Dy;
    it.FillColor = d->fillColor;
    Commit(it);
}

void TCustomKurvo::AddArrow(double X1, double Y1, double X2, double Y2, int HeadLength, bool OpenHead)
{
    TChartItem it = NewItem(ikArrow);
    it.X1 = X1;
    it.Y1 = Y1;
    it.X2 = X2;
    it.Y2 = Y2;
    it.FillColor = d->fillColor;
    it.Size = HeadLength;
    it.Transparent = OpenHead;
    Commit(it);
}

void TCustomKurvo::AddPixelBox(double X, double Y, int HalfWidth, int HalfHeight, bool Transparent)
{
    TChartItem it = NewItem(ikPixelBox);
    it.X1 = X;
    it.Y1 = Y;
    it.X2 = HalfWidth;
    it.Y2 = HalfHeight;
    it.FillColor = d->fillColor;
    it.Transparent = Transparent;
    Commit(it);
}

void TCustomKurvo::ClearItems()
{
    // Not shown on screen: a background image dropped here must not repaint.
    {
        const TFlagScope quiet(d->autoRedraw, false);
        RenderBackground(d->dataBmp.Canvas(), 0, 0);
    }
    // A fresh store would detach this chart from its group; clearing in place
    // shows the empty list to every member, as any other change does.
    d->store->Clear();
    SyncSharedData();
}

// All members of a group hold the one store, so every change is already seen
// by all of them; this re-establishes that after a member's store was replaced.
void TCustomKurvo::SyncSharedData()
{
    TCustomKurvo *owner = d->owner ? d->owner : this;
    if (d->owner)
        owner->d->store = d->store;
    for (int i = 0; i < owner->d->sharerCount; ++i)
        owner->d->sharers[std::size_t(i)]->d->store = owner->d->store;
}

void TCustomKurvo::LeaveGroup()
{
    if (!d->owner)
        return;
    TCustomKurvo *o = d->owner;
    auto &list = o->d->sharers;
    const auto end = list.begin() + o->d->sharerCount;
    const auto pos = std::find(list.begin(), end, this);
    if (pos != end) {
        std::move(pos + 1, end, pos);
        --o->d->sharerCount;
        list[std::size_t(o->d->sharerCount)] = nullptr;
    }
    d->owner = nullptr;
    // The chart keeps what it displayed, as a list of its own: later additions
    // must not write into the group's list.
    d->store = std::make_shared<TKurvoItemStore>(*d->store);
}

void TCustomKurvo::SetUseDataOf(TCustomKurvo *v)
{
    if (v == this) {
        ShowMessageBox(mtInformation, QStringLiteral("Kurvo: Cannot share data with myself"), this);
        return;
    }
    if (d->sharerCount > 0) {
        ShowMessageBox(mtInformation,
                       QStringLiteral("Kurvo: Cannot use foreign data. Other Kurvos are using my own data."), this);
        return;
    }
    if (v == d->owner)
        return;
    if (!v) {
        LeaveGroup();
        Changed();
        return;
    }
    // Another member of this chart's own group also means leaving and joining
    // again, so a full group refuses it.
    TCustomKurvo *owner = v->d->owner ? v->d->owner : v;
    if (owner->d->sharerCount >= kMaxShares) {
        ShowMessageBox(mtInformation, QStringLiteral("Kurvo: Max. number of data shares exceeded"), this);
        return;
    }
    LeaveGroup();
    d->store = owner->d->store;
    owner->d->sharers[std::size_t(owner->d->sharerCount++)] = this;
    d->owner = owner;
    Changed();
}
