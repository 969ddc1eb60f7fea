<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="he" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>פרטי החשבון</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>דוא״ל</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>בתוקף עד:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>מזהה מכשיר</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>תשלום אחרון:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>יש להתחבר מחדש כדי לרענן את פרטי החשבון</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>התחברות מחדש</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>התנתקות</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>נא להקליד דוא״ל</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>רענון</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>פרטי החשבון רועננו</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>לא ניתן היה לרענן את פרטי החשבון. נא לבדוק את חיבור הרשת ולנסות שוב.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>נא להקליד סיסמה</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>כתובת דוא״ל לא תקינה</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>הסיסמאות אינן תואמות</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>הסיסמה קצרה מ־6 תווים</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>נא להתחבר מחדש</translation>
    </message>
    <message>
        <source>None</source>
        <translation>ללא</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>אסור</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>על פי חוקי המדינה שלך, המוצרים שלנו אסורים</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>עזרה</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>דירוג האפליקציה</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>עזרה מקוונת</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>מוקד תמיכה</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>בדיקת עדכונים</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>הפעלה עם עליית המערכת</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>התחברות לחשבון שלך</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>עזרה בנושא VPN</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>נא להתחבר</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>החלפת שרת VPN</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>בחירת שרת</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>מינוי ל־VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>מינוי</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>בתוקף עד</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>התחברות</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>דוא״ל:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>נא להקליד את הדוא״ל שלך</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>סיסמה:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>נא להקליד את הסיסמה שלך</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>התחברות אוטומטית</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>הרשמה</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>שכחתי סיסמה</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>שינוי הסיסמה</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>אודות </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>גרסה:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>אתר:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>תמיכה:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. כל הזכויות שמורות.</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>אישור</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>כן</translation>
    </message>
    <message>
        <source>No</source>
        <translation>לא</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>סגור</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>הורדת הגרסה העדכנית</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>התקנת העדכון</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>לסגור את התוכנה כדי להתקין את הגרסה החדשה?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>לא ניתן להוריד את העדכון.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>העדכון שהורד נדחה ונמחק: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>לא נמצא מתקין חבילות. החבילה המאומתת נמצאת בנתיב: %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>לבטל את המשימה הנוכחית?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>ההורדה נכשלה: %1. ניתן ללחוץ על %2 כדי להוריד ידנית.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>סגור</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>אישור</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>אישור</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>כן</translation>
    </message>
    <message>
        <source>No</source>
        <translation>לא</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>כן לכולם</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>לא לכולם</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>כתובת ה־URL ריקה.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>נכשל, גודל הקובץ שגוי.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>השרת השיב עם קוד מצב %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>השרת לא שלח את החלק המבוקש של הקובץ (קוד מצב %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>השרת שלח חלק אחר של הקובץ מזה שהתבקש</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>השרת שלח יותר מהחלק המבוקש של הקובץ</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>ההעברה הסתיימה מוקדם מדי</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>תוקף החשבון פג</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>תוקף החשבון שלך פג. נא לרכוש את שירותי Quellnet</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>אם כבר ביצעת רכישה, נא להתחבר מחדש כדי לעדכן את הפרטים</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>מאוחר יותר</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>לרכישה</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>הגדרות</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>התקנת TAP</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>הרשת תוקנה.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>לא ניתן היה לתקן את הרשת: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>הפעלה עם עליית המערכת</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>לא ניתן היה לכתוב את רשומת ההפעלה האוטומטית אל %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>שינוי שפה</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>השפה שונתה. השינוי ייכנס לתוקף מלא לאחר הפעלה מחדש.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>התוכנה עדיין פועלת</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>שפה</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>בדיקת מהירות</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>מתג חירום</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>כבוי</translation>
    </message>
    <message>
        <source>On</source>
        <translation>פועל</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>חסימה בזמן ניתוק</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>התרת תעבורה לרשתות מקומיות</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>תמיכה</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>מוקד תמיכה</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>עזרה מקוונת</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>פתיחת יומן</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>תיקון TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>בדיקת כתובת IP</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>בדיקת דליפת DNS</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>אודות Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>הפעלה במגש המערכת</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>יציאה</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>הצגת החלון הראשי</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>בקשה לא תקינה, נא להתקין מחדש את התוכנה</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>שחזור הסיסמה נכשל, נא לנסות שוב</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>ההתחברות נכשלה</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>ההרשמה נכשלה</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>שחזור סיסמה</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>הדוא״ל או הסיסמה ריקים</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>בכל מערכת ניתן לקשר לאותו חשבון מכשיר אחד בלבד</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>סיסמה שגויה או שהמשתמש אינו קיים</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>כתובת דוא״ל זו כבר רשומה, נא להתחבר באמצעותה</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>ההרשמה נכשלה, נא לנסות שוב</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>שחזור סיסמה</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>קישור לשינוי הסיסמה נשלח לכתובת הדוא״ל שלך</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>נא ללחוץ עליו כדי לשנות את הסיסמה</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>משתמש זה אינו קיים</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN מחובר</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>ה־VPN מחובר</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>מוכן להתחברות</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>ה־VPN מנותק</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>החיבור נכשל</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>חיבור ה־VPN נכשל</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>התקנת TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>מתחבר...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>הקצאת IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>קבלת תצורה...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>פענוח כתובת...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>התחברות לשרת VPN</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>התנתקות משרת VPN</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>ביטול ההתחברות</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>מהירות</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>תוקף החשבון שלך פג</translation>
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
        <translation>ראשי</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>רכישה</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>לאחר הרכישה, נא להתחבר מחדש לחשבון שלך</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>חודש אחד</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 חודשים</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>שנתיים</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>הרשמה</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>משתמשים חדשים זכאים לתקופת ניסיון חינם של יום אחד</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>דוא״ל:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>זהה לכתובת הדוא״ל של התשלום.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>סיסמה:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>לפחות 6 תווים</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>נא להקליד שוב את הסיסמה</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>התחברות</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>נכשל</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>טעינת רשימת השרתים נכשלה,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>שרתים</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>רענון</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>לחיצה כפולה לפתיחת התוכנה, לחיצה ימנית לתפריט</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>העדכון אינו חתום</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>החתימה של העדכון אינה תקפה</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>לא ניתן לקרוא את הקובץ שהורד</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>גודל הקובץ שהורד שגוי</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>הקובץ שהורד אינו הקובץ החתום</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>בדיקת עדכונים</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>בדיקת העדכונים נכשלה. נא לבדוק את חיבור הרשת ולנסות שוב.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>התוכנה שלך מעודכנת!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>עדכון לגרסה חדשה</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>גרסה חדשה &lt;b&gt; %1&lt;/b&gt; זמינה. לעדכן אליה?</translation>
    </message>
</context>
</TS>
