#!/usr/bin/env bash
# Runs one scenario script against a fresh PostgreSQL database with the demo data, on the
# server CPS_TEST_POSTGRESQL names (a URI of a database there whose role may create databases),
# and drops the database afterwards. Without that server the scenario is skipped (status 77).
#
#   on_postgresql.sh CLIENTES_SERVICO APPSERVER SCRIPT
set -euo pipefail
desktop=$1
appserver=$2
scenario=$3
if [[ -z "${CPS_TEST_POSTGRESQL:-}" ]]; then
  echo "CPS_TEST_POSTGRESQL names no PostgreSQL server: skipped"
  exit 77
fi
name="cps_scenario_$$_${RANDOM}"
# The same server and settings, another database: the path of the URI replaced.
server_part=${CPS_TEST_POSTGRESQL%%\?*}
query=${CPS_TEST_POSTGRESQL#"$server_part"}
authority=${server_part#*://}
authority=${authority%%/*}
uri="${server_part%%://*}://${authority}/${name}${query}"

psql -qX "$CPS_TEST_POSTGRESQL" -c "CREATE DATABASE $name" >/dev/null
trap 'psql -qX "$CPS_TEST_POSTGRESQL" -c "DROP DATABASE IF EXISTS $name WITH (FORCE)" >/dev/null' EXIT
"$appserver" --init-db "$uri" --demo >/dev/null
"$desktop" script --quiet --db "$uri" "$scenario"
