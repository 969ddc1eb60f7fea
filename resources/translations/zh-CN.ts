<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>账户信息</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>邮箱</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>到期时间：</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>设备 ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>上次付款：</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>重新登录以刷新您的账户信息</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>重新登录</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>退出登录</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>请输入邮箱</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>账户信息已刷新</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>抱歉，无法刷新账户信息，请检查网络后重试。</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>请输入密码</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>无效的邮箱地址</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>抱歉，两次输入的密码不一致</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>密码长度少于 6 位</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>请重新登录</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
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
        <translation>根据您所在国家/地区的法律，我们的产品被禁止使用</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>为应用评分</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>在线帮助</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>客服中心</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>开机自动启动</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>登录您的账户</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN 帮助</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>请登录</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>更换 VPN 服务器</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>选择服务器</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>订阅 VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>订阅</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>到期时间</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>邮箱：</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>输入您的邮箱</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>输入您的密码</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>自动登录</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>注册</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>忘记密码</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>修改密码</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>关于 </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本：</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>网站：</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>技术支持：</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>版权所有 © %1 Quellnet。保留所有权利。</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
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
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>下载最新版本</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>安装更新</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>是否关闭程序以安装新版本？</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>无法下载更新。</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>下载的更新已被拒绝并删除：%1。</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>未找到软件包安装程序。已验证的软件包位于 %1。</translation>
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
        <translation>是否取消当前任务？</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>下载失败：%1，您可以点击 %2 手动下载。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
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
        <translation>全部是</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>全部否</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>URL 为空。</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>失败，文件大小不正确。</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>服务器返回状态码 %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>服务器未发送所请求的文件部分（状态码 %1）</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>服务器发送的文件部分与所请求的不一致</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>服务器发送的数据超出了所请求的文件部分</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>传输提前结束</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>账户已过期</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>您的账户已过期，请购买 Quellnet 服务</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>如果您已购买，请重新登录以更新信息</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>稍后</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>立即购买</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP 安装</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>网络已修复。</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>抱歉，无法修复网络：%1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>开机自动启动</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>抱歉，无法将开机启动项写入 %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>更改语言</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>您已更改语言，重启后将完全生效。</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>程序仍在运行</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>测速</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>断网保护</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>断开时阻止流量</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>允许局域网流量</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>技术支持</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>客服中心</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>在线帮助</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>打开日志</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>修复 TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP 地址检查</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS 泄漏测试</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>关于 Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>以托盘图标运行</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>显示主窗口</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>无效的请求，请重新安装程序</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>找回密码失败，请重试</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>登录失败</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>注册失败</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>找回密码</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>邮箱或密码为空</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>每个系统中，同一账户只能绑定一台设备</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>密码错误或用户不存在</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>该邮箱已注册，请使用该邮箱登录</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>注册失败，请重试</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>找回密码</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>修改密码的链接已发送到您的邮箱</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>请点击该链接修改密码</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>抱歉，该用户不存在</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN 已连接</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN 连接成功</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>可以连接</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN 已断开连接</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>连接失败</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN 连接失败</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>正在安装 TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>正在连接...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>正在分配 IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>正在获取配置...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>正在解析...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>连接 VPN 服务器</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>断开 VPN 服务器</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>取消连接</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>您的账户已过期</translation>
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
        <translation>首页</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>购买</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>购买后，请重新登录您的账户</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 个月</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 个月</translation>
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
        <translation>注册</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>新注册用户可享受一天免费试用</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>邮箱：</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>需与您的付款邮箱相同。</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>至少 6 位</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>再次输入密码</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>登录</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>加载服务器列表失败，</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>双击打开程序，右键单击弹出菜单</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>更新未签名</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>更新的签名无效</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>无法读取下载的文件</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>下载的文件大小不正确</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>下载的文件不是已签名的文件</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>检查更新失败，请检查网络后重试。</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>您的软件已是最新版本！</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>更新到新版本</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>新版本 &lt;b&gt; %1&lt;/b&gt; 可用，是否更新？</translation>
    </message>
</context>
</TS>
