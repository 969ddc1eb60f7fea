<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ga" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Faisnéis an Chuntais</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Ríomhphost</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Imithe in éag ar:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID an Ríomhaire</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>An íocaíocht dheireanach:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Logáil isteach arís chun faisnéis do chuntais a athnuachan</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Logáil isteach arís</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Logáil amach</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Cuir isteach ríomhphost</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Athnuaigh</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Athnuadh faisnéis an chuntais</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Ár leithscéal, níorbh fhéidir faisnéis an chuntais a athnuachan. Seiceáil do líonra agus bain triail eile as.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Cuir isteach pasfhocal</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Ríomhphost neamhbhailí</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Ár leithscéal, ní hionann na pasfhocail</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Tá an pasfhocal níos giorra ná 6 charachtar</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Logáil isteach arís</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Dada</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Toirmiscthe</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>De réir dhlíthe do thíre, tá ár dtáirgí toirmiscthe</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Cabhair</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Rátáil an Aip</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Cabhair Ar Líne</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Deasc Chabhrach</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Seiceáil le haghaidh Nuashonruithe</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Tosaigh nuair a thosaíonn an córas</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Logáil isteach i do chuntas</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>Cabhair VPN</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Logáil isteach, le do thoil</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Athraigh d&apos;fhreastalaí VPN</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Roghnaigh freastalaí</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Liostáil le VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Liostáil</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Dul in éag</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Logáil isteach</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Ríomhphost:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Cuir isteach do ríomhphost</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Pasfhocal:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Cuir isteach do phasfhocal</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Logáil isteach go huathoibríoch</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Cláraigh</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Pasfhocal dearmadta</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Athraigh do phasfhocal</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>Maidir le </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Leagan:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Suíomh Gréasáin:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Tacaíocht:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Cóipcheart © %1 Quellnet. Gach ceart ar cosaint.</translation>
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
        <translation>Cealaigh</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Tá</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Níl</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Dún</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Íoslódáil an leagan is déanaí</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Suiteáil an nuashonrú</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>An bhfuil tú ag iarraidh an ríomhchlár a dhúnadh chun an leagan nua a shuiteáil?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Ní féidir an nuashonrú a íoslódáil.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>Diúltaíodh don nuashonrú a íoslódáladh agus scriosadh é: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Níor aimsíodh suiteálaí pacáistí. Tá an pacáiste fíoraithe anseo: %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Cealaigh</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>An bhfuil tú ag iarraidh an tasc reatha a chealú?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Theip ar an íoslódáil: %1. Cliceáil %2 chun é a íoslódáil de láimh.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Dún</translation>
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
        <translation>Cealaigh</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Tá</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Níl</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Tá do Gach Ceann</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Níl do Gach Ceann</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>Tá an URL folamh.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Theip air, tá méid an chomhaid mícheart.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>d&apos;fhreagair an freastalaí le stádas %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>níor sheol an freastalaí an chuid den chomhad a iarradh (stádas %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>sheol an freastalaí cuid eile den chomhad seachas an chuid a iarradh</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>sheol an freastalaí níos mó ná an chuid den chomhad a iarradh</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>chríochnaigh an t-aistriú roimh am</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Cuntas Imithe in Éag</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Tá do chuntas imithe in éag. Ceannaigh seirbhísí Quellnet, le do thoil</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Má cheannaigh tú cheana féin, logáil isteach arís chun an fhaisnéis a athnuachan</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Ar ball</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Ceannaigh Anois</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Socruithe</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>Suiteáil TAP</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Deisíodh an líonra.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Ár leithscéal, níorbh fhéidir an líonra a dheisiú: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Tosaigh nuair a thosaíonn an córas</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Ár leithscéal, níorbh fhéidir an iontráil tosaithe a scríobh chuig %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Athraigh an Teanga</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>D&apos;athraigh tú an teanga; beidh feidhm iomlán leis tar éis atosú.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Tá an ríomhchlár fós ag rith</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Teanga</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Tástáil Luais</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Lasc Mharaithe</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>As</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ar siúl</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Blocáil nuair atá dícheangailte</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Ceadaigh Trácht chuig Líonraí Logánta</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Tacaíocht</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Deasc Chabhrach</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Cabhair Ar Líne</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Oscail an Logchomhad</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Deisigh TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>Seiceálaí Seoltaí IP</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>Tástáil Sceite DNS</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Maidir le Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Rith mar Dheilbhín sa Tráidire</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Scoir</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Taispeáin an Phríomhfhuinneog</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Iarratas neamhbhailí, athshuiteáil an ríomhchlár</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Theip ar aisghabháil an phasfhocail, bain triail eile as</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Theip ar logáil isteach</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Theip ar chlárú</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Aisghabh pasfhocal</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>Tá an ríomhphost nó an pasfhocal folamh</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Ní féidir ach gléas amháin a cheangal leis an gcuntas céanna i ngach córas</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Pasfhocal mícheart nó níl an t-úsáideoir ann</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Tá an ríomhphost seo cláraithe cheana, logáil isteach leis</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Theip ar chlárú, bain triail eile as</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Aisghabh Pasfhocal</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Seoladh nasc chun an pasfhocal a athrú chuig do sheoladh ríomhphoist</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>cliceáil air chun do phasfhocal a athrú</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Ár leithscéal, níl an t-úsáideoir seo ann</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN Ceangailte</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>Tá an VPN ceangailte</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Réidh le Ceangal</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>Tá an VPN dícheangailte</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Theip ar an gceangal</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>Theip ar cheangal VPN</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Ag suiteáil TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Ag ceangal...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Ag sannadh IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Ag fáil cumraíochta...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Ag réiteach...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Ceangail le freastalaí VPN</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Dícheangail ón bhfreastalaí VPN</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Cealaigh an ceangal</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Luas</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Tá do chuntas imithe in éag</translation>
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
        <translation>Baile</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Ceannaigh</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Tar éis an cheannaigh, logáil isteach i do chuntas arís</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 Mhí</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 Mhí</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 Bhliain</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Cláraigh</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Tá úsáideoirí nuachláraithe i dteideal triail saor in aisce lae amháin</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Ríomhphost:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>An ríomhphost céanna lenar íoc tú.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Pasfhocal:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Níos faide ná 5 charachtar</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Cuir isteach an pasfhocal arís</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Logáil isteach</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Theip air</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Theip ar lódáil liosta na bhfreastalaithe,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Freastalaithe</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Athnuaigh</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Déchliceáil chun an ríomhchlár a ghníomhachtú, deaschliceáil chun an roghchlár a oscailt</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>níl an nuashonrú sínithe</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>níl síniú an nuashonraithe bailí</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>ní féidir an comhad íoslódáilte a léamh</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>tá méid mícheart ar an gcomhad íoslódáilte</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>ní hé an comhad íoslódáilte an comhad sínithe</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Seiceáil nuashonruithe</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Theip ar sheiceáil na nuashonruithe. Seiceáil do líonra agus bain triail eile as.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Tá do bhogearraí cothrom le dáta!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Nuashonraigh go dtí an leagan nua</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>Tá leagan nua &lt;b&gt; %1&lt;/b&gt; ar fáil. Ar mhaith leat nuashonrú chuige?</translation>
    </message>
</context>
</TS>
