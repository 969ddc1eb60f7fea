<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Informazioni account</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Data di scadenza:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID dispositivo</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Ultimo pagamento:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Accedi di nuovo per aggiornare le informazioni dell&apos;account</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Accedi di nuovo</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Esci</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Inserisci l&apos;email</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aggiorna</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Le informazioni dell&apos;account sono state aggiornate</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Spiacenti, non è stato possibile aggiornare le informazioni dell&apos;account. Controlla la connessione di rete e riprova.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Inserisci la password</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Email non valida</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Spiacenti, le password non corrispondono</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>La password contiene meno di 6 caratteri</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Accedi di nuovo</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Nessuno</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Vietato</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>In base alle leggi del tuo paese, i nostri prodotti sono vietati</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Valuta l&apos;app</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Guida online</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Verifica aggiornamenti</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Avvia all&apos;avvio del sistema</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Accedi al tuo account</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>Aiuto VPN</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Effettua l&apos;accesso</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Cambia server VPN</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Scegli un server</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Abbonati alla VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Abbonati</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Scadenza</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Accedi</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Inserisci la tua email</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Inserisci la tua password</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Accesso automatico</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Registrati</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Password dimenticata</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Cambia la password</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>Informazioni su </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Versione:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Sito web:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Assistenza:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Tutti i diritti riservati.</translation>
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
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Scarica l&apos;ultima versione</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Installa l&apos;aggiornamento</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Vuoi chiudere il programma per installare la nuova versione?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Impossibile scaricare l&apos;aggiornamento.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>L&apos;aggiornamento scaricato è stato rifiutato ed eliminato: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Nessun programma di installazione dei pacchetti trovato. Il pacchetto verificato si trova in %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Vuoi annullare l&apos;operazione in corso?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Download non riuscito: %1. Fai clic su %2 per scaricarlo manualmente.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
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
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Sì a tutto</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>No a tutto</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>L&apos;URL è vuoto.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Operazione non riuscita, la dimensione del file non è corretta.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>il server ha risposto con lo stato %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>il server non ha inviato la parte del file richiesta (stato %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>il server ha inviato una parte del file diversa da quella richiesta</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>il server ha inviato più della parte del file richiesta</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>il trasferimento si è interrotto prima del termine</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Account scaduto</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Il tuo account è scaduto. Acquista i servizi Quellnet.</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Se hai già effettuato l&apos;acquisto, accedi di nuovo per aggiornare le informazioni.</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Più tardi</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Acquista ora</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>Installazione TAP</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>La rete è stata riparata.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Spiacenti, non è stato possibile riparare la rete: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Avvia all&apos;avvio del sistema</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Spiacenti, non è stato possibile scrivere la voce di avvio in %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Cambia lingua</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Hai cambiato la lingua: la modifica avrà pieno effetto dopo il riavvio.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Il programma è ancora in esecuzione</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Lingua</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Test di velocità</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Disattivato</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Attivato</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Blocca quando disconnesso</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Consenti il traffico verso le reti locali</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Assistenza</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Guida online</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Apri log</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Ripara TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>Verifica indirizzo IP</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>Test perdite DNS</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Informazioni su Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Esegui nell&apos;area di notifica</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Mostra finestra principale</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Richiesta non valida, reinstalla il programma</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Recupero della password non riuscito, riprova</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Accesso non riuscito</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Registrazione non riuscita</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Recupera password</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>Email o password mancante</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>In ogni sistema è possibile associare un solo dispositivo allo stesso account</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Password errata o utente inesistente</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Questa email è già registrata, accedi con essa</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Registrazione non riuscita, riprova</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Recupera password</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Il link per cambiare la password è stato inviato al tuo indirizzo email</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>Fai clic sul link per cambiare la password</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Spiacenti, questo utente non esiste</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN connessa</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>La VPN è connessa</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Pronto per la connessione</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>La VPN è disconnessa</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Connessione non riuscita</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>Connessione VPN non riuscita</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Installazione TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Connessione...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Assegnazione IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Recupero configurazione...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Risoluzione...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Connetti al server VPN</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Disconnetti dal server VPN</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Annulla connessione</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Velocità</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Il tuo account è scaduto</translation>
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
        <translation>Home</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Acquista</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Dopo l&apos;acquisto, accedi di nuovo al tuo account</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 mese</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 mesi</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 anni</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Registrati</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>I nuovi utenti registrati hanno diritto a un giorno di prova gratuita</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>La stessa email usata per il pagamento.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Almeno 6 caratteri</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Ripeti la password</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Accedi</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Caricamento dell&apos;elenco dei server non riuscito,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aggiorna</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Doppio clic per aprire il programma, clic destro per il menu</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>l&apos;aggiornamento non è firmato</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>la firma dell&apos;aggiornamento non è valida</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>impossibile leggere il file scaricato</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>il file scaricato ha una dimensione errata</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>il file scaricato non è quello firmato</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Verifica aggiornamenti</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Verifica degli aggiornamenti non riuscita. Controlla la connessione di rete e riprova.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Il software è aggiornato!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Aggiorna alla nuova versione</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>È disponibile la nuova versione &lt;b&gt; %1&lt;/b&gt;. Vuoi aggiornare a questa versione?</translation>
    </message>
</context>
</TS>
