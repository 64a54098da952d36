#include "Kesl_kurvo_textlabel.h"

TTextLabel::TTextLabel(QObject *Owner) : TCustomTextLabel(Owner) { }
