-- PostgreSQL only, after the three numbered scripts: every row of "procedures" becomes a
-- function of the same name returning its rows, so that "EXEC name 'a','b',..." can run as
-- "SELECT * FROM name(...)". The placeholder :x of a body becomes the argument p_x.
DO $$
DECLARE
    proc RECORD;
    param TEXT;
    arguments TEXT;
    fn_body TEXT;
BEGIN
    FOR proc IN SELECT p.name, p.params, p.body FROM procedures p LOOP
        fn_body := proc.body;
        arguments := '';
        FOREACH param IN ARRAY string_to_array(proc.params, ',') LOOP
            param := btrim(param);
            fn_body := replace(fn_body, ':' || param, 'p_' || param);
            arguments := arguments || CASE WHEN arguments = '' THEN '' ELSE ', ' END || 'p_' || param || ' TEXT';
        END LOOP;
        EXECUTE format('CREATE FUNCTION %I(%s) RETURNS TABLE (idutilizador TEXT, x DOUBLE PRECISION, '
                       'y DOUBLE PRECISION, initials TEXT) LANGUAGE sql STABLE AS %L',
                       proc.name, arguments, fn_body);
    END LOOP;
END
$$;
