-- Version 3: the trail of who changed what.
--
-- One row per field a write method changed, appended in the same transaction as the change:
-- when (the server's time of the call), who (the operator of the caller's session), which
-- method, which row (table, branch, service, client and the row's own key) and the field's
-- value before and after. Rows are only ever appended: the triggers refuse any change.
--
-- NRTRILHA numbers the rows in the order they were appended. IDOPERACAO is 'I' (row
-- inserted), 'A' (field altered) or 'E' (row deleted). DSCHAVE names the row's key fields
-- beyond branch, service and client as people read them ("CDTURNO=2"); it is NULL for a binding
-- itself. CDCLIENTE is NULL for a record of a whole service (a replication). IDTIPOVALOR tells
-- how the values are written: 'T' text as it is, 'N' a number and 'D' a date-time as its day
-- count, both with a decimal point. A NULL value is an empty field.
CREATE TABLE TRILHAALT (
  NRTRILHA    INTEGER NOT NULL PRIMARY KEY,
  DTALTERACAO REAL NOT NULL,
  CDOPERADOR  TEXT NOT NULL,
  NMMETODO    TEXT NOT NULL,
  NMTABELA    TEXT NOT NULL,
  IDOPERACAO  TEXT NOT NULL CHECK (IDOPERACAO IN ('I', 'A', 'E')),
  CDFILIAL    TEXT NOT NULL,
  CDSERVFILI  TEXT NOT NULL,
  CDCLIENTE   TEXT,
  DSCHAVE     TEXT,
  NMCAMPO     TEXT NOT NULL,
  IDTIPOVALOR TEXT NOT NULL CHECK (IDTIPOVALOR IN ('T', 'N', 'D')),
  DSVALORANT  TEXT,
  DSVALORNOVO TEXT
);
CREATE INDEX TRILHAALT_LINHA ON TRILHAALT (CDFILIAL, CDSERVFILI, CDCLIENTE, DTALTERACAO);
CREATE INDEX TRILHAALT_OPERADOR ON TRILHAALT (CDOPERADOR, DTALTERACAO);
CREATE INDEX TRILHAALT_DATA ON TRILHAALT (DTALTERACAO);

CREATE TRIGGER TRILHAALT_SO_INCLUSAO_A BEFORE UPDATE ON TRILHAALT
BEGIN
  SELECT RAISE(ABORT, 'A trilha de alterações não pode ser modificada.');
END;
CREATE TRIGGER TRILHAALT_SO_INCLUSAO_E BEFORE DELETE ON TRILHAALT
BEGIN
  SELECT RAISE(ABORT, 'A trilha de alterações não pode ser modificada.');
END;

PRAGMA user_version = 3;
