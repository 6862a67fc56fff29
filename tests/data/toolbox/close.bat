netsh wlan stop hostednetwork
netsh wlan set hostednetwork mode=disallow
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
net start MpsSvc
cscript /nologo "%~dp0\ics.vbs" "zelvina_wifi" "Home:Net" "off"
cscript /nologo "%~dp0\ics.vbs" "zelvina_wifi" "%myname%" "off"
