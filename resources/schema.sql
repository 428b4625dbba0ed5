-- Pomaret: the blank database.
--
-- Run once, as one transaction, into a new file that is then renamed into place. Every table the
-- program uses is here, with its indexes, its column defaults and the one Company row.
--
-- How the columns are declared (the database layer reads its rules from these declarations):
--   whole numbers         INTEGER
--   record numbers        INTEGER PRIMARY KEY AUTOINCREMENT   (a number is never handed out twice)
--   contact/project no.   INTEGER PRIMARY KEY                 (the program assigns them)
--   text of n characters  VARCHAR(n) COLLATE NOCASE           (the layer refuses a longer text)
--   text of any length    TEXT COLLATE NOCASE
--   yes/no                BOOLEAN NOT NULL DEFAULT 0          (True is stored as -1)
--   date and/or time      DATETIME                            (ISO text in local time)
-- NOCASE makes =, < and ORDER BY ignore the case of ASCII letters and still use the indexes.
-- Text sizes are at least what the program's boxes accept; names that are composed from parts
-- (shown names, full names) get 255 so that no composition can overflow them.
-- Index names are database-wide in SQLite, hence <Table>_<Column or purpose>.
-- Tables that have no key of their own are addressed by rowid within one recordset.

-- ---------------------------------------------------------------------------------------------
-- Program core: users, error log, the user's own company

-- Users allowed to log on. Password holds the Base64 form of the password (15 characters give 20).
CREATE TABLE Security (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    UserName    VARCHAR(50) COLLATE NOCASE,
    Password    VARCHAR(50) COLLATE NOCASE
);
-- An index under the key's own name, beside the primary key.
CREATE INDEX Security_RefNum ON Security (RefNum);
CREATE INDEX Security_UserName ON Security (UserName);

-- One row per trapped error. Both texts are unbounded: writing the log must never fail on length.
-- The viewer sorts on DateStamp, which only the default ever fills.
CREATE TABLE ErrLog (
    ModName     TEXT COLLATE NOCASE,
    ErrNum      INTEGER,
    ErrDesc     TEXT COLLATE NOCASE,
    DateStamp   DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S','now','localtime'))
);
CREATE INDEX ErrLog_DateStamp ON ErrLog (DateStamp);

-- The user's own company details: exactly one row, edited in place, never added or deleted.
-- The address box takes 255 characters of several lines; stored line breaks are CR LF, so the
-- column has room for every break doubling.
CREATE TABLE Company (
    CompName    VARCHAR(50) COLLATE NOCASE,
    Address     VARCHAR(510) COLLATE NOCASE,
    Country     VARCHAR(50) COLLATE NOCASE,
    Phone       VARCHAR(25) COLLATE NOCASE,
    Fax         VARCHAR(25) COLLATE NOCASE,
    Email       VARCHAR(50) COLLATE NOCASE,
    WebSite     VARCHAR(50) COLLATE NOCASE
);

-- ---------------------------------------------------------------------------------------------
-- Contacts and their child rows

-- CTYPE: "I" person, "C" company. Setting: "Default", "Hidden" or "Private".
-- FullName and ShownName are composed from the name parts (or are a company's name as typed);
-- Group is the contact's group names joined with "," and grows with every group chosen.
CREATE TABLE Contacts (
    ContID      INTEGER PRIMARY KEY,
    CTYPE       VARCHAR(1) COLLATE NOCASE,
    Setting     VARCHAR(50) COLLATE NOCASE,
    FullName    VARCHAR(255) COLLATE NOCASE,
    ShownName   VARCHAR(255) COLLATE NOCASE,
    Prefix      VARCHAR(100) COLLATE NOCASE,
    FName       VARCHAR(100) COLLATE NOCASE,
    Middle      VARCHAR(100) COLLATE NOCASE,
    LName       VARCHAR(100) COLLATE NOCASE,
    Suffix      VARCHAR(100) COLLATE NOCASE,
    CompName    VARCHAR(255) COLLATE NOCASE,
    "Group"     TEXT COLLATE NOCASE,
    JobTitle    VARCHAR(100) COLLATE NOCASE
);
-- Every list of names is sorted and searched by ShownName; most lists take only "Default" ones.
CREATE INDEX Contacts_ShownName ON Contacts (ShownName);
CREATE INDEX Contacts_SettingShownName ON Contacts (Setting, ShownName);

-- Postal addresses, one per contact and kind ("Home", "Work", "Bill To", "Ship To").
-- A part can take nearly the whole 170 characters of the profile's address box.
CREATE TABLE CAddress (
    fkContID    INTEGER,
    fkLookup    VARCHAR(20) COLLATE NOCASE,
    Street      VARCHAR(170) COLLATE NOCASE,
    City        VARCHAR(170) COLLATE NOCASE,
    State       VARCHAR(170) COLLATE NOCASE,
    Zip         VARCHAR(170) COLLATE NOCASE,
    Country     VARCHAR(170) COLLATE NOCASE
);
CREATE INDEX CAddress_fkContID ON CAddress (fkContID);
-- A contact's rows of one kind in entry order: the names list takes each contact's last "Home" one.
CREATE INDEX CAddress_fkContIDfkLookup ON CAddress (fkContID, fkLookup);

-- Phone numbers ("Home", "Work", "Mobile", "Other", "Fax"), as typed.
CREATE TABLE CPhone (
    fkContID    INTEGER,
    fkLookup    VARCHAR(20) COLLATE NOCASE,
    PhoneNum    VARCHAR(25) COLLATE NOCASE
);
CREATE INDEX CPhone_fkContID ON CPhone (fkContID);
-- The first "Home" number of each contact of a list, found without reading its other numbers.
CREATE INDEX CPhone_fkContIDfkLookup ON CPhone (fkContID, fkLookup);

-- E-mail addresses ("Personal", "Work", "Other"), as typed.
CREATE TABLE CEMail (
    fkContID    INTEGER,
    fkLookup    VARCHAR(20) COLLATE NOCASE,
    Email       VARCHAR(50) COLLATE NOCASE
);
CREATE INDEX CEMail_fkContID ON CEMail (fkContID);
-- The first "Personal" address of each contact of a list, likewise.
CREATE INDEX CEMail_fkContIDfkLookup ON CEMail (fkContID, fkLookup);

-- The free-form comment of a contact, one row per contact.
CREATE TABLE CComments (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    fkContID    INTEGER,
    Comments    TEXT COLLATE NOCASE
);
CREATE INDEX CComments_fkContID ON CComments (fkContID);

-- ---------------------------------------------------------------------------------------------
-- Pick lists, user-defined contact fields, linked contacts

-- ItemID: "GRP", "PRE", "SUFF", "TITLE", "PSTAT", "PTYPE". Items are read per list, sorted.
CREATE TABLE Lookup (
    ItemID      VARCHAR(10) COLLATE NOCASE,
    Description VARCHAR(100) COLLATE NOCASE
);
CREATE INDEX Lookup_ItemIDDescription ON Lookup (ItemID, Description);

-- The user's own contact fields; values refer to a field by its name, not its number.
CREATE TABLE CUserFields (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    Description VARCHAR(100) COLLATE NOCASE
);
CREATE INDEX CUserFields_Description ON CUserFields (Description);

CREATE TABLE CUFldValues (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    fkContID    INTEGER,
    fkUserFld   VARCHAR(100) COLLATE NOCASE,
    Value       VARCHAR(100) COLLATE NOCASE
);
CREATE INDEX CUFldValues_fkContID ON CUFldValues (fkContID);
-- By field and value: the query screens' value lists and comparisons are read from the index.
CREATE INDEX CUFldValues_fkUserFldValue ON CUFldValues (fkUserFld, Value);

-- One row per direction of a link between two contacts. SubContShowName is a copy of the other
-- contact's name taken when the link was made. The memo is also edited through a plain input box
-- with no length limit, so it is unbounded.
CREATE TABLE RelateCont (
    MasterContID    INTEGER,
    SubContID       INTEGER,
    LinkMemo        TEXT COLLATE NOCASE,
    SubContShowName VARCHAR(255) COLLATE NOCASE
);
CREATE INDEX RelateCont_MasterContID ON RelateCont (MasterContID);
CREATE INDEX RelateCont_SubContID ON RelateCont (SubContID);

-- ---------------------------------------------------------------------------------------------
-- Projects

-- Status and PrjType are copies of Lookup items (or one blank); Budget is kept as typed.
CREATE TABLE Projects (
    ProjID      INTEGER PRIMARY KEY,
    PName       VARCHAR(255) COLLATE NOCASE,
    Status      VARCHAR(100) COLLATE NOCASE,
    PrjType     VARCHAR(100) COLLATE NOCASE,
    StartDate   DATETIME,
    EndDate     DATETIME,
    Budget      VARCHAR(15) COLLATE NOCASE,
    Setting     VARCHAR(100) COLLATE NOCASE
);
CREATE INDEX Projects_PName ON Projects (PName);
CREATE INDEX Projects_SettingPName ON Projects (Setting, PName);

-- The free-form comment of a project, one row per project.
CREATE TABLE PComments (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    fkProjID    INTEGER,
    Comments    TEXT COLLATE NOCASE
);
CREATE INDEX PComments_fkProjID ON PComments (fkProjID);

CREATE TABLE PUserFields (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    Description VARCHAR(100) COLLATE NOCASE
);
CREATE INDEX PUserFields_Description ON PUserFields (Description);

CREATE TABLE PUFldValues (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    fkProjID    INTEGER,
    fkUserFld   VARCHAR(100) COLLATE NOCASE,
    Value       VARCHAR(100) COLLATE NOCASE
);
CREATE INDEX PUFldValues_fkProjID ON PUFldValues (fkProjID);
CREATE INDEX PUFldValues_fkUserFldValue ON PUFldValues (fkUserFld, Value);

-- Links between projects and contacts, made from either side; ContShowName is a copy of the
-- contact's shown name.
CREATE TABLE RelateProject (
    RefNum          INTEGER PRIMARY KEY AUTOINCREMENT,
    fkProjID        INTEGER,
    fkContID        INTEGER,
    ContShowName    VARCHAR(255) COLLATE NOCASE
);
CREATE INDEX RelateProject_fkProjID ON RelateProject (fkProjID);
CREATE INDEX RelateProject_fkContID ON RelateProject (fkContID);

-- ---------------------------------------------------------------------------------------------
-- To-do items, reminders, appointments, notes and calls
-- The dialogs write only the columns they have a value for; every other column keeps its default.

-- RemAmt is one of the interval texts "5 Min" ... "2 Weeks".
CREATE TABLE ToDo (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    Subject     VARCHAR(255) COLLATE NOCASE,
    TextBody    TEXT COLLATE NOCASE,
    DueDate     DATETIME,
    DueTime     DATETIME,
    fkContID    INTEGER,
    fkProjID    INTEGER,
    Remind      BOOLEAN NOT NULL DEFAULT 0,
    RemAmt      VARCHAR(20) COLLATE NOCASE,
    Private     BOOLEAN NOT NULL DEFAULT 0,
    Urgent      BOOLEAN NOT NULL DEFAULT 0,
    Completed   BOOLEAN NOT NULL DEFAULT 0
);
CREATE INDEX ToDo_fkContID ON ToDo (fkContID);
CREATE INDEX ToDo_fkProjID ON ToDo (fkProjID);
-- By date, then number: the to-do list's order. With what the list shows and filters on, the whole
-- list is read from the index alone, not one table row (and its text body) per item.
CREATE INDEX ToDo_DueDateList ON ToDo (DueDate, RefNum, Subject, fkContID, fkProjID, Completed, Private,
                                       Urgent);
-- Open items in due order for the home screen, without a sort; with the subject, the list is read
-- from the index alone rather than one row at a time from the table.
CREATE INDEX ToDo_CompletedPrivateDueDateSubject ON ToDo (Completed, Private, DueDate, Subject);

-- One row per requested reminder; Type "TD" links through fkToDoID, "AP" through fkApptID.
-- A new row is never given Completed: it must start out pending.
CREATE TABLE Remind (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    RemDate     DATETIME,
    RemTime     DATETIME,
    fkToDoID    INTEGER,
    fkApptID    INTEGER,
    Type        VARCHAR(2) COLLATE NOCASE,
    Completed   BOOLEAN NOT NULL DEFAULT 0
);
-- The minute poll looks rows up by day and minute.
CREATE INDEX Remind_RemDateRemTime ON Remind (RemDate, RemTime);
CREATE INDEX Remind_fkToDoID ON Remind (fkToDoID);
CREATE INDEX Remind_fkApptID ON Remind (fkApptID);

CREATE TABLE Appts (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    Subject     VARCHAR(255) COLLATE NOCASE,
    TextBody    TEXT COLLATE NOCASE,
    DateFrom    DATETIME,
    DateTo      DATETIME,
    TimeFrom    DATETIME,
    TimeTo      DATETIME,
    fkContID    INTEGER,
    fkProjID    INTEGER,
    Remind      BOOLEAN NOT NULL DEFAULT 0,
    RemAmt      VARCHAR(20) COLLATE NOCASE,
    Private     BOOLEAN NOT NULL DEFAULT 0,
    NoTime      BOOLEAN NOT NULL DEFAULT 0,
    AllDay      BOOLEAN NOT NULL DEFAULT 0
);
CREATE INDEX Appts_fkContID ON Appts (fkContID);
CREATE INDEX Appts_fkProjID ON Appts (fkProjID);
-- By date; privacy and subject too, so that the home screen's coming appointments are read from the
-- index alone.
CREATE INDEX Appts_DateFromPrivateSubject ON Appts (DateFrom, Private, Subject);

-- Notes ("N") and calls ("C"). A note added without a contact or project is found by its links
-- being 0, which only the defaults give it; DateStamp orders every history and is never written.
CREATE TABLE Attach (
    RefNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    TextBody    TEXT COLLATE NOCASE,
    NType       VARCHAR(1) COLLATE NOCASE,
    fkContID    INTEGER DEFAULT 0,
    fkProjID    INTEGER DEFAULT 0,
    Fav         BOOLEAN NOT NULL DEFAULT 0,
    Priv        BOOLEAN NOT NULL DEFAULT 0,
    DateStamp   DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S','now','localtime'))
);
-- A contact's history, and the free notes (no contact, no project) of the home screen.
CREATE INDEX Attach_fkContIDfkProjID ON Attach (fkContID, fkProjID);
CREATE INDEX Attach_fkProjID ON Attach (fkProjID);
CREATE INDEX Attach_DateStamp ON Attach (DateStamp);

-- ---------------------------------------------------------------------------------------------
-- The one Company row, empty until the user fills in the preferences.
INSERT INTO Company DEFAULT VALUES;
