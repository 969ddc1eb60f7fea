#include "accountpages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

namespace {

QPushButton *makePrimary(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setProperty("primary", true);
    return button;
}

} // namespace

LoginPage::LoginPage(QWidget *parent)
    : Page(tr("Login"), parent)
{
    auto *message = new QLabel(this);
    message->setObjectName(QStringLiteral("LbLoginMessage"));
    message->setWordWrap(true);
    addWidget(message);
    addWidget(new QLabel(tr("Email:"), this));
    m_email = makeField(QStringLiteral("EdLoginEmail"), tr("Type your email"), this);
    addWidget(m_email);
    addWidget(new QLabel(tr("Password:"), this));
    m_password = makeField(QStringLiteral("EdLoginPassword"), tr("Type your password"), this, true);
    addWidget(m_password);
    addSpacing(scaled(6));
    m_submit = makePrimary(QStringLiteral("BTNLoginSubmit"), tr("Login"), this);
    addWidget(m_submit);
    m_autoLogin = new QCheckBox(tr("Login automatically"), this);
    m_autoLogin->setObjectName(QStringLiteral("CkbAutoLogin"));
    addWidget(m_autoLogin);

    const QString nowhere = QStringLiteral("javascript:void(0);");
    QLabel *registerLink
        = makeLink(QStringLiteral("LbRegisterLink"), tr("Register"), nowhere, this);
    QLabel *forgetLink
        = makeLink(QStringLiteral("LbForgetLink"), tr("Forget password"), nowhere, this);
    forgetLink->setToolTip(tr("Change your password"));
    auto *links = new QHBoxLayout;
    links->setContentsMargins(0, 0, 0, 0);
    links->addWidget(registerLink);
    links->addStretch(1);
    links->addWidget(forgetLink);
    addLayout(links);
    addStretch(1);

    connect(m_submit, &QPushButton::clicked, this, &LoginPage::loginClicked);
    connect(m_autoLogin, &QCheckBox::toggled, this, &LoginPage::autoLoginToggled);
    connect(registerLink, &QLabel::linkActivated, this, &LoginPage::registerRequested);
    connect(forgetLink, &QLabel::linkActivated, this, &LoginPage::forgotPasswordClicked);
}

QString LoginPage::email() const
{
    return m_email->text();
}

QString LoginPage::password() const
{
    return m_password->text();
}

void LoginPage::setCredentials(const QString &email, const QString &password)
{
    m_email->setText(email);
    m_password->setText(password);
}

void LoginPage::setAutoLogin(bool on)
{
    const QSignalBlocker quiet(m_autoLogin);
    m_autoLogin->setChecked(on);
}

void LoginPage::setBusy(bool busy)
{
    m_submit->setEnabled(!busy);
}

RegisterPage::RegisterPage(QWidget *parent)
    : Page(tr("Register"), parent)
{
    auto *message
        = new QLabel(tr("New registered user is eligible for a one-day free trial"), this);
    message->setWordWrap(true);
    addWidget(message);
    addWidget(new QLabel(tr("Email:"), this));
    m_email = makeField(QStringLiteral("EdRegEmail"), tr("Same as your payment email."), this);
    addWidget(m_email);
    addWidget(new QLabel(tr("Password:"), this));
    m_password
        = makeField(QStringLiteral("EdRegPassword"), tr("Length is greater than 5"), this, true);
    addWidget(m_password);
    m_again = makeField(QStringLiteral("EdRegPassword2"), tr("Type password again"), this, true);
    addWidget(m_again);
    addSpacing(scaled(6));
    m_submit = makePrimary(QStringLiteral("BTNRegister"), tr("Register"), this);
    addWidget(m_submit);
    QLabel *back = makeLink(QStringLiteral("LbBackToLoginLink"), tr("Login"),
                            QStringLiteral("javascript:void(0);"), this);
    addWidget(back);
    addStretch(1);

    connect(m_submit, &QPushButton::clicked, this, &RegisterPage::registerClicked);
    connect(back, &QLabel::linkActivated, this, &RegisterPage::loginRequested);
}

void RegisterPage::setBusy(bool busy)
{
    m_submit->setEnabled(!busy);
}

AccountPage::AccountPage(QWidget *parent)
    : Page(tr("Account Information"), parent)
{
    auto *form = new QGridLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(scaled(8));
    form->setVerticalSpacing(scaled(8));
    const QString names[4] = {QStringLiteral("EdAccEmail"), QStringLiteral("EdAccExpire"),
                              QStringLiteral("EdAccMachineId"), QStringLiteral("EdAccPayment")};
    const QString captions[4]
        = {tr("Email"), tr("Expired on:"), tr("Machine ID"), tr("Last payment:")};
    QLineEdit *fields[4] = {};
    for (int i = 0; i < 4; ++i) {
        fields[i] = makeField(names[i], QString(), this);
        fields[i]->setReadOnly(true);
        form->addWidget(new QLabel(captions[i], this), i * 2, 0);
        form->addWidget(fields[i], i * 2 + 1, 0);
    }
    m_email = fields[0];
    m_expire = fields[1];
    m_machineId = fields[2];
    m_payment = fields[3];
    addLayout(form);
    addSpacing(scaled(8));
    QPushButton *relogin = makeButton(QStringLiteral("BTNRelogin"),
                                      tr("Re-Login to refresh your account information"), this);
    relogin->setText(tr("Re-Login"));
    QPushButton *logout = makeButton(QStringLiteral("BTNLogout"), QString(), this);
    logout->setText(tr("Logout"));
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(relogin);
    buttons->addWidget(logout);
    addLayout(buttons);
    addStretch(1);

    connect(relogin, &QPushButton::clicked, this, &AccountPage::reloginClicked);
    connect(logout, &QPushButton::clicked, this, &AccountPage::logoutClicked);
}

void AccountPage::setAccount(const QString &email, const QString &expires, const QString &payment)
{
    m_email->setText(email);
    m_expire->setText(expires);
    m_payment->setText(payment);
}

void AccountPage::setMachineId(const QString &id)
{
    m_machineId->setText(id);
}
