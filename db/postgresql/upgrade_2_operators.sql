-- Version 2: operators who sign in, and their sessions.
--
-- Applied after schema.sql to a new database, and to a version 1 database by
-- appserver --upgrade-db. Operator codes are upper case, at most 12 characters (the size of
-- the operator columns of the other tables).

-- DSSENHA holds the password's memory-hard hash in its self-describing text form (algorithm,
-- parameters, salt and hash); NULL means the operator cannot sign in with a password (the local
-- operator of the desktop's embedded server). QTFALHAS counts the failed sign-ins since the
-- last good one and DTULTFALHA is when the last failed, for slowing down guessing.
CREATE TABLE OPERADOR (
  CDOPERADOR  TEXT NOT NULL PRIMARY KEY,
  NMOPERADOR  TEXT,
  DSSENHA     TEXT,
  IDATIVO     TEXT NOT NULL CHECK (IDATIVO IN ('S', 'N')),
  QTFALHAS    INTEGER NOT NULL DEFAULT 0,
  DTULTFALHA  DOUBLE PRECISION,
  DTALTOPER   DOUBLE PRECISION NOT NULL
);

-- A signed-in operator's session. DSCHAVE is a hash of the session token: the token itself is
-- never stored, so reading the database does not let anyone act as a signed-in operator.
-- A session ends when it is revoked (sign-out, password reset, operator disabled), after
-- DTEXPIRA, or when unused for the server's idle limit after DTULTUSO.
CREATE TABLE SESSAO (
  DSCHAVE     TEXT NOT NULL PRIMARY KEY,
  CDOPERADOR  TEXT NOT NULL REFERENCES OPERADOR (CDOPERADOR),
  DTINICIO    DOUBLE PRECISION NOT NULL,
  DTULTUSO    DOUBLE PRECISION NOT NULL,
  DTEXPIRA    DOUBLE PRECISION NOT NULL,
  DTREVOGACAO DOUBLE PRECISION
);
CREATE INDEX SESSAO_OPERADOR ON SESSAO (CDOPERADOR);

UPDATE VERSAOESQUEMA SET NRVERSAO = 2;
