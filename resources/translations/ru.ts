<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Информация об аккаунте</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Эл. почта</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Действует до:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID устройства</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Последний платёж:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Войдите снова, чтобы обновить данные аккаунта</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Войти снова</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Выйти</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Введите адрес эл. почты</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Данные аккаунта обновлены</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Не удалось обновить данные аккаунта. Проверьте подключение к сети и повторите попытку.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Введите пароль</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Неверный адрес эл. почты</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Пароли не совпадают</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Пароль короче 6 символов</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Войдите снова</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Запрещено</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>Согласно законам вашей страны, наши продукты запрещены</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Оценить приложение</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Онлайн-справка</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Служба поддержки</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Проверить обновления</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Запускать при старте системы</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Войдите в аккаунт</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>Справка по VPN</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Выполните вход</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Сменить VPN-сервер</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Выберите сервер</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Подписка на VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Подписаться</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Истекает</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Войти</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Эл. почта:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Введите эл. почту</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Пароль:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Введите пароль</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Входить автоматически</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Регистрация</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Забыли пароль?</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Изменить пароль</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>О программе </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Версия:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Сайт:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Поддержка:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Все права защищены.</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Скачать последнюю версию</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Установить обновление</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Закрыть программу, чтобы установить новую версию?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Не удалось скачать обновление.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>Скачанное обновление отклонено и удалено: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Установщик пакетов не найден. Проверенный пакет находится здесь: %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Отменить текущую задачу?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Не удалось скачать: %1. Нажмите %2, чтобы скачать вручную.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Да для всех</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Нет для всех</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>URL не указан.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Ошибка: неверный размер файла.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>сервер ответил со статусом %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>сервер не отправил запрошенную часть файла (статус %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>сервер отправил не ту часть файла, которая была запрошена</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>сервер отправил больше запрошенной части файла</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>передача прервалась раньше времени</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Срок действия аккаунта истёк</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Срок действия вашего аккаунта истёк. Приобретите услуги Quellnet</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Если вы уже оплатили, войдите снова, чтобы обновить данные</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Позже</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Купить</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>Установка TAP</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Сеть восстановлена.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Не удалось восстановить сеть: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Запускать при старте системы</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Не удалось записать элемент автозагрузки в %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Смена языка</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Язык изменён. Изменения полностью вступят в силу после перезапуска.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Программа продолжает работать</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Тест скорости</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Аварийный выключатель</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Выкл.</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Вкл.</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Блокировать при отключении</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Разрешить трафик в локальные сети</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Поддержка</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Служба поддержки</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Онлайн-справка</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Открыть журнал</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Исправить TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>Проверка IP-адреса</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>Тест утечки DNS</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>О программе Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Работать в трее</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Показать главное окно</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Недопустимый запрос, переустановите программу</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Не удалось восстановить пароль, повторите попытку</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Не удалось войти</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Ошибка регистрации</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Восстановить пароль</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>Не указан адрес эл. почты или пароль</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>К одному аккаунту можно привязать только одно устройство в каждой системе</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Неверный пароль или пользователь не существует</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Этот адрес эл. почты уже зарегистрирован, войдите с его помощью</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Ошибка регистрации, повторите попытку</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Восстановление пароля</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Ссылка для смены пароля отправлена на вашу эл. почту</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>перейдите по ней, чтобы изменить пароль</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Такого пользователя не существует</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN подключён</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN подключён</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Готово к подключению</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN отключён</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Ошибка подключения</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>Не удалось подключить VPN</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Установка TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Подключение...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Назначение IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Получение конфигурации...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Разрешение имён...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Подключиться к VPN-серверу</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Отключиться от VPN-сервера</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Отменить подключение</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Скорость</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Срок действия аккаунта истёк</translation>
    </message>
    <message>
        <source>ID:%1  </source>
        <translation>ID:%1  </translation>
    </message>
</context>
<context>
    <name>Page</name>
    <message>
        <source>Home</source>
        <translation>Главная</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Покупка</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>После покупки войдите в аккаунт снова</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 месяц</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 месяца</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 года</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Регистрация</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Новые пользователи получают бесплатный пробный период на один день</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Эл. почта:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>Совпадает с эл. почтой для оплаты.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Пароль:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Не менее 6 символов</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Повторите пароль</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Войти</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Не удалось загрузить список серверов,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Серверы</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Обновить</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Двойной щелчок — открыть программу, правый щелчок — меню</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>обновление не подписано</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>подпись обновления недействительна</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>не удаётся прочитать скачанный файл</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>скачанный файл имеет неверный размер</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>скачанный файл не совпадает с подписанным</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Проверка обновлений</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Не удалось проверить обновления. Проверьте подключение к сети и повторите попытку.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>У вас установлена последняя версия!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Обновление до новой версии</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>Доступна новая версия &lt;b&gt; %1&lt;/b&gt;. Обновить программу?</translation>
    </message>
</context>
</TS>
