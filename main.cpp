#include "platform/QtRuntime.h"
#include "ui/Appearance.h"
#include "ui/FrmMain.h"
#include "ui/Startup.h"

int main(int argc, char *argv[])
{
    keepRootInItsOwnHome();
    if (const std::optional<int> status = answerCommandLine(argc, argv))
        return *status;
    const std::unique_ptr<QApplication> app = openDesktop(argc, argv);
    if (!app)
        return 1;
    applyAppearance();
    QtRuntime runtime(FrmMain::Title);
    FrmMain window(runtime);
    window.show();
    return app->exec();
}
