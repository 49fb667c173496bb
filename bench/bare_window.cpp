// The floor for any Qt Widgets program on this desktop: a QApplication and
// one frameless window of the bar's size and kind, shown.
// bench/startup_vs_label.py starts it beside the bar. With an argument the
// window also shows that text in a label, which costs the font set-up a
// window without text never pays.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    window.setGeometry(340, 308, 97, 23);
    if (argc > 1)
        (new QLabel(QString::fromLocal8Bit(argv[1]), &window))->adjustSize();
    window.show();
    return QApplication::exec();
}
