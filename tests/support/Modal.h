#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on the next modal window as soon as it is open, from inside its
// own event loop, so a test can read and close a dialog shown with exec().
// If none opens within the timeout, `act` gets nullptr. A check that fails in
// `act` returns from it early: every open dialog is then closed here, so the
// test fails at once instead of waiting in a dialog's event loop.
inline void onNextModal(std::function<void(QWidget *)> act, int timeoutMs = 5000)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act), deadline] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
        if (QTest::currentTestFailed())
            for (QWidget *window : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible())
                    dialog->done(QDialog::Rejected);
    });
    timer->start();
}
