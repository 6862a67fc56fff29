# Nobody else gets this user's program: a stranger listening where a second start would look
# receives no file names and the program starts by itself; a second program on the same
# profile that cannot hand its files over says so and ends, and the first keeps running.
desktop_start
secret="$DESKTOP_WORK/secret interview.wav"
make_wav "$secret" 1
if [ "$(id -u)" = 0 ]; then
    # The stranger, another user id, owns the names a start could try in a shared temporary
    # folder: the instance name itself, and the fallback folder of this user's id.
    stranger=54321
    # A short path of its own: a socket's name holds at most 107 bytes, and the build folder
    # may be deep.
    TMPDIR=$(mktemp -d /tmp/zelvora-shared.XXXXXX)
    export TMPDIR
    chmod 1777 "$TMPDIR"
    trap 'stop_all; rm -rf "$TMPDIR"' EXIT
    install -d -m 777 -o "$stranger" "$TMPDIR/zelvora-$(id -u)"
    install -m 666 /dev/null "$TMPDIR/stolen"
    for name in "$TMPDIR/$ZELVORA_INSTANCE" "$TMPDIR/zelvora-$(id -u)/$ZELVORA_INSTANCE"; do
        # shellcheck disable=SC2016 # Perl's own variables
        setpriv --reuid=$stranger --regid=$stranger --clear-groups perl -MIO::Socket::UNIX -e '
            my $s = IO::Socket::UNIX->new(Local => $ARGV[0], Listen => 5) or die "listen: $!";
            open(my $log, ">>", $ARGV[1]) or die;
            $log->autoflush(1);
            while (my $c = $s->accept) { my $got; $c->recv($got, 65536); print $log $got; $c->send("ok"); }
        ' "$name" "$TMPDIR/stolen" &
        HELPER_PIDS+=($!)
        wait_until test -S "$name" || fail "the stranger could not listen at $name"
    done
    for runtime in "$XDG_RUNTIME_DIR" ""; do
        note "runtime folder: ${runtime:-none}"
        XDG_RUNTIME_DIR=$runtime program_start "$secret"
        program_stop
        [ ! -s "$TMPDIR/stolen" ] || fail "the stranger received: $(tr '\0' ' ' <"$TMPDIR/stolen")"
    done
fi

program_start
# Another instance name: this start cannot reach the first program's channel.
QTWEBENGINE_DISABLE_SANDBOX=1 ZELVORA_INSTANCE="$ZELVORA_INSTANCE-other" "$ZELVORA" --profile "$PROFILE" \
    --config "$SUITE_DIR/../scripts/offline.cfg" >"$DESKTOP_WORK/second.out" 2>&1 &
second=$!
shows_window() { xdotool search --onlyvisible --pid "$1" >/dev/null; }
wait_until -t 30 shows_window "$second" || fail "the second program showed nothing"
screenshot second-on-one-profile
xdotool windowactivate --sync "$(xdotool search --onlyvisible --pid "$second" | tail -n1)" key Return
wait_until -t 10 eval "! kill -0 $second" || fail "the second program on the same profile keeps running"
status=0
wait "$second" || status=$?
[ "$status" -ne 0 ] || fail "the second program ended with status 0"
expect_alive "after the second program"
