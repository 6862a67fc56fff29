# The toolbox's WiFi hotspot and broadband tune-up, clicked through as a person would, against a
# fake nmcli that keeps NetworkManager's state in files: a laptop with a wired connection that
# carries the Internet, a WiFi card, a VPN, a container bridge and a connection shared to
# another computer, names in Chinese. Checks what nmcli was asked.
NM="$DESKTOP_WORK/nm"
mkdir -p "$NM/bin"
printf '%s\n' 1.1.1.1 >"$NM/dns.u-eth0"
cat >"$NM/bin/nmcli" <<'EOF'
#!/bin/bash
# Answers as nmcli 1.42 does in terse mode; under a locale that is not UTF-8 every non-ASCII
# character comes out as "?", as GLib prints it.
NM=$(dirname "$(dirname "$0")")
printf '%s' nmcli >>"$NM/calls.log"; printf '|%s' "$@" >>"$NM/calls.log"; echo >>"$NM/calls.log"
out() {
    case "${LC_ALL:-${LC_CTYPE:-$LANG}}" in
    *[Uu][Tt][Ff]-8* | *[Uu][Tt][Ff]8*) printf '%s\n' "$@" ;;
    *) printf '%s\n' "$@" | perl -CS -pe 's/[^\x00-\x7f]/?/g' ;;
    esac
}
hotspot=$([ -f "$NM/hotspot" ] && cat "$NM/hotspot")
case "$*" in
"-t -f DEVICE,TYPE,STATE,CONNECTION device")
    out "eth0:ethernet:connected:有线连接 1" "eth1:ethernet:connected:共享\:给PC" \
        "wlan0:wifi:${hotspot:-disconnected}:${hotspot:+zelvina_wifi}" "tun0:tun:connected (externally):tun0" \
        "docker0:bridge:connected (externally):docker0" "lo:loopback:connected (externally):lo" ;;
"connection delete id zelvina_wifi" | "connection delete zelvina_wifi")
    [ -f "$NM/profile" ] || { out "Error: unknown connection 'zelvina_wifi'." >&2; exit 10; }
    rm -f "$NM/profile" "$NM/hotspot" ;;
"connection add type wifi ifname wlan0 con-name zelvina_wifi "*) touch "$NM/profile" ;;
"connection up id zelvina_wifi passwd-file "*)
    stat -c %a "$6" >"$NM/key_mode"
    cp "$6" "$NM/key_file"
    echo connected >"$NM/hotspot" ;;
"-t -f UUID,DEVICE,TYPE,NAME connection show --active")
    out "u-eth0:eth0:802-3-ethernet:有线连接 1" "u-vpn:tun0:vpn:公司VPN" "u-br:docker0:bridge:docker0" \
        "u-share:eth1:802-3-ethernet:共享\:给PC" "u-lo:lo:loopback:lo" ;;
"-t -f GENERAL.DEFAULT,ipv4.method,ipv4.dns,ipv4.ignore-auto-dns connection show u-eth0")
    out GENERAL.DEFAULT:yes ipv4.method:auto "ipv4.dns:$(cat "$NM/dns.u-eth0")" ipv4.ignore-auto-dns:no ;;
"-t -f GENERAL.DEFAULT,ipv4.method,ipv4.dns,ipv4.ignore-auto-dns connection show u-share")
    out GENERAL.DEFAULT:no ipv4.method:shared ipv4.dns: ipv4.ignore-auto-dns:no ;;
"connection modify u-share "*)
    out "Error: Failed to modify connection '共享:给PC': ipv4.dns: this property is not allowed for 'method=shared'" >&2
    exit 1 ;;
"connection modify u-eth0 ipv4.dns "*) printf '%s\n' "$5" >"$NM/dns.u-eth0" ;;
"device reapply "*) ;;
*) out "Error: the fake does not know this call." >&2; exit 2 ;;
esac
EOF
printf '#!/bin/sh\nexit 0\n' >"$NM/bin/resolvectl"
chmod +x "$NM/bin/nmcli" "$NM/bin/resolvectl"
export PATH="$NM/bin:$PATH"
TOOL="$PROFILE/my documents/zelv/tool"
calls() { cat "$NM/calls.log" 2>/dev/null; }
# A message box is up beside the hub: two windows with the program's title.
message_box_up() { [ "$(xdotool search --onlyvisible --name '^Zelvora$' | wc -l)" -ge 2 ]; }
asked() { calls | grep -qF -- "$1"; }

desktop_start
program_start
click moban.Label9
wait_until window_shown tool || fail "the toolbox did not show"

note "the hotspot"
click tool.Image7
wait_until control_shown tooldiao.mi || fail "the hotspot's fields did not show"
click tooldiao.mi
xdotool type --delay 60 'pa ss"&%w\rd'
screenshot hotspot-ready
click tooldiao.Command2
wait_until -t 20 test -f "$NM/hotspot" || fail "the hotspot was not started: $(calls)"
asked "nmcli|connection|add|type|wifi|ifname|wlan0|con-name|zelvina_wifi|autoconnect|no|ssid|zelvina|" \
    || fail "the hotspot was not made on the WiFi card: $(calls)"
[ "$(cat "$NM/key_mode")" = 600 ] || fail "the key file others may read: mode $(cat "$NM/key_mode")"
[ "$(cat "$NM/key_file")" = '802-11-wireless-security.psk:pa\ ss"&%w\\rd' ] \
    || fail "nmcli got the key as $(cat "$NM/key_file")"
! calls | grep -qF 'ss"&%w' || fail "the key went on a command line"
# The countdown ends with the DNS hint.
wait_until -t 20 message_box_up || fail "the DNS hint did not come after the countdown"
screenshot hotspot-hint
xdotool key Return
wait_until window_hidden tooldiao || fail "the runner did not close after the hint"
[ ! -e "$TOOL/wifi_key.txt" ] && [ ! -e "$TOOL/start.bat" ] || fail "the key stayed in the tool folder"

note "the tune-up"
: >"$NM/calls.log"
click tool.Image9
wait_until -t 20 asked "nmcli|device|reapply|eth0" || fail "the tune-up did not set the wired DNS: $(calls)"
[ "$(cat "$NM/dns.u-eth0")" = "127.0.0.1 127.0.0.1" ] || fail "the wired DNS is $(cat "$NM/dns.u-eth0")"
! calls | grep -q 'modify|u-\(vpn\|br\|share\|lo\)' || fail "DNS was changed beyond the wired connection: $(calls)"
screenshot tuneup-done
click tooldiao.Label3
wait_until window_hidden tooldiao || fail "the runner did not close"

note "putting the DNS back"
: >"$NM/calls.log"
click tool.Image9
wait_until message_box_up || fail "the tile did not ask whether to put the DNS back"
screenshot restore-question
xdotool key alt+y
wait_until -t 20 test ! -e "$TOOL/dns_record.txt" || fail "the record stayed: $(calls)"
[ "$(cat "$NM/dns.u-eth0")" = 1.1.1.1 ] || fail "the wired DNS came back as $(cat "$NM/dns.u-eth0")"
! asked "--active" || fail "putting the DNS back tuned up again: $(calls)"
screenshot restored
click tooldiao.Label3
wait_until window_hidden tooldiao || fail "the runner did not close"
expect_alive "after the toolbox's network jobs"
