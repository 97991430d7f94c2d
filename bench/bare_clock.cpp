// The yardstick for the desktop benchmark: the least a Qt Widgets clock can
// be, a window of the clock's size with one label that a timer sets to the
// time twice a second.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel label;
    label.setWindowFlag(Qt::WindowStaysOnTopHint);
    label.setAlignment(Qt::AlignCenter);
    label.resize(200, 72);
    const auto show = [&label] { label.setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); };
    QTimer timer;
    timer.setInterval(500);
    QObject::connect(&timer, &QTimer::timeout, &label, show);
    show();
    timer.start();
    label.show();
    return app.exec();
}
