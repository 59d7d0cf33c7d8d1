-- Demo database of Korvell: the tables the program reads. Portable between SQLite and
-- PostgreSQL; ids are GUID texts in registry form, braces included.

CREATE TABLE TiposUtilizador (
    idtipoutilizador VARCHAR(38) PRIMARY KEY,
    tipoutilizador VARCHAR(20) NOT NULL
);

CREATE TABLE PAISES (
    idpais VARCHAR(38) PRIMARY KEY,
    pais VARCHAR(50) NOT NULL
);

-- Partners log in; licence holders (parent: a partner) and their respondents (parent: a
-- licence holder) are the organisations and people of the questionnaire.
CREATE TABLE utilizadores (
    idutilizador VARCHAR(38) PRIMARY KEY,
    username VARCHAR(25),
    password VARCHAR(25),
    nome VARCHAR(100),
    email VARCHAR(100),
    volumenegocio NUMERIC(18, 0),
    idactividade VARCHAR(38),
    morada VARCHAR(255),
    zipcode VARCHAR(20),
    telefone VARCHAR(30),
    webpage VARCHAR(100),
    idpais VARCHAR(38) REFERENCES PAISES (idpais),
    idtipoutilizador VARCHAR(38) REFERENCES TiposUtilizador (idtipoutilizador),
    mc_name VARCHAR(100),
    mc_tele VARCHAR(30),
    mc_email VARCHAR(100),
    sc_name VARCHAR(100),
    sc_tele VARCHAR(30),
    sc_email VARCHAR(100),
    num_employees INTEGER,
    num__subcontractors INTEGER,
    respond_initials VARCHAR(25),
    respond_function VARCHAR(100),
    parent_user VARCHAR(38) REFERENCES utilizadores (idutilizador),
    idpartnerunit VARCHAR(38),
    activo BOOLEAN,
    status VARCHAR(20),
    prefix VARCHAR(10),
    idtipoquestionario VARCHAR(38)
);

CREATE TABLE Produtos (
    idproduto VARCHAR(38) PRIMARY KEY,
    sigla VARCHAR(25),
    designacao VARCHAR(255),
    volumenegocioproduto NUMERIC(18, 0),
    idpais VARCHAR(38) REFERENCES PAISES (idpais),
    idutilizador VARCHAR(38) REFERENCES utilizadores (idutilizador),
    generico CHAR(10),
    idtipoquestionario VARCHAR(38),
    isdivision BOOLEAN
);

-- One row per question and language. codigo starts with its group ("G1-03"); eixo is the
-- axis ('X' or 'Y') the answer scores; factor weighs the answer within its group and axis.
CREATE TABLE perguntas (
    idpergunta VARCHAR(38) PRIMARY KEY,
    codigo VARCHAR(20),
    factor NUMERIC(18, 0),
    questao TEXT,
    idpais VARCHAR(38) REFERENCES PAISES (idpais),
    eixo CHAR(1),
    minstr VARCHAR(500),
    maxstr VARCHAR(500)
);

-- A respondent's answer (1 = lowest .. 5 = highest) to a question about one product, given
-- in a questionnaire of type idtipoquestionario.
CREATE TABLE respostas (
    idutilizador VARCHAR(38) NOT NULL REFERENCES utilizadores (idutilizador),
    idproduto VARCHAR(38) NOT NULL REFERENCES Produtos (idproduto),
    idpergunta VARCHAR(38) NOT NULL REFERENCES perguntas (idpergunta),
    idtipoquestionario VARCHAR(38) NOT NULL,
    valor INTEGER NOT NULL CHECK (valor BETWEEN 1 AND 5),
    PRIMARY KEY (idutilizador, idproduto, idpergunta)
);

-- The scoring procedures. body is one SELECT; params lists its named placeholders in call
-- order. SQLite runs the body with the call's values bound; PostgreSQL builds a function
-- of the same name from it (see postgresql-functions.sql).
CREATE TABLE procedures (
    name VARCHAR(128) PRIMARY KEY,
    params VARCHAR(200) NOT NULL,
    body TEXT NOT NULL
);
