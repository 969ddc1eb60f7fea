<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fi" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Tilin tiedot</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Sähköposti</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Voimassa asti:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>Laitetunnus</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Viimeisin maksu:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Päivitä tilin tiedot kirjautumalla uudelleen</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Kirjaudu uudelleen</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Kirjaudu ulos</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Anna sähköpostiosoite</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Päivitä</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Tilin tiedot on päivitetty</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Tilin tietoja ei valitettavasti voitu päivittää. Tarkista verkkoyhteys ja yritä uudelleen.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Anna salasana</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Virheellinen sähköpostiosoite</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Salasanat eivät valitettavasti täsmää</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Salasana on alle 6 merkkiä pitkä</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Kirjaudu uudelleen</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ei mitään</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Kielletty</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>Maasi lakien mukaan tuotteemme ovat kiellettyjä</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Ohje</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Arvioi sovellus</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Verkko-ohje</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Tukipalvelu</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Tarkista päivitykset</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Käynnistä järjestelmän käynnistyessä</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Kirjaudu tilillesi</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN-ohje</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Kirjaudu sisään</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Vaihda VPN-palvelin</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Valitse palvelin</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Tilaa VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Tilaa</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Vanhenee</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Kirjaudu</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Sähköposti:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Kirjoita sähköpostiosoitteesi</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Salasana:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Kirjoita salasanasi</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Kirjaudu automaattisesti</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Rekisteröidy</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Unohtunut salasana</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Vaihda salasana</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>Tietoja </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Versio:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Verkkosivusto:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Tuki:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Kaikki oikeudet pidätetään.</translation>
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
        <translation>Peruuta</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Kyllä</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Ei</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sulje</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Lataa uusin versio</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Asenna päivitys</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Haluatko sulkea ohjelman ja asentaa uuden version?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Päivitystä ei voi ladata.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>Ladattu päivitys hylättiin ja poistettiin: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Paketinasenninta ei löytynyt. Tarkistettu paketti on sijainnissa %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Peruuta</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Haluatko peruuttaa nykyisen tehtävän?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Lataus epäonnistui: %1. Lataa tiedosto manuaalisesti napsauttamalla %2.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sulje</translation>
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
        <translation>Peruuta</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Kyllä</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Ei</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Kyllä kaikkiin</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Ei kaikkiin</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>URL-osoite on tyhjä.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Epäonnistui, tiedoston koko on virheellinen.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>palvelin vastasi tilakoodilla %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>palvelin ei lähettänyt pyydettyä tiedoston osaa (tilakoodi %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>palvelin lähetti eri tiedoston osan kuin pyydettiin</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>palvelin lähetti enemmän kuin pyydetyn tiedoston osan</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>siirto päättyi ennenaikaisesti</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Tili vanhentunut</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Tilisi on vanhentunut. Osta Quellnet-palvelu.</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Jos olet jo ostanut palvelun, päivitä tiedot kirjautumalla uudelleen</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Myöhemmin</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Osta nyt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Asetukset</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP-asennus</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Verkko on korjattu.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Verkkoa ei valitettavasti voitu korjata: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Käynnistä järjestelmän käynnistyessä</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Käynnistysmerkintää ei valitettavasti voitu kirjoittaa kohteeseen %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Vaihda kieli</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Kieli on vaihdettu. Muutos tulee täysin voimaan uudelleenkäynnistyksen jälkeen.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Ohjelma on yhä käynnissä</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Kieli</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Nopeustesti</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Pois</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Päällä</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Estä, kun yhteys on katkaistu</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Salli liikenne paikallisverkkoihin</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Tuki</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Tukipalvelu</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Verkko-ohje</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Avaa loki</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Korjaa TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP-osoitteen tarkistus</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS-vuototesti</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Tietoja Quellnetista</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Suorita ilmaisinalueella</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Lopeta</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Näytä pääikkuna</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Virheellinen pyyntö, asenna ohjelma uudelleen</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Salasanan palautus epäonnistui, yritä uudelleen</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Kirjautuminen epäonnistui</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Rekisteröinti epäonnistui</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Palauta salasana</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>Sähköposti tai salasana puuttuu</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Samaan tiliin voi kussakin järjestelmässä liittää vain yhden laitteen</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Väärä salasana tai käyttäjää ei ole olemassa</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Tämä sähköpostiosoite on jo rekisteröity, kirjaudu sillä sisään</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Rekisteröinti epäonnistui, yritä uudelleen</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Salasanan palautus</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Salasanan vaihtolinkki on lähetetty sähköpostiosoitteeseesi</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>vaihda salasanasi napsauttamalla sitä</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Tätä käyttäjää ei valitettavasti ole olemassa</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN yhdistetty</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN on yhdistetty</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Valmis yhdistämään</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN-yhteys on katkaistu</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Yhdistäminen epäonnistui</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN-yhteys epäonnistui</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Asennetaan TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Yhdistetään...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Määritetään IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Haetaan asetuksia...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Selvitetään osoitetta...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Yhdistä VPN-palvelimeen</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Katkaise yhteys VPN-palvelimeen</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Peruuta yhdistäminen</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Nopeus</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Tilisi on vanhentunut</translation>
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
        <translation>Etusivu</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Osta</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Kirjaudu oston jälkeen tilillesi uudelleen</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 kuukausi</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 kuukautta</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 vuotta</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Rekisteröidy</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Uudet käyttäjät saavat yhden päivän ilmaisen kokeilujakson</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Sähköposti:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>Sama kuin maksussa käyttämäsi sähköposti.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Salasana:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Pituus yli 5 merkkiä</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Kirjoita salasana uudelleen</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Kirjaudu</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Epäonnistui</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Palvelinluettelon lataus epäonnistui,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Palvelimet</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Päivitä</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Aktivoi ohjelma kaksoisnapsauttamalla, avaa valikko napsauttamalla hiiren kakkospainikkeella</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>päivitystä ei ole allekirjoitettu</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>päivityksen allekirjoitus ei ole kelvollinen</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>ladattua tiedostoa ei voi lukea</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>ladatun tiedoston koko on väärä</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>ladattu tiedosto ei ole allekirjoitettu tiedosto</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Päivitysten tarkistus</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Päivitysten tarkistus epäonnistui. Tarkista verkkoyhteys ja yritä uudelleen.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Ohjelmistosi on ajan tasalla!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Päivitä uuteen versioon</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>Uusi versio &lt;b&gt; %1&lt;/b&gt; on saatavilla. Haluatko päivittää siihen?</translation>
    </message>
</context>
</TS>
