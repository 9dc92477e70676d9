# Writes OUTPUT, a C++ source defining server::kSchemaSql and server::kDemoSql from the scripts
# in SQL_DIR. Bytes are written as numbers: the scripts are larger than a portable string
# literal.
function(embed_bytes file name out_var)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  set(${out_var}
      "const char ${name}[] = {${bytes}'\\0'};\n"
      PARENT_SCOPE)
endfunction()

embed_bytes("${SQL_DIR}/schema.sql" kSchemaBytes schema)
embed_bytes("${SQL_DIR}/demo.sql" kDemoBytes demo)
file(WRITE "${OUTPUT}.tmp"
     "// Generated from db/*.sql by server/embed_sql.cmake; do not edit.\n"
     "#include \"server/embedded_sql.h\"\n\n"
     "namespace server {\n\nnamespace {\n\n"
     "${schema}\n${demo}\n"
     "}  // namespace\n\n"
     "const char* const kSchemaSql = kSchemaBytes;\n"
     "const char* const kDemoSql = kDemoBytes;\n\n"
     "}  // namespace server\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
