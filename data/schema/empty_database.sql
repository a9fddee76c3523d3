-- The tables of a new records database (the EmptyDatabase folder is built from this file).
-- Types: INTEGER PRIMARY KEY AUTOINCREMENT for counters whose IDs are never reused,
-- VARCHAR(n) for texts of a declared size n (the program reads the size back from the
-- schema), TEXT for memos, dates ("yyyy-MM-dd") and times ("HH:mm:ss.zzz"), REAL for
-- numbers. One statement at a time; the tool that runs this file adds the rows that
-- need the program (hashed first password, folder names from the string table) and
-- the change-counter triggers.

-- Users. UserPassword keeps its declared size (the longest password that can be
-- typed) but holds no password: PasswordHash keeps the salted hash.
CREATE TABLE Administration (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  UserRights INTEGER,
  UserGroup INTEGER,
  Aktivny INTEGER,
  UserName VARCHAR(50),
  UserPassword VARCHAR(50),
  FirstName VARCHAR(30),
  LastName VARCHAR(50),
  NumberID VARCHAR(20),
  PasswordHash VARCHAR(200),
  MustChangePassword INTEGER NOT NULL DEFAULT 0
);

-- One row per login.
CREATE TABLE Logs (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  PracovnikID INTEGER,
  GroupID INTEGER,
  DatumPrihlasenia TEXT,
  CasPrihlasenia TEXT,
  DatumOdhlasenia TEXT,
  CasOdhlasenia TEXT
);

-- The login-records window lists the logins of one user at a time.
CREATE INDEX PracovnikID_IDX ON Logs (PracovnikID);

-- Change history of records and of templates.
CREATE TABLE History (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  GroupID INTEGER,
  PracovnikID INTEGER,
  LoginID INTEGER,
  DiagramID INTEGER,
  Datum TEXT,
  Cas TEXT,
  OriginalValues TEXT,
  NewValues TEXT,
  PracovnikMeno VARCHAR(100),
  DiagramName VARCHAR(100),
  TreeID INTEGER
);

CREATE TABLE HistoryTemplate (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  GroupID INTEGER,
  PracovnikID INTEGER,
  LoginID INTEGER,
  DiagramID INTEGER,
  Datum TEXT,
  Cas TEXT,
  OriginalValues TEXT,
  NewValues TEXT,
  PracovnikMeno VARCHAR(100),
  DiagramName VARCHAR(100)
);

CREATE TABLE ValidationHistory (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  ValidationDate TEXT,
  ValidationTime TEXT,
  ResultStr VARCHAR(20),
  ResultMemo TEXT
);

-- Measurement records. IDDB<g> is the folder of the record in group g; a column is
-- added for every new group. ChangeCounter is raised by a trigger on every change
-- but the lock field's.
CREATE TABLE TreeDB (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  SampleID VARCHAR(30),
  GroupID INTEGER,
  OpenedByUserID INTEGER NOT NULL DEFAULT 0,
  Deleted INTEGER,
  FromTemplateID INTEGER,
  PracovnikID INTEGER,
  MenoPracovnika VARCHAR(50),
  Datum TEXT,
  NazovVzoru VARCHAR(100),
  NazovMerania VARCHAR(100),
  Poznamky TEXT,
  Strom TEXT,
  IDDB1 VARCHAR(5) NOT NULL DEFAULT '0',
  ChangeCounter INTEGER NOT NULL DEFAULT 0
);

CREATE INDEX TreeDB_IDDB1 ON TreeDB (IDDB1);

-- The template list tells by this index whether records were made from a template.
CREATE INDEX TreeDB_FromTemplateID ON TreeDB (FromTemplateID);

-- The record list reads its columns from this index without touching the diagram texts,
-- and the bin view finds the deleted records by the partial one.
CREATE INDEX TreeDB_List ON TreeDB (GroupID, IDDB1, NazovMerania, NazovVzoru, SampleID, PracovnikID, MenoPracovnika, Datum, FromTemplateID);
CREATE INDEX TreeDB_Deleted ON TreeDB (Deleted) WHERE Deleted = 1;

CREATE TABLE TemplateDB (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  GroupID INTEGER,
  CreatedBy VARCHAR(100),
  OpenedByUserID INTEGER NOT NULL DEFAULT 0,
  PracovnikID INTEGER,
  CreateDate TEXT,
  TemplateName VARCHAR(100),
  MainEquation VARCHAR(250),
  Poznamky TEXT,
  Strom TEXT,
  IDDB1 VARCHAR(5) NOT NULL DEFAULT '0',
  ChangeCounter INTEGER NOT NULL DEFAULT 0
);

CREATE INDEX TemplateDB_IDDB1 ON TemplateDB (IDDB1);

-- Groups of folders, and the record and template folders of group 1.
CREATE TABLE MeasureNameList (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Description VARCHAR(100)
);

CREATE TABLE MeasureID1 (
  ID VARCHAR(5) NOT NULL PRIMARY KEY,
  OwnerID VARCHAR(5),
  Description VARCHAR(100)
);

CREATE TABLE TemplateID1 (
  ID VARCHAR(5) NOT NULL PRIMARY KEY,
  OwnerID VARCHAR(5),
  Description VARCHAR(100)
);

-- Catalogue of quantities and their units.
CREATE TABLE Veliciny (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Original INTEGER NOT NULL DEFAULT 0,
  Velicina VARCHAR(150),
  VelicinaSort VARCHAR(150),
  SymbolVeliciny VARCHAR(50)
);

CREATE TABLE Jednotky (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Original INTEGER NOT NULL DEFAULT 0,
  VelicinaID INTEGER,
  Jednotky VARCHAR(100)
);

CREATE INDEX VelicinaID_IDX ON Jednotky (VelicinaID);

-- Control-chart factors by subgroup size.
CREATE TABLE RD_Parameters (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  NrPoints INTEGER,
  A1 REAL,
  A2 REAL,
  A3 REAL,
  D1 REAL,
  D2 REAL,
  D3 REAL,
  D4 REAL,
  _d2 REAL,
  _C4 REAL
);

-- Factors for subgroup sizes 2 to 25 as published in the tables of control-chart
-- constants of ASTM E2587 and ISO 7870-2 (A2, A3, D1 to D4, d2, c4) and of ASTM
-- STP 15D (A1, the factor for limits from the population standard deviation).
INSERT INTO RD_Parameters (NrPoints, A1, A2, A3, D1, D2, D3, D4, _d2, _C4) VALUES
  (2, 3.760, 1.880, 2.659, 0, 3.686, 0, 3.267, 1.128, 0.7979),
  (3, 2.394, 1.023, 1.954, 0, 4.358, 0, 2.574, 1.693, 0.8862),
  (4, 1.880, 0.729, 1.628, 0, 4.698, 0, 2.282, 2.059, 0.9213),
  (5, 1.596, 0.577, 1.427, 0, 4.918, 0, 2.114, 2.326, 0.9400),
  (6, 1.410, 0.483, 1.287, 0, 5.078, 0, 2.004, 2.534, 0.9515),
  (7, 1.277, 0.419, 1.182, 0.204, 5.204, 0.076, 1.924, 2.704, 0.9594),
  (8, 1.175, 0.373, 1.099, 0.388, 5.306, 0.136, 1.864, 2.847, 0.9650),
  (9, 1.094, 0.337, 1.032, 0.547, 5.393, 0.184, 1.816, 2.970, 0.9693),
  (10, 1.028, 0.308, 0.975, 0.687, 5.469, 0.223, 1.777, 3.078, 0.9727),
  (11, 0.973, 0.285, 0.927, 0.811, 5.535, 0.256, 1.744, 3.173, 0.9754),
  (12, 0.925, 0.266, 0.886, 0.922, 5.594, 0.283, 1.717, 3.258, 0.9776),
  (13, 0.884, 0.249, 0.850, 1.025, 5.647, 0.307, 1.693, 3.336, 0.9794),
  (14, 0.848, 0.235, 0.817, 1.118, 5.696, 0.328, 1.672, 3.407, 0.9810),
  (15, 0.816, 0.223, 0.789, 1.203, 5.741, 0.347, 1.653, 3.472, 0.9823),
  (16, 0.788, 0.212, 0.763, 1.282, 5.782, 0.363, 1.637, 3.532, 0.9835),
  (17, 0.762, 0.203, 0.739, 1.356, 5.820, 0.378, 1.622, 3.588, 0.9845),
  (18, 0.738, 0.194, 0.718, 1.424, 5.856, 0.391, 1.608, 3.640, 0.9854),
  (19, 0.717, 0.187, 0.698, 1.487, 5.891, 0.403, 1.597, 3.689, 0.9862),
  (20, 0.697, 0.180, 0.680, 1.549, 5.921, 0.415, 1.585, 3.735, 0.9869),
  (21, 0.679, 0.173, 0.663, 1.605, 5.951, 0.425, 1.575, 3.778, 0.9876),
  (22, 0.662, 0.167, 0.647, 1.659, 5.979, 0.434, 1.566, 3.819, 0.9882),
  (23, 0.647, 0.162, 0.633, 1.710, 6.006, 0.443, 1.557, 3.858, 0.9887),
  (24, 0.632, 0.157, 0.619, 1.759, 6.031, 0.451, 1.548, 3.895, 0.9892),
  (25, 0.619, 0.153, 0.606, 1.806, 6.056, 0.459, 1.541, 3.931, 0.9896);

-- Group 1 with its two fixed folders of each kind (descriptions added by the tool).
INSERT INTO MeasureNameList (ID, Description) VALUES (1, '1');
