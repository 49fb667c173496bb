// The floor for any Qt Widgets program on this desktop: a QApplication and
// one frameless window of the given size, shown. bench/startup_bench.py
// starts it side by side with the bar. With a third argument the window
// also shows that text in a label, which costs the font set-up a window
// without text never pays.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int width = args.size() > 2 ? args.at(1).toInt() : 97;
    const int height = args.size() > 2 ? args.at(2).toInt() : 25;
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(width, height);
    if (args.size() > 3)
        (new QLabel(args.at(3), &window))->adjustSize();
    window.show();
    return QApplication::exec();
}
