#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace trv::test {

// The control of the window by its object name; fails the test naming what is missing.
template <typename T>
T* child(QObject* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "control '" << name << "' of type " << T::staticMetaObject.className()
                              << " is missing from " << window->objectName().toStdString();
    if (!found) {
        throw std::runtime_error(std::string("missing control ") + name);
    }
    return found;
}

// Processes events until the predicate holds or the time is up; returns whether it held.
inline bool waitUntil(const std::function<bool()>& predicate, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!predicate()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Runs `handler` on the next modal window that appears (polling from a timer), so that a test
// can answer a dialog that the code under test opens with exec(). Fails the test when no
// modal window appears before the deadline.
inline void onNextModal(std::function<void(QWidget*)> handler, int timeoutMs = 5000) {
    auto* timer = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, deadline, handler = std::move(handler)]() {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            handler(modal);
        } else if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window appeared";
        }
    });
    timer->start(10);
}

} // namespace trv::test
