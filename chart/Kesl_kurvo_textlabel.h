#pragma once

/// @file
/// The text labels a chart owns.

#include "Kesl_kurvo_labels.h"

/// A text label of the chart: the chart owns 30 of them, gives them its own
/// defaults at creation and connects OnChange to its repaint. All settings and
/// their rules come from TCustomTextLabel.
class TTextLabel : public TCustomTextLabel
{
    Q_OBJECT

public:
    /// A label owned by Owner (normally the chart), with the label defaults.
    explicit TTextLabel(QObject *Owner = nullptr);
};
