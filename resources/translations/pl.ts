<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Informacje o koncie</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Ważne do:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID urządzenia</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Ostatnia płatność:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Zaloguj się ponownie, aby odświeżyć informacje o koncie</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Zaloguj ponownie</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Wyloguj</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Wpisz adres e-mail</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Odśwież</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Informacje o koncie zostały odświeżone</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Nie udało się odświeżyć informacji o koncie. Sprawdź połączenie sieciowe i spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Wpisz hasło</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Nieprawidłowy adres e-mail</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Hasła nie są zgodne</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Hasło ma mniej niż 6 znaków</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Zaloguj się ponownie</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Brak</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Zabronione</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>Zgodnie z prawem Twojego kraju nasze produkty są zabronione</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Pomoc</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Oceń aplikację</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Pomoc online</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Centrum pomocy</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Sprawdź aktualizacje</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Uruchamiaj przy starcie systemu</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Zaloguj się na swoje konto</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>Pomoc VPN</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Zaloguj się</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Zmień serwer VPN</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Wybierz serwer</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Subskrybuj VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Subskrybuj</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Wygasa</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Zaloguj</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Wpisz swój e-mail</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Hasło:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Wpisz swoje hasło</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Loguj automatycznie</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Zarejestruj</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Nie pamiętam hasła</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Zmień hasło</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>O programie </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Wersja:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Strona WWW:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Wsparcie:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Wszelkie prawa zastrzeżone.</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Tak</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Pobierz najnowszą wersję</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Zainstaluj aktualizację</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Czy zamknąć program, aby zainstalować nową wersję?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Nie można pobrać aktualizacji.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>Pobrana aktualizacja została odrzucona i usunięta: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Nie znaleziono instalatora pakietów. Zweryfikowany pakiet znajduje się w lokalizacji %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Czy anulować bieżące zadanie?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Pobieranie nie powiodło się: %1. Kliknij %2, aby pobrać plik ręcznie.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Tak</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Tak dla wszystkich</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Nie dla wszystkich</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>Adres URL jest pusty.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Niepowodzenie, nieprawidłowy rozmiar pliku.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>serwer odpowiedział kodem stanu %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>serwer nie wysłał żądanej części pliku (kod stanu %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>serwer wysłał inną część pliku niż żądana</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>serwer wysłał więcej niż żądaną część pliku</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>transfer zakończył się przedwcześnie</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Konto wygasło</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Twoje konto wygasło. Kup usługi Quellnet</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Jeśli zakup został już dokonany, zaloguj się ponownie, aby odświeżyć informacje</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Później</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Kup teraz</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Ustawienia</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>Instalacja TAP</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Sieć została naprawiona.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Nie udało się naprawić sieci: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Uruchamiaj przy starcie systemu</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Nie udało się zapisać wpisu autostartu w %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Zmień język</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Język został zmieniony. Zmiana zostanie w pełni zastosowana po ponownym uruchomieniu.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Program nadal działa</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Język</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Test prędkości</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Wyłącznik awaryjny</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Wył.</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Wł.</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Blokuj po rozłączeniu</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Zezwalaj na ruch do sieci lokalnych</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Wsparcie</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Centrum pomocy</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Pomoc online</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Otwórz dziennik</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Napraw TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>Sprawdzanie adresu IP</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>Test wycieku DNS</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>O programie Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Działaj w zasobniku systemowym</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Pokaż okno główne</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Nieprawidłowe żądanie, zainstaluj program ponownie</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Nie udało się odzyskać hasła, spróbuj ponownie</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Logowanie nie powiodło się</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Rejestracja nie powiodła się</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Odzyskaj hasło</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>Nie podano adresu e-mail lub hasła</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>W każdym systemie z jednym kontem można powiązać tylko jedno urządzenie</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Nieprawidłowe hasło lub użytkownik nie istnieje</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Ten adres e-mail jest już zarejestrowany, zaloguj się przy jego użyciu</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Rejestracja nie powiodła się, spróbuj ponownie</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Odzyskiwanie hasła</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Link do zmiany hasła został wysłany na Twój adres e-mail</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>kliknij go, aby zmienić hasło</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Ten użytkownik nie istnieje</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN połączony</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN jest połączony</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Gotowy do połączenia</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN jest rozłączony</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Błąd połączenia</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>Nie udało się połączyć z VPN</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Instalowanie TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Łączenie...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Przydzielanie IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Pobieranie konfiguracji...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Rozpoznawanie nazw...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Połącz z serwerem VPN</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Rozłącz z serwerem VPN</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Anuluj łączenie</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Prędkość</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Twoje konto wygasło</translation>
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
        <translation>Start</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Zakup</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Po zakupie zaloguj się ponownie na swoje konto</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 miesiąc</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 miesiące</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 lata</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Rejestracja</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Nowi użytkownicy otrzymują jednodniowy bezpłatny okres próbny</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>Taki sam jak e-mail używany do płatności.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Hasło:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Co najmniej 6 znaków</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Wpisz hasło ponownie</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Zaloguj</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Nie udało się wczytać listy serwerów,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Serwery</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Odśwież</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Kliknij dwukrotnie, aby otworzyć program, lub prawym przyciskiem, aby otworzyć menu</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>aktualizacja nie jest podpisana</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>podpis aktualizacji jest nieprawidłowy</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>nie można odczytać pobranego pliku</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>pobrany plik ma nieprawidłowy rozmiar</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>pobrany plik nie jest plikiem podpisanym</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Sprawdzanie aktualizacji</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Sprawdzanie aktualizacji nie powiodło się. Sprawdź połączenie sieciowe i spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Oprogramowanie jest aktualne!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Aktualizacja do nowej wersji</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>Dostępna jest nowa wersja &lt;b&gt; %1&lt;/b&gt;. Czy chcesz zaktualizować do tej wersji?</translation>
    </message>
</context>
</TS>
