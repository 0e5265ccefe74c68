#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests and the benchmarks.
#   scripts/pg-server.sh start DIR [--durable]
#       creates a fresh cluster in DIR (new or empty), starts it on 127.0.0.1
#       at a free port and writes DIR/env:
#         ATTENDANCE_TEST_PG_SERVER=127.0.0.1:PORT
#         ATTENDANCE_TEST_PG_USER=postgres
#         ATTENDANCE_TEST_PG_PASSWORD=...
#       (load it with: set -a; . DIR/env; set +a). Without --durable the server
#       skips fsync and friends: fast, and lost on a crash, as tests want.
#   scripts/pg-server.sh start-standby DIR PRIMARYDIR
#       a streaming standby of the server in PRIMARYDIR (pg_basebackup -R from
#       it), on a port of its own; DIR/env names it, same login and password.
#   scripts/pg-server.sh promote DIR
#       makes that standby a primary that accepts writes (pg_ctl promote).
#   scripts/pg-server.sh halt DIR fast|immediate
#       stops that server as pg_ctl's mode says and keeps DIR (the tests'
#       server that goes away).
#   scripts/pg-server.sh restart DIR
#       starts a halted server again, on its port.
#   scripts/pg-server.sh stop DIR
#       stops that server and removes DIR.
# Run as root, the cluster belongs to the "postgres" system user; otherwise to
# the current user. Debian's own cluster ("main") is neither used nor needed.
set -euo pipefail

MARKER=.attendance-pg-server
START_TIMEOUT=30

usage() {
    echo "usage: $0 start DIR [--durable] | start-standby DIR PRIMARYDIR | promote DIR |" \
        "halt DIR fast|immediate | restart DIR | stop DIR" >&2
    exit 2
}

die() {
    echo "pg-server: $*" >&2
    exit 1
}

# The bin folder of the newest installed server version.
pg_bin() {
    local best="" v
    for d in /usr/lib/postgresql/*/bin; do
        [ -x "$d/initdb" ] || continue
        v=$(basename "$(dirname "$d")")
        if [ -z "$best" ] || [ "${v%%.*}" -gt "$(basename "$(dirname "$best")" | cut -d. -f1)" ]; then
            best=$d
        fi
    done
    [ -n "$best" ] || die "no PostgreSQL server found under /usr/lib/postgresql (run scripts/install-deps.sh)"
    echo "$best"
}

# Runs a command as the cluster's owner, from inside the cluster folder (the
# server programs complain when they cannot read the current folder).
as_owner() {
    local owner=$1
    shift
    if [ "$(id -u)" -eq 0 ] && [ "$owner" != root ]; then
        (cd "$DIR" && runuser -u "$owner" -- "$@")
    else
        (cd "$DIR" && "$@")
    fi
}

random_port() {
    echo $(((RANDOM * 32768 + RANDOM) % 20001 + 20000))
}

# Makes DIR (new or empty) with its marker and socket folder; sets $OWNER.
prepare_dir() {
    if [ -e "$DIR" ]; then
        [ -d "$DIR" ] || die "$DIR is not a folder"
        [ -z "$(ls -A "$DIR")" ] || die "$DIR is not empty"
    else
        mkdir -p "$DIR"
    fi
    case "$DIR" in
    *[\',\"\\]* | *$'\n'*) die "the folder name must not hold quotes, commas, backslashes or line breaks" ;;
    esac
    # A Unix socket path is limited to 107 bytes.
    [ ${#DIR} -le 80 ] || die "the folder path is too long for the server's socket: $DIR"
    touch "$DIR/$MARKER"
    mkdir -m 0700 "$DIR/sock"

    if [ "$(id -u)" -eq 0 ]; then
        OWNER=postgres
        getent passwd "$OWNER" >/dev/null || die "no system user '$OWNER' (is the postgresql package installed?)"
        chown -R "$OWNER:" "$DIR"
        chmod 0700 "$DIR"
        runuser -u "$OWNER" -- test -w "$DIR" ||
            die "user '$OWNER' cannot reach $DIR (a parent folder is closed to it)"
    else
        OWNER=$(id -un)
    fi
}

start() {
    local durable=$1 owner bin password
    bin=$(pg_bin)
    prepare_dir
    owner=$OWNER

    password=$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')
    (umask 077 && printf '%s\n' "$password" >"$DIR/pwfile")
    [ "$owner" = "$(id -un)" ] || chown "$owner:" "$DIR/pwfile"

    # The data is thrown away afterwards, so initdb need not sync its files
    # even for the durable server; the server's own settings decide that.
    if ! as_owner "$owner" "$bin/initdb" -D "$DIR/data" -U postgres --pwfile="$DIR/pwfile" \
        -E UTF8 --locale=C.UTF-8 --auth-local=trust --auth-host=scram-sha-256 \
        --no-sync --no-instructions >"$DIR/initdb.log" 2>&1; then
        rm -f "$DIR/pwfile"
        cat "$DIR/initdb.log" >&2
        die "initdb failed"
    fi
    rm -f "$DIR/pwfile"

    # Only the socket inside DIR trusts; TCP wants the password. The server
    # listens on 127.0.0.1 only, so no other host or IPv6 lines.
    cat >"$DIR/data/pg_hba.conf" <<EOF
local all all trust
host  all all 127.0.0.1/32 scram-sha-256
local replication all trust
host  replication all 127.0.0.1/32 scram-sha-256
EOF
    {
        echo ""
        echo "# Throw-away server for the attendance tests"
        echo "listen_addresses = '127.0.0.1'"
        echo "unix_socket_directories = '$DIR/sock'"
        echo "max_connections = 100"
        echo "shared_buffers = 128MB"
        echo "password_encryption = scram-sha-256"
        echo "logging_collector = off"
        if [ "$durable" -eq 0 ]; then
            echo "fsync = off"
            echo "synchronous_commit = off"
            echo "full_page_writes = off"
        fi
        echo "include 'port.conf'"
    } >>"$DIR/data/postgresql.conf"
    [ "$owner" = "$(id -un)" ] || chown "$owner:" "$DIR/data/pg_hba.conf" "$DIR/data/postgresql.conf"

    launch "$owner" "$bin" ""
    write_env "$password"
}

# Starts the cluster DIR/data at a free port (trying others while taken);
# sets $port. Extra settings for port.conf in $3.
launch() {
    local owner=$1 bin=$2 extra=$3 started=0 attempt deadline logged
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        port=$(random_port)
        printf 'port = %s\n%s' "$port" "$extra" >"$DIR/data/port.conf"
        [ "$owner" = "$(id -un)" ] || chown "$owner:" "$DIR/data/port.conf"
        logged=0
        [ ! -f "$DIR/server.log" ] || logged=$(wc -l <"$DIR/server.log")
        deadline=$((SECONDS + START_TIMEOUT))
        # pg_ctl -w returns when the server is ready, has died, or the time
        # is up; it knows its child, so a server that dies at once is seen.
        if as_owner "$owner" "$bin/pg_ctl" start -D "$DIR/data" -l "$DIR/server.log" \
            -w -t "$START_TIMEOUT" >/dev/null 2>&1; then
            # Asked through this cluster's own socket: on 127.0.0.1 another
            # server holding the same port would answer too.
            while [ $SECONDS -le $deadline ]; do
                if "$bin/pg_isready" -q -h "$DIR/sock" -p "$port" -t 2; then
                    started=1
                    break
                fi
                sleep 0.1
            done
        fi
        if [ "$started" -eq 1 ]; then
            break
        fi
        if as_owner "$owner" "$bin/pg_ctl" status -D "$DIR/data" >/dev/null 2>&1; then
            # Running, but not accepting connections in the time allowed.
            as_owner "$owner" "$bin/pg_ctl" stop -D "$DIR/data" -m immediate >/dev/null 2>&1 || true
            tail -n 30 "$DIR/server.log" >&2 || true
            die "the server did not accept connections within ${START_TIMEOUT} s"
        fi
        if ! grep -q "could not bind\|could not create any TCP/IP sockets" \
            <<<"$(tail -n +$((logged + 1)) "$DIR/server.log")"; then
            tail -n 30 "$DIR/server.log" >&2 || true
            die "the server stopped while starting"
        fi
        echo "pg-server: port $port is taken, trying another (attempt $attempt)" >&2
    done
    if [ "$started" -ne 1 ]; then
        tail -n 30 "$DIR/server.log" >&2 || true
        die "no free port found"
    fi
}

write_env() {
    local password=$1
    (
        umask 077
        {
            echo "ATTENDANCE_TEST_PG_SERVER=127.0.0.1:$port"
            echo "ATTENDANCE_TEST_PG_USER=postgres"
            echo "ATTENDANCE_TEST_PG_PASSWORD=$password"
        } >"$DIR/env"
    )
    cat "$DIR/env"
}

start_standby() {
    local primary=$1 owner bin primary_port password
    bin=$(pg_bin)
    [ -e "$primary/$MARKER" ] && [ -f "$primary/env" ] || die "$primary is no server folder made by $0"
    primary_port=$(sed -n 's/^ATTENDANCE_TEST_PG_SERVER=.*://p' "$primary/env")
    password=$(sed -n 's/^ATTENDANCE_TEST_PG_PASSWORD=//p' "$primary/env")
    prepare_dir
    owner=$OWNER
    # -R: the copy starts as a standby that streams from the primary's socket.
    as_owner "$owner" "$bin/pg_basebackup" -D "$DIR/data" -h "$primary/sock" -p "$primary_port" \
        -U postgres -R -X stream -c fast >"$DIR/basebackup.log" 2>&1 ||
        { cat "$DIR/basebackup.log" >&2; die "pg_basebackup failed"; }
    launch "$owner" "$bin" "unix_socket_directories = '$DIR/sock'"$'\n'
    write_env "$password"
}

promote() {
    local owner
    [ -e "$DIR/$MARKER" ] || die "$DIR is not a server folder made by $0"
    owner=$(stat -c %U "$DIR/data")
    as_owner "$owner" "$(pg_bin)/pg_ctl" promote -D "$DIR/data" -w -t "$START_TIMEOUT" >/dev/null
    echo "promoted: $DIR"
}

halt() {
    local mode=$1 owner
    [ -e "$DIR/$MARKER" ] || die "$DIR is not a server folder made by $0"
    owner=$(stat -c %U "$DIR/data")
    as_owner "$owner" "$(pg_bin)/pg_ctl" stop -D "$DIR/data" -m "$mode" -w -t "$START_TIMEOUT" >/dev/null
    echo "halted: $DIR"
}

restart() {
    local owner bin
    [ -e "$DIR/$MARKER" ] || die "$DIR is not a server folder made by $0"
    owner=$(stat -c %U "$DIR/data")
    bin=$(pg_bin)
    as_owner "$owner" "$bin/pg_ctl" start -D "$DIR/data" -l "$DIR/server.log" \
        -w -t "$START_TIMEOUT" >/dev/null || die "the server did not start again"
    cat "$DIR/env"
}

stop() {
    local bin owner
    [ -d "$DIR" ] || die "$DIR does not exist"
    # Only ever remove a folder this script made.
    [ -e "$DIR/$MARKER" ] || die "$DIR is not a server folder made by $0"
    if [ -d "$DIR/data" ]; then
        bin=$(pg_bin)
        owner=$(stat -c %U "$DIR/data")
        if as_owner "$owner" "$bin/pg_ctl" status -D "$DIR/data" >/dev/null 2>&1; then
            as_owner "$owner" "$bin/pg_ctl" stop -D "$DIR/data" -m fast -t 30 >/dev/null 2>&1 ||
                as_owner "$owner" "$bin/pg_ctl" stop -D "$DIR/data" -m immediate -t 30 >/dev/null ||
                die "could not stop the server in $DIR; the folder is kept"
        fi
    fi
    rm -rf "$DIR"
}

[ $# -ge 2 ] || usage
command=$1
DIR=$(realpath -m -- "$2")
shift 2
case "$command" in
start)
    durable=0
    while [ $# -gt 0 ]; do
        case "$1" in
        --durable) durable=1 ;;
        *) usage ;;
        esac
        shift
    done
    start "$durable"
    ;;
start-standby)
    [ $# -eq 1 ] || usage
    start_standby "$(realpath -m -- "$1")"
    ;;
promote)
    [ $# -eq 0 ] || usage
    promote
    ;;
halt)
    [ $# -eq 1 ] && { [ "$1" = fast ] || [ "$1" = immediate ]; } || usage
    halt "$1"
    ;;
restart)
    [ $# -eq 0 ] || usage
    restart
    ;;
stop)
    [ $# -eq 0 ] || usage
    stop
    ;;
*) usage ;;
esac
