#include "mainwindow/Pause.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace trv {

void EventLoopPause::wait(qint64 ms) {
    if (ms <= 0)
        return;
    // Without an application object there is no event loop to keep alive.
    if (QCoreApplication::instance() == nullptr) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(std::min<qint64>(ms, std::numeric_limits<int>::max())));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace trv
