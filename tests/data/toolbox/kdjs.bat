@echo off
color 1a
echo 正在优化宽带网速，优化后，本窗口将自动关闭
echo 正在清除ARP缓存……
arp -d >nul 2>&0
echo 正在清除NetBEUI缓存……
nbtstat -R 
echo 正在清除DNS缓存……
ipconfig /flushdns 
echo 重新注册 WINS 
nbtstat -RR 
echo 重新注册 DNS 
ipconfig /registerdns
echo 修复成功……
echo 正在清理系统垃圾文件，请稍等......
del /f /s /q "%userprofile%\Local Settings\Temporary Internet Files\*.*"
del /f /s /q "%userprofile%\AppData\Local\Microsoft\Windows\Temporary Internet Files\*.*"
echo 清理系统垃圾完成！
Getmac /v /nh /fo csv | find /i "Device" > mac_all.ini
ping 127.0.0.1>nul
for /f "tokens=1-3* delims=," %%a in (mac_all.ini) do if not "%%d"==""媒体被断开"" (
    set myname=%%a
    rem 网卡:%%b
    set mymac=%%c
    rem 协议:%%d
)
set myname=%myname:~1,-1%
set mymac=%mymac:~1,-1%
echo 当前mac为%mymac%，网卡名称叫做"%myname%"
echo.
set BDLJ="%myname%"
set DNS1=114.114.114.114
set DNS2=8.8.8.8
::------------------------------------
netsh interface ip set dns name="%myname%" source=static addr=%DNS1% register=PRIMARY
netsh interface ip add dns name="%myname%" addr=%DNS2%
netsh interface ip set dns name="本地连接" source=static addr=%DNS1% register=PRIMARY
netsh interface ip add dns name="本地连接" addr=%DNS2%
netsh interface ip set dns name="无线网络连接" source=static addr=%DNS1% register=PRIMARY
netsh interface ip add dns name="无线网络连接" addr=%DNS2%
netsh interface ip set dns name="无线网络连接2" source=static addr=%DNS1% register=PRIMARY
netsh interface ip add dns name="无线网络连接2" addr=%DNS2%
netsh interface ip set dns name="zelvina_wifi" source=static addr=%DNS1% register=PRIMARY
netsh interface ip add dns name="zelvina_wifi" addr=%DNS2%
netsh interface ip set dns name="宽带连接" source=static addr=%DNS1% register=PRIMARY
netsh interface ip add dns name="宽带连接" addr=%DNS2%
netsh interface ip set dns name="宽带连接2" source=static addr=%DNS1% register=PRIMARY
netsh interface ip add dns name="宽带连接2" addr=%DNS2%
echo.


