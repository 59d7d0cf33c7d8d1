#!/usr/bin/env bash
# Starts and stops the private PostgreSQL cluster of the database tests.
#
#   pg-test-cluster.sh start STATE_DIR DEMO_SQL_DIR
#   pg-test-cluster.sh stop STATE_DIR
#   pg-test-cluster.sh pause|resume STATE_DIR
#
# start creates a new cluster in a fresh folder of its own, listening on 127.0.0.1 only at a
# free port, loads the demo scripts into the database "korvell_template" (which nobody
# connects to, so tests can copy it) and copies that to "korvell_demo". STATE_DIR/info then
# holds host, port, user, password and the two database names, one key=value per line.
# pause stops the server and keeps its data; resume starts it again on the same port, so tests
# can take the server away under a running program. A system cluster is never touched.
# PostgreSQL refuses to run as root; as root the cluster runs as the "postgres" system user.
set -euo pipefail

command=${1:-}
state=${2:-}
if [ -z "$command" ] || [ -z "$state" ]; then
    echo "usage: $0 start STATE_DIR DEMO_SQL_DIR | stop|pause|resume STATE_DIR" >&2
    exit 2
fi

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] && command -v pg_config >/dev/null; then
    bindir=$(pg_config --bindir)
fi
if [ ! -x "$bindir/pg_ctl" ]; then
    echo "PostgreSQL server binaries not found (install the postgresql package)" >&2
    exit 1
fi

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

stop_cluster() {
    if [ -f "$state/cluster-dir" ]; then
        local dir
        dir=$(cat "$state/cluster-dir")
        if [ -d "$dir/data" ]; then
            as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
        fi
        case "$dir" in
            */korvell-pg.*) rm -rf "$dir" ;;
        esac
        rm -f "$state/cluster-dir"
    fi
    rm -f "$state/info"
}

server_option() {
    echo "-c listen_addresses=127.0.0.1 -p $1 -k $2 -c fsync=off"
}

case "$command" in
stop)
    stop_cluster
    exit 0
    ;;
pause)
    dir=$(cat "$state/cluster-dir")
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    exit 0
    ;;
resume)
    dir=$(cat "$state/cluster-dir")
    port=$(sed -n 's/^port=//p' "$state/info")
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 -o "$(server_option "$port" "$dir")" \
        start >/dev/null
    exit 0
    ;;
start)
    demo=${3:-}
    if [ ! -f "$demo/01-schema.sql" ]; then
        echo "demo scripts not found in '$demo'" >&2
        exit 2
    fi
    ;;
*)
    echo "unknown command '$command'" >&2
    exit 2
    ;;
esac

mkdir -p "$state"
stop_cluster

dir=$(mktemp -d "${TMPDIR:-/tmp}/korvell-pg.XXXXXX")
echo "$dir" >"$state/cluster-dir"
# A start that fails half-way leaves nothing running.
trap 'stop_cluster' ERR
password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
printf '%s\n' "$password" >"$dir/pwfile"
chmod 700 "$dir"
chmod 600 "$dir/pwfile"
if [ "$(id -u)" -eq 0 ]; then
    chown -R postgres: "$dir"
fi

as_owner "$bindir/initdb" -D "$dir/data" -U korvell --pwfile="$dir/pwfile" --auth=scram-sha-256 \
    --no-sync -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || {
    cat "$dir/initdb.log" >&2
    exit 1
}

# Another cluster (another build's tests) may hold a port: try a few at random.
port=
for _ in $(seq 1 20); do
    candidate=$((20000 + RANDOM % 30000))
    if as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
        -o "$(server_option "$candidate" "$dir")" start >/dev/null 2>&1; then
        port=$candidate
        break
    fi
done
if [ -z "$port" ]; then
    echo "the test cluster did not start; its log:" >&2
    cat "$dir/server.log" >&2 || true
    exit 1
fi

export PGPASSWORD=$password
psql_run() {
    psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U korvell "$@"
}
psql_run -d postgres -c "CREATE DATABASE korvell_template"
for script in 01-schema.sql 02-content.sql 03-procedures.sql postgresql-functions.sql; do
    psql_run -d korvell_template -f "$demo/$script"
done
psql_run -d postgres -c "CREATE DATABASE korvell_demo TEMPLATE korvell_template"

umask 077
cat >"$state/info" <<INFO
host=127.0.0.1
port=$port
user=korvell
password=$password
database=korvell_demo
template=korvell_template
INFO
