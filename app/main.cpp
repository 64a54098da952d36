#include "Application.h"
#include "Kesl_math1.h"
#include "mainfrm.h"

int main(int argc, char **argv)
{
    // Each start gives different samples.
    InitRandomVariates();

    TApplication app(argc, argv);
    TFrmMain FrmMain;
    FrmMain.show();
    return app.exec();
}
