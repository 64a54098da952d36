#include "mainfrm.h"

TFrmMain::TFrmMain(QWidget *parent) : QWidget(parent) {}
