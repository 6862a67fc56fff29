' Switches Internet Connection Sharing between two connections.
' cscript /nologo ics.vbs "private connection" "public connection" on|off
'   private: the connection others connect to; public: the one with the Internet access.
Option Explicit

Dim share, args
Set args = WScript.Arguments

On Error Resume Next
Set share = WScript.CreateObject("HNetCfg.HNetShare.1")
If Err.Number <> 0 Or Not IsObject(share) Then
    WScript.Echo "Unable to get the HNetCfg.HnetShare.1 object"
    WScript.Quit 1
End If
On Error GoTo 0

If Not share.SharingInstalled Then
    WScript.Echo "Sharing isn't available on this platform."
    WScript.Quit 1
End If

If args.Count <> 3 Then
    ListConnections
    WScript.Echo "Usage: cscript /nologo ics.vbs ""private connection"" ""public connection"" on|off"
    WScript.Quit 1
End If

Switch args(0), args(1), LCase(args(2))

Sub Switch(privateName, publicName, onOff)
    Dim connection, props, config, foundPrivate, foundPublic
    foundPrivate = False
    foundPublic = False
    For Each connection In share.EnumEveryConnection
        Set props = share.NetConnectionProps(connection)
        Set config = share.INetSharingConfigurationForINetConnection(connection)
        If props.Name = privateName Then
            foundPrivate = True
            Describe props
            SetSharing config, 1, onOff
        ElseIf props.Name = publicName Then
            foundPublic = True
            Describe props
            SetSharing config, 0, onOff
        End If
    Next
    If Not foundPrivate Then WScript.Echo "Connection """ & privateName & """ was not found"
    If Not foundPublic Then WScript.Echo "Connection """ & publicName & """ was not found"
End Sub

' Type 1 shares as the private side, type 0 as the public side; "off" ends the sharing.
Sub SetSharing(config, sharingType, onOff)
    If onOff = "on" Then
        If Not config.SharingEnabled Then config.EnableSharing sharingType
    ElseIf onOff = "off" Then
        If config.SharingEnabled Then config.DisableSharing
    End If
End Sub

Sub ListConnections
    Dim connection
    For Each connection In share.EnumEveryConnection
        Describe share.NetConnectionProps(connection)
    Next
End Sub

Sub Describe(props)
    WScript.Echo "Name:       " & props.Name
    WScript.Echo "GUID:       " & props.Guid
    WScript.Echo "DeviceName: " & props.DeviceName
    WScript.Echo "Status:     " & props.Status
    WScript.Echo "MediaType:  " & props.MediaType
    WScript.Echo
End Sub
