// The reference for start-up time and idle cost: the least a Qt 6 program does to show a window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle("Minimal Qt");
    w.resize(549, 375);
    w.show();
    return app.exec();
}
