// The floor of the reader benchmarks: the least a window program does with a reader. A bare window whose
// QSerialPort opens the device named by TRV7300_COM1 with the program's line settings, reads every byte that
// arrives and drops it.

#include <QApplication>
#include <QSerialPort>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("TRV7300"));
    window.resize(800, 600);
    window.show();

    QSerialPort port;
    port.setPortName(qEnvironmentVariable("TRV7300_COM1"));
    port.setBaudRate(38400);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    QObject::connect(&port, &QSerialPort::readyRead, &port, [&port] { (void)port.readAll(); });
    // A device that went away (the benchmark ended without stopping this process) ends it, instead of the port
    // failing its reads over and over.
    QObject::connect(&port, &QSerialPort::errorOccurred, &app, [](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
            QCoreApplication::exit(1);
    });
    if (!port.open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "reader floor: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    return app.exec();
}
