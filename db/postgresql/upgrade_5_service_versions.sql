-- Version 5: row versions counted per service (as db/upgrade_5_service_versions.sql).
--
-- Each service (CDFILIAL, CDSERVFILI) has its own counter in VERSAOSERVICO: a change of a
-- binding takes the next number of its service, and a binding that leaves a service leaves its
-- key in SERVCLIEEXCLUIDO with the next number of the service it left. Saves on different
-- services write different counter rows, so serializable transactions on different services no
-- longer abort each other over one counter; within a service the counter row still orders
-- them: a reader that saw number V of a service has seen every change of it numbered up to V.
--
-- Every service known so far starts from the old single counter, which no number given before
-- exceeds: a reader that holds one never sees its service's counter go back. A service first
-- changed later starts from 1.

CREATE TABLE VERSAOSERVICO (
  CDFILIAL   TEXT NOT NULL,
  CDSERVFILI TEXT NOT NULL,
  NRVERSAO   BIGINT NOT NULL,
  PRIMARY KEY (CDFILIAL, CDSERVFILI)
);
INSERT INTO VERSAOSERVICO (CDFILIAL, CDSERVFILI, NRVERSAO)
  SELECT S.CDFILIAL, S.CDSERVFILI, (SELECT NRVERSAO FROM VERSAOLINHA) FROM (
    SELECT CDFILIAL, CDSERVFILI FROM SERVICO
    UNION SELECT CDFILIAL, CDSERVFILI FROM SERVCLIE
    UNION SELECT CDFILIAL, CDSERVFILI FROM SERVCLIEEXCLUIDO) S;

-- A binding inserted, updated (unless the update sets the number itself) or deleted takes the
-- next number of its service; an update that changes nothing counts too. A binding whose key
-- changes leaves its old key with the next number of the old service.
CREATE OR REPLACE FUNCTION SERVCLIE_VERSAO() RETURNS TRIGGER LANGUAGE plpgsql AS $$
DECLARE
  numero BIGINT;
BEGIN
  IF TG_OP = 'UPDATE' AND NEW.NRVERSAO IS DISTINCT FROM OLD.NRVERSAO THEN
    RETURN NEW;
  END IF;
  IF TG_OP = 'DELETE' OR (TG_OP = 'UPDATE' AND (OLD.CDFILIAL, OLD.CDSERVFILI, OLD.CDCLIENTE)
                          IS DISTINCT FROM (NEW.CDFILIAL, NEW.CDSERVFILI, NEW.CDCLIENTE)) THEN
    INSERT INTO VERSAOSERVICO (CDFILIAL, CDSERVFILI, NRVERSAO)
      VALUES (OLD.CDFILIAL, OLD.CDSERVFILI, 1)
      ON CONFLICT (CDFILIAL, CDSERVFILI) DO UPDATE SET NRVERSAO = VERSAOSERVICO.NRVERSAO + 1
      RETURNING NRVERSAO INTO numero;
    INSERT INTO SERVCLIEEXCLUIDO (CDFILIAL, CDSERVFILI, CDCLIENTE, NRVERSAO)
      VALUES (OLD.CDFILIAL, OLD.CDSERVFILI, OLD.CDCLIENTE, numero)
      ON CONFLICT (CDFILIAL, CDSERVFILI, CDCLIENTE) DO UPDATE SET NRVERSAO = EXCLUDED.NRVERSAO;
  END IF;
  IF TG_OP = 'DELETE' THEN
    RETURN OLD;
  END IF;
  INSERT INTO VERSAOSERVICO (CDFILIAL, CDSERVFILI, NRVERSAO)
    VALUES (NEW.CDFILIAL, NEW.CDSERVFILI, 1)
    ON CONFLICT (CDFILIAL, CDSERVFILI) DO UPDATE SET NRVERSAO = VERSAOSERVICO.NRVERSAO + 1
    RETURNING NRVERSAO INTO numero;
  DELETE FROM SERVCLIEEXCLUIDO
   WHERE CDFILIAL = NEW.CDFILIAL AND CDSERVFILI = NEW.CDSERVFILI AND CDCLIENTE = NEW.CDCLIENTE;
  NEW.NRVERSAO := numero;
  RETURN NEW;
END;
$$;

DROP TABLE VERSAOLINHA;

UPDATE VERSAOESQUEMA SET NRVERSAO = 5;
