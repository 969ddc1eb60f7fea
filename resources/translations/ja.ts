<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>アカウント情報</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>メールアドレス</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>有効期限:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>マシン ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>最終支払日:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>再ログインしてアカウント情報を更新してください</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>再ログイン</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>ログアウト</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>メールアドレスを入力してください</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>アカウント情報を更新しました</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>申し訳ありません。アカウント情報を更新できませんでした。ネットワークを確認して、もう一度お試しください。</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>パスワードを入力してください</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>無効なメールアドレスです</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>申し訳ありません。パスワードが一致しません</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>パスワードが 6 文字未満です</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>再ログインしてください</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
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
        <translation>お住まいの国の法律により、本製品の使用は禁止されています</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>アプリを評価</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>オンラインヘルプ</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>ヘルプデスク</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>更新を確認</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>システム起動時に実行</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>アカウントにログイン</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN ヘルプ</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>ログインしてください</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>VPN サーバーを変更</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>サーバーを選択</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>VPN を契約</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>契約する</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>有効期限</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>ログイン</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>メールアドレス:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>メールアドレスを入力</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>パスワード:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>パスワードを入力</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>自動ログイン</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>新規登録</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>パスワードを忘れた場合</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>パスワードを変更</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>バージョン情報 </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>バージョン:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>ウェブサイト:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>サポート:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. 無断転載を禁じます。</translation>
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
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>はい</translation>
    </message>
    <message>
        <source>No</source>
        <translation>いいえ</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>最新バージョンをダウンロード</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>更新をインストール</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>プログラムを終了して新しいバージョンをインストールしますか？</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>更新をダウンロードできません。</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>ダウンロードした更新は拒否され、削除されました: %1。</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>パッケージインストーラーが見つかりません。検証済みのパッケージは %1 にあります。</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>現在のタスクをキャンセルしますか？</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>ダウンロードに失敗しました: %1。%2 をクリックして手動でダウンロードしてください。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
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
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>はい</translation>
    </message>
    <message>
        <source>No</source>
        <translation>いいえ</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>すべてにはい</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>すべてにいいえ</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>URL が空です。</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>失敗しました。ファイルサイズが正しくありません。</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>サーバーがステータス %1 を返しました</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>サーバーが要求されたファイルの部分を送信しませんでした (ステータス %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>サーバーが要求とは異なるファイルの部分を送信しました</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>サーバーが要求された部分を超えるデータを送信しました</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>転送が途中で終了しました</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>アカウントの有効期限切れ</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>アカウントの有効期限が切れました。Quellnet のサービスをご購入ください</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>購入済みの場合は、再ログインして情報を更新してください</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>後で</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>今すぐ購入</translation>
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
        <translation>TAP のインストール</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>ネットワークを修復しました。</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>申し訳ありません。ネットワークを修復できませんでした: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>システム起動時に実行</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>申し訳ありません。スタートアップ項目を %1 に書き込めませんでした</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>言語の変更</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>言語を変更しました。再起動後に完全に反映されます。</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>プログラムは引き続き実行中です</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>スピードテスト</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>キルスイッチ</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <source>On</source>
        <translation>オン</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>切断中は通信をブロック</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>ローカルネットワークへの通信を許可</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>サポート</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>ヘルプデスク</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>オンラインヘルプ</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>ログを開く</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>TAP を修復</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP アドレスの確認</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS リークテスト</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Quellnet について</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>トレイアイコンとして実行</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>メインウィンドウを表示</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>無効なリクエストです。プログラムを再インストールしてください</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>パスワードの再設定に失敗しました。もう一度お試しください</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>ログインに失敗しました</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>登録に失敗しました</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>パスワードの再設定</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>メールアドレスまたはパスワードが空です</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>各システムで 1 つのアカウントに紐付けできるデバイスは 1 台のみです</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>パスワードが正しくないか、ユーザーが存在しません</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>このメールアドレスは登録済みです。このアドレスでログインしてください</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>登録に失敗しました。もう一度お試しください</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>パスワードの再設定</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>パスワード変更用のリンクをメールアドレスに送信しました</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>リンクをクリックしてパスワードを変更してください</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>申し訳ありません。このユーザーは存在しません</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN 接続済み</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN に接続しました</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>接続準備完了</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN を切断しました</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>接続に失敗しました</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN 接続に失敗しました</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>TAP をインストール中...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>接続中...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>IP を割り当て中...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>設定を取得中...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>名前解決中...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>VPN サーバーに接続</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>VPN サーバーから切断</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>接続をキャンセル</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>アカウントの有効期限が切れています</translation>
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
        <translation>ホーム</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>購入</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>購入後、アカウントに再ログインしてください</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 か月</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 か月</translation>
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
        <translation>新規登録</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>新規登録ユーザーは 1 日間の無料トライアルをご利用いただけます</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>メールアドレス:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>お支払い時のメールアドレスと同じものを使用してください。</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>パスワード:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>6 文字以上</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>パスワードを再入力</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>ログイン</translation>
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
        <translation>サーバーリストの読み込みに失敗しました。</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>サーバー</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>更新</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>ダブルクリックでプログラムを表示、右クリックでメニューを表示</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>更新に署名がありません</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>更新の署名が無効です</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>ダウンロードしたファイルを読み取れません</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>ダウンロードしたファイルのサイズが正しくありません</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>ダウンロードしたファイルは署名されたファイルではありません</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>更新の確認</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>更新の確認に失敗しました。ネットワークを確認して、もう一度お試しください。</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>ソフトウェアは最新です！</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>新しいバージョンに更新</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>新しいバージョン &lt;b&gt; %1&lt;/b&gt; が利用可能です。更新しますか？</translation>
    </message>
</context>
</TS>
