-- Version 6: the bindings of a client in a branch, by index.
--
-- A change of a client's data in a branch (CLIENTEFILIAL) touches that client's bindings in
-- the branch. Looking them up by client alone, or by the primary key's branch prefix, passes
-- over every binding of the client or of the branch: writing a branch's clients one by one
-- cost a scan of the branch's bindings each. This index finds them directly, and serves the
-- lookups by client alone as well, so it replaces the index on the client.

CREATE INDEX SERVCLIE_CLIENTE_FILIAL ON SERVCLIE (CDCLIENTE, CDFILIAL);
DROP INDEX SERVCLIE_CLIENTE;

PRAGMA user_version = 6;
