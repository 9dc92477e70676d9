-- Version 6: the bindings of a client in a branch, by index (as in SQLite, version 6).
--
-- A change of a client's data in a branch (CLIENTEFILIAL) touches that client's bindings in
-- the branch; this index finds them directly, and serves the lookups by client alone as well,
-- so it replaces the index on the client.

CREATE INDEX SERVCLIE_CLIENTE_FILIAL ON SERVCLIE (CDCLIENTE, CDFILIAL);
DROP INDEX SERVCLIE_CLIENTE;

UPDATE VERSAOESQUEMA SET NRVERSAO = 6;
