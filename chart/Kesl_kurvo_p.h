// The chart's state, held behind one pointer so that the public header shows
// only what a caller uses.
#pragma once

#include "Kesl_kurvo.h"
#include "Kesl_kurvo_layers_p.h"
#include "Kesl_kurvo_layout_p.h"
#include "Kesl_kurvo_site_p.h"
#include "Kesl_kurvo_store_p.h"
#include "Kesl_setting.h"

#include <utility>

struct TCustomKurvo::PrivateData
{
    explicit PrivateData(TCustomKurvo &chart) : q(chart) { }

    // Stores a setting by its rule and repaints when the rule says it changed.
    template<class Rule, class T, class V> void Set(T &field, V &&v)
    {
        if (Rule::Store(field, std::forward<V>(v)))
            q.Changed();
    }
    // An enumeration setting: a value beyond `last` is ignored, as everywhere.
    template<class E> void SetEnum(E &field, E v, E last)
    {
        if (TStoreAlways::StoreEnum(field, v, last))
            q.Changed();
    }

    TCustomKurvo &q;
    std::shared_ptr<TKurvoItemStore> store = std::make_shared<TKurvoItemStore>();
    int allocSize = 1000;
    TColor dataColor = clBlack;
    TColor fillColor = clSilver;
    TColor darkEdge = clGray;
    TColor lightEdge = clWhite;
    TFrameStyle boxFrame = fsLowered;
    TPenStyle penStyle = psSolid;
    std::uint8_t lineWidth = 1;
    int currentLayer = 1;
    std::uint8_t classDefault = 0;
    int textSize = 10;
    TFontStyles textFontStyle = 0;
    TTextBkg textBkStyle = tbClear;
    TColor textBkColor = clWhite;
    TAlignment textAlignment = taCenter;
    std::array<bool, 256> classVisible;
    std::array<bool, kLayers> layerVisible;
    bool autoRedraw = true;
    bool paintSuppressed = true;
    bool shownOnce = false;

    TCustomKurvo *owner = nullptr;
    std::array<TCustomKurvo *, kMaxShares> sharers {};
    int sharerCount = 0;

    std::array<TScalePropsHoriz *, kLayers> propsX {};
    std::array<TScalePropsVert *, kLayers> propsY {};
    std::array<TScale *, kLayers> scaleX {};
    std::array<TScale *, kLayers> scaleY {};
    std::unique_ptr<TKurvoLayers> layers = std::make_unique<TKurvoLayers>();
    TJointLayers *joint = nullptr;
    bool inPropsChange = false;

    std::unique_ptr<TKurvoLayout> layout = std::make_unique<TKurvoLayout>();
    TColor windColor = clBtnFace;
    TColor chartColor = clWhite;
    TColor chartFrameColor = clBlack;
    TShadowStyle shadowStyle = ssFlying;
    TColor shadowColor = clGrayText;
    TColor shadowBakColor = clBtnFace;
    QString caption;
    int captionPosX = 0, captionPosY = -15;
    TAlignment captionAlignment = taRightJustify;
    TCaptionAnchorHoriz captionAnchorH = cahChartRight;
    TCaptionAnchorVert captionAnchorV = cavChartTop;
    GridStyleType gridStyle = gsNone;
    TColor gridColor = clBlack;
    double gridDx = 0, gridDy = 0;
    TFont font;
    TBakGndImg *bkImg = nullptr;
    std::array<TTextLabel *, kTextLabels> labels {};

    TBitmap ctrlBmp;
    TBitmap dataBmp;
    TBitmap imgBmp;
    int paintCount = 0;
    std::unique_ptr<TSite> site;
    std::unique_ptr<TKurvoMouse> mouse;
    bool composed = false;
    QSize laidOutSize; // the size the scales and ranges were last laid out for
};
