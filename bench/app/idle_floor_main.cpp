// The toolkit's own idle cost, for the idle benchmark to set the program's figures against: a
// window of the program's size, a precise 100 ms timer (the output tick) and a label changed
// once a second (the announce's datagram counter), and nothing else.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("idle floor");
    window.setFixedSize(1280, 760);
    auto* counter = new QLabel("0", &window);
    counter->setGeometry(1000, 8, 150, 28);
    window.show();
    int ticks = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (++ticks % 10 == 0) counter->setText(QString::number(ticks / 10));
    });
    tick.start(100);
    return QApplication::exec();
}
