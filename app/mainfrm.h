#pragma once

#include <QWidget>

class TFrmMain : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmMain(QWidget *parent = nullptr);
};
