#pragma once

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

// Answers the next application-modal widget (dialog, message box) from inside its modal
// loop: polls QApplication::activeModalWidget() until one shows or the time is up, then runs
// the action on it once. Lives on the stack around the call that shows the modal:
//
//   ModalDriver driver(ModalDriver::click(QDialogButtonBox::Yes));
//   const int result = box.exec();
//   QVERIFY(driver.answered());
//
// A call that should show nothing: construct a driver, call, then QVERIFY(!driver.answered()).
class ModalDriver
{
public:
    using Action = std::function<void(QWidget *)>;

    explicit ModalDriver(Action action, int timeoutMs = 5000)
        : m_action(std::move(action))
        , m_timer(new QTimer)
    {
        m_clock.start();
        QObject::connect(m_timer.get(), &QTimer::timeout, [this, timeoutMs] { poll(timeoutMs); });
        m_timer->start(10);
    }
    ModalDriver(const ModalDriver &) = delete;
    ModalDriver &operator=(const ModalDriver &) = delete;

    bool answered() const { return m_answered; }
    // The modal widget that was answered (null once it is deleted, or if none showed).
    QWidget *modal() const { return m_modal; }

    // Clicks the standard button of the modal's QDialogButtonBox.
    static Action click(QDialogButtonBox::StandardButton which)
    {
        return [which](QWidget *modal) {
            QPushButton *button = nullptr;
            for (auto *box : modal->findChildren<QDialogButtonBox *>()) {
                if ((button = box->button(which)))
                    break;
            }
            QVERIFY2(button, "the modal has no such button");
            QTest::mouseClick(button, Qt::LeftButton);
        };
    }
    // Ends a QDialog with the given result, as code would.
    static Action done(int result)
    {
        return [result](QWidget *modal) {
            auto *dialog = qobject_cast<QDialog *>(modal);
            QVERIFY2(dialog, "the modal is no QDialog");
            dialog->done(result);
        };
    }

private:
    void poll(int timeoutMs)
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && m_clock.elapsed() < timeoutMs)
            return;
        m_timer->stop();
        if (!modal)
            return;
        m_modal = modal;
        m_answered = true;
        m_action(modal);
    }

    Action m_action;
    std::unique_ptr<QTimer> m_timer;
    QElapsedTimer m_clock;
    QPointer<QWidget> m_modal;
    bool m_answered = false;
};
