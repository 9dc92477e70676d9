# Writes OUTPUT, a C++ source defining server::kSchemaSql, server::kDemoSql and the schema
# upgrades (server::kSchemaUpgrades, from SQL_DIR/upgrade_<version>_<name>.sql in version order)
# from the scripts in SQL_DIR. Bytes are written as numbers: the scripts are larger than a
# portable string literal.
function(embed_bytes file name out_var)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  set(${out_var}
      "const char ${name}[] = {${bytes}'\\0'};\n"
      PARENT_SCOPE)
endfunction()

embed_bytes("${SQL_DIR}/schema.sql" kSchemaBytes schema)
embed_bytes("${SQL_DIR}/demo.sql" kDemoBytes demo)

file(GLOB upgrade_files "${SQL_DIR}/upgrade_*.sql")
list(SORT upgrade_files COMPARE NATURAL)
set(upgrades "")
set(upgrade_list "")
foreach(upgrade_file ${upgrade_files})
  get_filename_component(upgrade_name "${upgrade_file}" NAME)
  string(REGEX MATCH "^upgrade_([0-9]+)_" ignored "${upgrade_name}")
  set(version "${CMAKE_MATCH_1}")
  embed_bytes("${upgrade_file}" kUpgrade${version}Bytes bytes)
  string(APPEND upgrades "${bytes}\n")
  string(APPEND upgrade_list "    {${version}, kUpgrade${version}Bytes},\n")
endforeach()
list(LENGTH upgrade_files upgrade_count)

file(WRITE "${OUTPUT}.tmp"
     "// Generated from db/*.sql by server/embed_sql.cmake; do not edit.\n"
     "#include \"server/embedded_sql.h\"\n\n"
     "namespace server {\n\nnamespace {\n\n"
     "${schema}\n${demo}\n${upgrades}"
     "const SchemaUpgrade kUpgradeList[] = {\n${upgrade_list}};\n\n"
     "}  // namespace\n\n"
     "const char* const kSchemaSql = kSchemaBytes;\n"
     "const char* const kDemoSql = kDemoBytes;\n"
     "const std::span<const SchemaUpgrade> kSchemaUpgrades(kUpgradeList, ${upgrade_count});\n\n"
     "}  // namespace server\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
