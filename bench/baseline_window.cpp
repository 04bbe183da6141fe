// The yardstick for the game's start: the emptiest Qt window there is.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Qt")));
    window.show();
    return app.exec();
}
