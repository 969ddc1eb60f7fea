#pragma once

#include "page.h"

class QCheckBox;

// Sign-in: e-mail, password, "Login automatically", links to registration and recovery.
class LoginPage : public Page
{
    Q_OBJECT

public:
    explicit LoginPage(QWidget *parent);

    QString email() const;
    QString password() const;
    void setCredentials(const QString &email, const QString &password);
    void setAutoLogin(bool on);
    void setBusy(bool busy);
    QLineEdit *emailField() const { return m_email; }
    QLineEdit *passwordField() const { return m_password; }

signals:
    void loginClicked();
    void autoLoginToggled(bool on);
    void registerRequested();
    void forgotPasswordClicked();

private:
    QLineEdit *m_email;
    QLineEdit *m_password;
    QPushButton *m_submit;
    QCheckBox *m_autoLogin;
};

class RegisterPage : public Page
{
    Q_OBJECT

public:
    explicit RegisterPage(QWidget *parent);

    QLineEdit *emailField() const { return m_email; }
    QLineEdit *passwordField() const { return m_password; }
    QLineEdit *againField() const { return m_again; }
    void setBusy(bool busy);

signals:
    void registerClicked();
    void loginRequested();

private:
    QLineEdit *m_email;
    QLineEdit *m_password;
    QLineEdit *m_again;
    QPushButton *m_submit;
};

// What the backend says of the account, read-only, with "Re-Login" and "Logout".
class AccountPage : public Page
{
    Q_OBJECT

public:
    explicit AccountPage(QWidget *parent);

    void setAccount(const QString &email, const QString &expires, const QString &payment);
    void setMachineId(const QString &id);

signals:
    void reloginClicked();
    void logoutClicked();

private:
    QLineEdit *m_email;
    QLineEdit *m_expire;
    QLineEdit *m_machineId;
    QLineEdit *m_payment;
};
