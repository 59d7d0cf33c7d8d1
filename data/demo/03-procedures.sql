-- The four scoring procedures of the import. Each is called with a group code, a user id,
-- a product id and a questionnaire type, and returns one row per answering respondent with the
-- columns idutilizador, x, y and initials, ordered by initials. Common to all four:
-- - the user id selects respondents: the user itself, the respondents of a licence holder, or
--   the respondents of the licence holders of a partner (ids compared without regard to case);
-- - only answers given in a questionnaire of the type passed count (braces and case ignored);
-- - the product id restricts the answers to that product, except the per-user id
--   62099C9D-3F9A-48FE-8E92-876D00DA82FC, which takes the answers about every product;
-- - scores are rounded to two decimals; a respondent with no answer on an axis gets NULL there.

-- selectgrafico_map(group, user, product, qtype): group is a LIKE pattern of question codes
-- ('G1-%'). One row per respondent with answers to the group: x and y are the factor-weighted
-- means of its answers to the questions of axis X and Y, each answer 1..5 mapped to 0..10.
INSERT INTO procedures (name, params, body) VALUES ('selectgrafico_map', 'group,user,product,qtype', 'WITH p AS (SELECT :group AS grp, :user AS usr, :product AS prd, :qtype AS qt),
s AS (
    SELECT r.idutilizador AS idutilizador, r.respond_initials AS initials, q.codigo AS codigo,
           q.eixo AS eixo, q.factor AS factor, (a.valor - 1) * 2.5 AS score,
           CASE WHEN q.codigo = p.grp OR q.codigo LIKE p.grp || ''-%'' THEN 1 ELSE 0 END AS family
    FROM p
    JOIN utilizadores r ON upper(r.idutilizador) = upper(p.usr)
        OR upper(r.parent_user) = upper(p.usr)
        OR r.parent_user IN (SELECT l.idutilizador FROM utilizadores l WHERE upper(l.parent_user) = upper(p.usr))
    JOIN respostas a ON a.idutilizador = r.idutilizador
    JOIN perguntas q ON q.idpergunta = a.idpergunta
    WHERE upper(replace(replace(a.idtipoquestionario, ''{'', ''''), ''}'', '''')) = upper(replace(replace(p.qt, ''{'', ''''), ''}'', ''''))
      AND (upper(replace(replace(p.prd, ''{'', ''''), ''}'', '''')) = ''62099C9D-3F9A-48FE-8E92-876D00DA82FC''
           OR upper(replace(replace(a.idproduto, ''{'', ''''), ''}'', '''')) = upper(replace(replace(p.prd, ''{'', ''''), ''}'', '''')))
)
SELECT CAST(s.idutilizador AS TEXT) AS idutilizador,
       CAST(round(sum(CASE WHEN s.eixo = ''X'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.eixo = ''X'' THEN s.factor END), 0), 2) AS DOUBLE PRECISION) AS x,
       CAST(round(sum(CASE WHEN s.eixo = ''Y'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.eixo = ''Y'' THEN s.factor END), 0), 2) AS DOUBLE PRECISION) AS y,
       CAST(s.initials AS TEXT) AS initials
FROM s, p
WHERE s.codigo LIKE p.grp
GROUP BY s.idutilizador, s.initials
ORDER BY s.initials, s.idutilizador');

-- selectgrafico_map_calc: group is a code ('G4') that names a family of questions: the code itself
-- and the codes that begin with it and '-'. x is the factor-weighted mean of all the family's
-- answers on 0..10, whatever their axis; y repeats it.
INSERT INTO procedures (name, params, body) VALUES ('selectgrafico_map_calc', 'group,user,product,qtype', 'WITH p AS (SELECT :group AS grp, :user AS usr, :product AS prd, :qtype AS qt),
s AS (
    SELECT r.idutilizador AS idutilizador, r.respond_initials AS initials, q.codigo AS codigo,
           q.eixo AS eixo, q.factor AS factor, (a.valor - 1) * 2.5 AS score,
           CASE WHEN q.codigo = p.grp OR q.codigo LIKE p.grp || ''-%'' THEN 1 ELSE 0 END AS family
    FROM p
    JOIN utilizadores r ON upper(r.idutilizador) = upper(p.usr)
        OR upper(r.parent_user) = upper(p.usr)
        OR r.parent_user IN (SELECT l.idutilizador FROM utilizadores l WHERE upper(l.parent_user) = upper(p.usr))
    JOIN respostas a ON a.idutilizador = r.idutilizador
    JOIN perguntas q ON q.idpergunta = a.idpergunta
    WHERE upper(replace(replace(a.idtipoquestionario, ''{'', ''''), ''}'', '''')) = upper(replace(replace(p.qt, ''{'', ''''), ''}'', ''''))
      AND (upper(replace(replace(p.prd, ''{'', ''''), ''}'', '''')) = ''62099C9D-3F9A-48FE-8E92-876D00DA82FC''
           OR upper(replace(replace(a.idproduto, ''{'', ''''), ''}'', '''')) = upper(replace(replace(p.prd, ''{'', ''''), ''}'', '''')))
)
SELECT CAST(s.idutilizador AS TEXT) AS idutilizador,
       CAST(round(sum(CASE WHEN s.family = 1 THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.family = 1 THEN s.factor END), 0), 2) AS DOUBLE PRECISION) AS x,
       CAST(round(sum(CASE WHEN s.family = 1 THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.family = 1 THEN s.factor END), 0), 2) AS DOUBLE PRECISION) AS y,
       CAST(s.initials AS TEXT) AS initials
FROM s, p
GROUP BY s.idutilizador, s.initials
HAVING sum(s.family) > 0
ORDER BY s.initials, s.idutilizador');

-- selectgrafico_vbi_calc: the innovation model of a respondent with answers to the family of group
-- ('G18'). x is the needed capability: the geometric mean of the X and Y means of the effort
-- questions (G3-); y is the satisfaction difficulty: the geometric mean of the family's X and Y
-- means.
INSERT INTO procedures (name, params, body) VALUES ('selectgrafico_vbi_calc', 'group,user,product,qtype', 'WITH p AS (SELECT :group AS grp, :user AS usr, :product AS prd, :qtype AS qt),
s AS (
    SELECT r.idutilizador AS idutilizador, r.respond_initials AS initials, q.codigo AS codigo,
           q.eixo AS eixo, q.factor AS factor, (a.valor - 1) * 2.5 AS score,
           CASE WHEN q.codigo = p.grp OR q.codigo LIKE p.grp || ''-%'' THEN 1 ELSE 0 END AS family
    FROM p
    JOIN utilizadores r ON upper(r.idutilizador) = upper(p.usr)
        OR upper(r.parent_user) = upper(p.usr)
        OR r.parent_user IN (SELECT l.idutilizador FROM utilizadores l WHERE upper(l.parent_user) = upper(p.usr))
    JOIN respostas a ON a.idutilizador = r.idutilizador
    JOIN perguntas q ON q.idpergunta = a.idpergunta
    WHERE upper(replace(replace(a.idtipoquestionario, ''{'', ''''), ''}'', '''')) = upper(replace(replace(p.qt, ''{'', ''''), ''}'', ''''))
      AND (upper(replace(replace(p.prd, ''{'', ''''), ''}'', '''')) = ''62099C9D-3F9A-48FE-8E92-876D00DA82FC''
           OR upper(replace(replace(a.idproduto, ''{'', ''''), ''}'', '''')) = upper(replace(replace(p.prd, ''{'', ''''), ''}'', '''')))
)
SELECT CAST(s.idutilizador AS TEXT) AS idutilizador,
       CAST(round(sqrt((sum(CASE WHEN s.codigo LIKE ''G3-%'' AND s.eixo = ''X'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.codigo LIKE ''G3-%'' AND s.eixo = ''X'' THEN s.factor END), 0)) * (sum(CASE WHEN s.codigo LIKE ''G3-%'' AND s.eixo = ''Y'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.codigo LIKE ''G3-%'' AND s.eixo = ''Y'' THEN s.factor END), 0))), 2) AS DOUBLE PRECISION) AS x,
       CAST(round(sqrt((sum(CASE WHEN s.family = 1 AND s.eixo = ''X'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.family = 1 AND s.eixo = ''X'' THEN s.factor END), 0)) * (sum(CASE WHEN s.family = 1 AND s.eixo = ''Y'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.family = 1 AND s.eixo = ''Y'' THEN s.factor END), 0))), 2) AS DOUBLE PRECISION) AS y,
       CAST(s.initials AS TEXT) AS initials
FROM s, p
GROUP BY s.idutilizador, s.initials
HAVING sum(s.family) > 0
ORDER BY s.initials, s.idutilizador');

-- selectgrafico_eva_calc: the EVA of a respondent with answers to the family of group ('G19').
-- x is the cost of capital: the geometric mean of the family's X and Y means; y is the
-- potential market: the geometric mean of the X and Y means of the G1- questions.
INSERT INTO procedures (name, params, body) VALUES ('selectgrafico_eva_calc', 'group,user,product,qtype', 'WITH p AS (SELECT :group AS grp, :user AS usr, :product AS prd, :qtype AS qt),
s AS (
    SELECT r.idutilizador AS idutilizador, r.respond_initials AS initials, q.codigo AS codigo,
           q.eixo AS eixo, q.factor AS factor, (a.valor - 1) * 2.5 AS score,
           CASE WHEN q.codigo = p.grp OR q.codigo LIKE p.grp || ''-%'' THEN 1 ELSE 0 END AS family
    FROM p
    JOIN utilizadores r ON upper(r.idutilizador) = upper(p.usr)
        OR upper(r.parent_user) = upper(p.usr)
        OR r.parent_user IN (SELECT l.idutilizador FROM utilizadores l WHERE upper(l.parent_user) = upper(p.usr))
    JOIN respostas a ON a.idutilizador = r.idutilizador
    JOIN perguntas q ON q.idpergunta = a.idpergunta
    WHERE upper(replace(replace(a.idtipoquestionario, ''{'', ''''), ''}'', '''')) = upper(replace(replace(p.qt, ''{'', ''''), ''}'', ''''))
      AND (upper(replace(replace(p.prd, ''{'', ''''), ''}'', '''')) = ''62099C9D-3F9A-48FE-8E92-876D00DA82FC''
           OR upper(replace(replace(a.idproduto, ''{'', ''''), ''}'', '''')) = upper(replace(replace(p.prd, ''{'', ''''), ''}'', '''')))
)
SELECT CAST(s.idutilizador AS TEXT) AS idutilizador,
       CAST(round(sqrt((sum(CASE WHEN s.family = 1 AND s.eixo = ''X'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.family = 1 AND s.eixo = ''X'' THEN s.factor END), 0)) * (sum(CASE WHEN s.family = 1 AND s.eixo = ''Y'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.family = 1 AND s.eixo = ''Y'' THEN s.factor END), 0))), 2) AS DOUBLE PRECISION) AS x,
       CAST(round(sqrt((sum(CASE WHEN s.codigo LIKE ''G1-%'' AND s.eixo = ''X'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.codigo LIKE ''G1-%'' AND s.eixo = ''X'' THEN s.factor END), 0)) * (sum(CASE WHEN s.codigo LIKE ''G1-%'' AND s.eixo = ''Y'' THEN s.score * s.factor END) / NULLIF(sum(CASE WHEN s.codigo LIKE ''G1-%'' AND s.eixo = ''Y'' THEN s.factor END), 0))), 2) AS DOUBLE PRECISION) AS y,
       CAST(s.initials AS TEXT) AS initials
FROM s, p
GROUP BY s.idutilizador, s.initials
HAVING sum(s.family) > 0
ORDER BY s.initials, s.idutilizador');
