# Writes OUTPUT, a C++ source defining the schema scripts of both engines from SQL_DIR:
# server::kSchemaSql, server::kDemoSql and server::kSchemaUpgrades (SQLite: schema.sql, demo.sql,
# upgrade_<version>_<name>.sql in version order), and server::kPostgresqlSchemaSql and
# server::kPostgresqlSchemaUpgrades (the same from SQL_DIR/postgresql; the demo data is shared).
# Bytes are written as numbers: the scripts are larger than a portable string literal.
function(embed_bytes file name out_var)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  set(${out_var}
      "const char ${name}[] = {${bytes}'\\0'};\n"
      PARENT_SCOPE)
endfunction()

# Defines the bytes of every upgrade script of `dir` (prefix names them) into out_bytes, and
# the list {version, bytes} into out_list; out_count is how many there are.
function(embed_upgrades dir prefix out_bytes out_list out_count)
  file(GLOB upgrade_files "${dir}/upgrade_*.sql")
  list(SORT upgrade_files COMPARE NATURAL)
  set(bytes_text "")
  set(list_text "")
  foreach(upgrade_file ${upgrade_files})
    get_filename_component(upgrade_name "${upgrade_file}" NAME)
    string(REGEX MATCH "^upgrade_([0-9]+)_" ignored "${upgrade_name}")
    set(version "${CMAKE_MATCH_1}")
    embed_bytes("${upgrade_file}" k${prefix}Upgrade${version}Bytes bytes)
    string(APPEND bytes_text "${bytes}\n")
    string(APPEND list_text "    {${version}, k${prefix}Upgrade${version}Bytes},\n")
  endforeach()
  list(LENGTH upgrade_files count)
  set(${out_bytes} "${bytes_text}" PARENT_SCOPE)
  set(${out_list} "${list_text}" PARENT_SCOPE)
  set(${out_count} ${count} PARENT_SCOPE)
endfunction()

embed_bytes("${SQL_DIR}/schema.sql" kSchemaBytes schema)
embed_bytes("${SQL_DIR}/demo.sql" kDemoBytes demo)
embed_upgrades("${SQL_DIR}" Sqlite upgrades upgrade_list upgrade_count)
embed_bytes("${SQL_DIR}/postgresql/schema.sql" kPostgresqlSchemaBytes pg_schema)
embed_upgrades("${SQL_DIR}/postgresql" Postgresql pg_upgrades pg_upgrade_list pg_upgrade_count)

file(WRITE "${OUTPUT}.tmp"
     "// Generated from db/*.sql and db/postgresql/*.sql by server/embed_sql.cmake; do not edit.\n"
     "#include \"server/embedded_sql.h\"\n\n"
     "namespace server {\n\nnamespace {\n\n"
     "${schema}\n${demo}\n${upgrades}\n${pg_schema}\n${pg_upgrades}"
     "const SchemaUpgrade kUpgradeList[] = {\n${upgrade_list}};\n"
     "const SchemaUpgrade kPostgresqlUpgradeList[] = {\n${pg_upgrade_list}};\n\n"
     "}  // namespace\n\n"
     "const char* const kSchemaSql = kSchemaBytes;\n"
     "const char* const kDemoSql = kDemoBytes;\n"
     "const std::span<const SchemaUpgrade> kSchemaUpgrades(kUpgradeList, ${upgrade_count});\n"
     "const char* const kPostgresqlSchemaSql = kPostgresqlSchemaBytes;\n"
     "const std::span<const SchemaUpgrade> kPostgresqlSchemaUpgrades(kPostgresqlUpgradeList, "
     "${pg_upgrade_count});\n\n"
     "}  // namespace server\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
