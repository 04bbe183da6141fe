#include "platform/QtRuntime.h"
#include "ui/Appearance.h"
#include "ui/FrmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    applyAppearance();
    QtRuntime runtime(FrmMain::Title);
    FrmMain window(runtime);
    window.show();
    return app.exec();
}
