<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>帳戶資訊</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>電子郵件</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>到期日：</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>裝置 ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>上次付款：</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>重新登入以更新您的帳戶資訊</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>重新登入</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>登出</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>請輸入電子郵件</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>重新整理</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>帳戶資訊已更新</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>抱歉，無法更新帳戶資訊，請檢查您的網路後再試一次。</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>請輸入密碼</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>無效的電子郵件地址</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>抱歉，兩次輸入的密碼不一致</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>密碼長度少於 6 個字元</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>請重新登入</translation>
    </message>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>禁止</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>根據您所在國家/地區的法律，我們的產品被禁止使用</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>說明</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>為應用程式評分</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>線上說明</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>客服中心</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>檢查更新</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>開機時自動啟動</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>登入您的帳戶</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN 說明</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>請登入</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>變更 VPN 伺服器</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>選擇伺服器</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>訂閱 VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>訂閱</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>到期日</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>登入</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>電子郵件：</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>輸入您的電子郵件</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密碼：</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>輸入您的密碼</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>自動登入</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>註冊</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>忘記密碼</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>變更密碼</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>關於 </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本：</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>網站：</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>支援：</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>版權所有 © %1 Quellnet。保留一切權利。</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>下載最新版本</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>安裝更新</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>是否要關閉程式以安裝新版本？</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>無法下載更新。</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>已拒絕並刪除下載的更新：%1。</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>找不到套件安裝程式。已驗證的套件位於 %1。</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>是否要取消目前的工作？</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>下載失敗：%1，您可以按一下 %2 手動下載。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>全部皆是</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>全部皆否</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>URL 為空。</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>失敗，檔案大小不正確。</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>伺服器回應狀態碼 %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>伺服器未傳送所要求的檔案部分（狀態碼 %1）</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>伺服器傳送的檔案部分與所要求的不同</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>伺服器傳送的資料超過所要求的檔案部分</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>傳輸提前結束</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>帳戶已到期</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>您的帳戶已到期，請購買 Quellnet 服務</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>若您已購買，請重新登入以更新資訊</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>稍後</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>立即購買</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP 安裝</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>網路已修復。</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>抱歉，無法修復網路：%1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>開機時自動啟動</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>抱歉，無法將開機啟動項目寫入 %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>變更語言</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>您已變更語言，重新啟動後將完全生效。</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>程式仍在執行中</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>語言</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>速度測試</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>斷網保護</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>On</source>
        <translation>開啟</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>斷線時封鎖流量</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>允許區域網路流量</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>支援</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>客服中心</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>線上說明</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>開啟記錄檔</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>修復 TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP 位址檢查</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS 洩漏測試</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>關於 Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>以系統匣圖示執行</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>結束</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>顯示主視窗</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>無效的要求，請重新安裝程式</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>找回密碼失敗，請再試一次</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>登入失敗</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>註冊失敗</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>找回密碼</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>電子郵件或密碼未填寫</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>每個系統中，同一帳戶只能綁定一台裝置</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>密碼錯誤或使用者不存在</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>此電子郵件已註冊，請使用此電子郵件登入</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>註冊失敗，請再試一次</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>找回密碼</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>變更密碼的連結已寄送至您的電子郵件地址</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>請點選該連結以變更密碼</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>抱歉，此使用者不存在</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN 已連線</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN 連線成功</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>可以連線</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN 已中斷連線</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>連線失敗</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN 連線失敗</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>正在安裝 TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>正在連線...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>正在指派 IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>正在取得設定...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>正在解析...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>連線至 VPN 伺服器</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>中斷 VPN 伺服器連線</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>取消連線</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>您的帳戶已到期</translation>
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
        <translation>首頁</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>購買</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>購買後，請重新登入您的帳戶</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 個月</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 個月</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 年</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>註冊</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>新註冊使用者可享一天免費試用</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>電子郵件：</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>須與您付款時使用的電子郵件相同。</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密碼：</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>至少 6 個字元</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>再次輸入密碼</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>登入</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>載入伺服器清單失敗，</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>伺服器</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>重新整理</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>按兩下以開啟程式，按右鍵以顯示選單</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>更新未簽署</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>更新的簽章無效</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>無法讀取下載的檔案</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>下載的檔案大小不正確</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>下載的檔案不是已簽署的檔案</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>檢查更新</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>檢查更新失敗，請檢查您的網路後再試一次。</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>您的軟體已是最新版本！</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>更新至新版本</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>有新版本 &lt;b&gt; %1&lt;/b&gt; 可用，是否要更新？</translation>
    </message>
</context>
</TS>
