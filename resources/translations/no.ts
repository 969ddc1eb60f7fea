<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="no" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Kontoinformasjon</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-post</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Utløpsdato:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>Maskin-ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Siste betaling:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Logg inn på nytt for å oppdatere kontoinformasjonen</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Logg inn på nytt</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Logg ut</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Skriv inn e-post</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Oppdater</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Kontoinformasjonen er oppdatert</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Beklager, kontoinformasjonen kunne ikke oppdateres. Kontroller nettverket og prøv igjen.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Skriv inn passord</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Ugyldig e-post</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Beklager, passordene samsvarer ikke</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Passordet er kortere enn 6 tegn</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Logg inn på nytt</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ingen</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Forbudt</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>I henhold til lovene i ditt land er produktene våre forbudt</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Hjelp</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Vurder appen</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Hjelp på nett</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Se etter oppdateringer</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Start ved oppstart av systemet</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Logg inn på kontoen din</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN-hjelp</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Logg inn</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Bytt VPN-server</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Velg en server</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Abonner på VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Abonner</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Utløper</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Logg inn</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-post:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Skriv inn e-posten din</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passord:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Skriv inn passordet ditt</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Logg inn automatisk</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Registrer</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Glemt passord</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Endre passordet ditt</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>Om </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Versjon:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Nettsted:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Brukerstøtte:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Med enerett.</translation>
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
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nei</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Lukk</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Last ned nyeste versjon</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Installer oppdateringen</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Vil du lukke programmet for å installere den nye versjonen?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Oppdateringen kan ikke lastes ned.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>Den nedlastede oppdateringen ble avvist og slettet: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Fant ikke noe program for pakkeinstallasjon. Den verifiserte pakken ligger her: %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Vil du avbryte gjeldende oppgave?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Nedlasting mislyktes: %1. Klikk %2 for å laste den ned manuelt.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Lukk</translation>
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
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nei</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Ja til alle</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Nei til alle</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>URL-en er tom.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Mislyktes, filstørrelsen er feil.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>serveren svarte med status %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>serveren sendte ikke den forespurte delen av filen (status %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>serveren sendte en annen del av filen enn den som ble forespurt</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>serveren sendte mer enn den forespurte delen av filen</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>overføringen ble avsluttet for tidlig</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Kontoen er utløpt</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Kontoen din er utløpt. Kjøp Quellnet-tjenester.</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Hvis du allerede har kjøpt, logg inn på nytt for å oppdatere informasjonen</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Senere</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Kjøp nå</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Innstillinger</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP-installasjon</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Nettverket er reparert.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Beklager, nettverket kunne ikke repareres: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Start ved oppstart av systemet</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Beklager, oppstartsoppføringen kunne ikke skrives til %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Bytt språk</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Du har byttet språk. Endringen trer fullt i kraft etter omstart.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Programmet kjører fortsatt</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Språk</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Hastighetstest</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Av</translation>
    </message>
    <message>
        <source>On</source>
        <translation>På</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Blokker når frakoblet</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Tillat trafikk til lokale nettverk</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Brukerstøtte</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Hjelp på nett</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Åpne logg</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Reparer TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP-adressesjekk</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS-lekkasjetest</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Om Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Kjør i systemkurven</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Avslutt</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Vis hovedvinduet</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Ugyldig forespørsel, installer programmet på nytt</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Gjenoppretting av passord mislyktes, prøv igjen</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Innlogging mislyktes</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Registrering mislyktes</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Gjenopprett passord</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>E-post eller passord er tomt</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Bare én enhet kan knyttes til samme konto i hvert system</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Feil passord, eller brukeren finnes ikke</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Denne e-posten er allerede registrert, logg inn med den</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Registrering mislyktes, prøv igjen</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Gjenopprett passord</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>En lenke for å endre passordet er sendt til e-postadressen din</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>klikk på den for å endre passordet ditt</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Beklager, denne brukeren finnes ikke</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN tilkoblet</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN er tilkoblet</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Klar til å koble til</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN er frakoblet</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Tilkobling mislyktes</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN-tilkobling mislyktes</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Installerer TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Kobler til...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Tildeler IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Henter konfigurasjon...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Slår opp...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Koble til VPN-server</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Koble fra VPN-server</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Avbryt tilkobling</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Hastighet</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Kontoen din er utløpt</translation>
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
        <translation>Hjem</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Kjøp</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Logg inn på kontoen din på nytt etter kjøpet</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 måned</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 måneder</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 år</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Registrer</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Nye brukere får én dags gratis prøveperiode</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-post:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>Samme som e-posten du betalte med.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passord:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Lengre enn 5 tegn</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Skriv inn passordet på nytt</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Logg inn</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Mislyktes</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Kunne ikke laste inn serverlisten,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Servere</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Oppdater</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Dobbeltklikk for å aktivere programmet, høyreklikk for å åpne menyen</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>oppdateringen er ikke signert</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>signaturen til oppdateringen er ugyldig</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>den nedlastede filen kan ikke leses</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>den nedlastede filen har feil størrelse</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>den nedlastede filen er ikke den signerte</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Se etter oppdateringer</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Kunne ikke se etter oppdateringer. Kontroller nettverket og prøv igjen.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Programvaren din er oppdatert!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Oppdater til ny versjon</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>Ny versjon &lt;b&gt; %1&lt;/b&gt; er tilgjengelig. Vil du oppdatere til den?</translation>
    </message>
</context>
</TS>
