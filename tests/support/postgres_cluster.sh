#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for one test run.
#   postgres_cluster.sh start DIR   initdb into DIR/data, start on a free port, write
#                                   DIR/server (the location the tests connect to)
#   postgres_cluster.sh stop DIR    stop the server and remove DIR
# The server runs as an unprivileged user when the tests run as root (PostgreSQL
# refuses root): the "postgres" user that Debian's package creates. Every failure
# ends with the reason and a non-zero status, so the tests that need the cluster fail
# instead of being skipped.
set -euo pipefail
action="${1:?start or stop}"
dir="${2:?folder}"
bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)"
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "postgres_cluster: no PostgreSQL server programs (install the package postgresql: scripts/install-deps)" >&2
  exit 1
fi
as_server=()
if [ "$(id -u)" -eq 0 ]; then
  if ! id postgres >/dev/null 2>&1; then
    echo "postgres_cluster: running as root and there is no user postgres to run the server as" >&2
    exit 1
  fi
  as_server=(runuser -u postgres --)
fi

case "$action" in
  start)
    if [ -f "$dir/data/postmaster.pid" ]; then
      "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" stop -m immediate >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
    # ICU collations (sk-x-icu, cs-x-icu) come with every database; C.UTF-8 gives
    # Unicode case folding to the server's own functions.
    if ! "${as_server[@]}" "$bindir/initdb" -D "$dir/data" -U orvek --auth=trust --encoding=UTF8 \
        --locale=C.UTF-8 >"$dir/initdb.log" 2>&1; then
      echo "postgres_cluster: initdb failed:" >&2
      cat "$dir/initdb.log" >&2
      exit 1
    fi
    # A free port: a random one that nothing answers on; tried again when the server
    # still finds it taken.
    started=""
    for attempt in 1 2 3 4 5; do
      port=$((20000 + RANDOM % 40000))
      if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then continue; fi
      if "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
          -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c max_connections=300 -c fsync=off \
              -c synchronous_commit=off -c full_page_writes=off" >/dev/null 2>&1; then
        started=yes
        break
      fi
    done
    if [ -z "$started" ]; then
      echo "postgres_cluster: the server did not start:" >&2
      cat "$dir/server.log" >&2 || true
      exit 1
    fi
    echo "postgresql://127.0.0.1:$port/postgres?user=orvek" >"$dir/server"
    chmod 0644 "$dir/server"
    echo "postgres_cluster: server on 127.0.0.1:$port ($("$bindir/postgres" --version))"
    ;;
  stop)
    if [ -f "$dir/data/postmaster.pid" ]; then
      "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" stop -m fast -w >/dev/null 2>&1 \
        || "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" stop -m immediate >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
  *) echo "usage: postgres_cluster.sh start|stop DIR" >&2; exit 2 ;;
esac
