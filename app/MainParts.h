// What the main window's helpers (its menu, keys, descriptions, printing and
// start options) reach of it: its controls, its model and its texts, without
// the window's class.
#pragma once

#include "TextLookup.h"

class QFrame;
class QScrollBar;
class QToolButton;
class QWidget;
class TDigrel;
class THueband;
class TKurvo;
class TMemo;
class TRadioGroup;
class TSimulation;

struct TMainParts
{
    // The layout's outer sizes include a window frame of this many pixels;
    // Qt sizes a top-level widget by its client area.
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 33;
    static constexpr int kDesignLeft = 322;
    static constexpr int kDesignTop = 231;
    static constexpr int kDesignWidth = 760;
    static constexpr int kDesignHeight = 417;
    static constexpr int kMinWidth = 760;
    static constexpr int kMinHeight = 400;
    static constexpr int kPanelHeight = 73;
    static constexpr int kMemoHeight = 88;

    // The window's controls, in creation order.
    TKurvo *RC = nullptr;
    QFrame *Panel1 = nullptr;
    THueband *Hueband1 = nullptr;
    QToolButton *SButShowDistri = nullptr;
    QToolButton *SButDrawSamples = nullptr;
    TDigrel *NLabLoc = nullptr;
    TDigrel *NLabWid = nullptr;
    QToolButton *SButAbout = nullptr;
    QToolButton *SButExit = nullptr;
    TRadioGroup *RGDistri = nullptr;
    QScrollBar *SBarLoc = nullptr;
    QScrollBar *SBarWid = nullptr;
    TMemo *Memo1 = nullptr;

    QWidget *Window = nullptr; // the window itself: parent of dialogs and shortcuts
    TSimulation *Model = nullptr; // what the controls and the chart show
    TTextLookup Lookup; // the loaded table; none: the key with its placeholders filled

    // Translation of a text the code asks for.
    QString Translated(const QString &key, const QStringList &arguments = {}) const
    {
        return Lookup ? Lookup(key, arguments) : FillPlaceholders(key, arguments);
    }
};
