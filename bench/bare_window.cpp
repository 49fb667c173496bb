// The floor for any Qt Widgets program on this desktop: a QApplication and
// one frameless window of the given size, shown. bench/startup_bench.py
// starts it side by side with the bar.
#include <QApplication>
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
    window.show();
    return QApplication::exec();
}
