#include "platform/sql_engine.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace orvek {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// One piece of a statement: a word, a quoted name, a string literal, a blank run or
// one other character.
struct Token {
    enum Kind { Word, QuotedName, Literal, Blank, Other } kind;
    QString text;
    bool Is(const char* word) const { return kind == Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0; }
};

QList<Token> Tokenize(const QString& sql)
{
    QList<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        qsizetype j = i + 1;
        Token::Kind kind = Token::Other;
        if (c == u'\'' || c == u'"') {
            kind = c == u'\'' ? Token::Literal : Token::QuotedName;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            kind = Token::Blank;
            while (j < n && sql.at(j) != u'\n')
                ++j;
        } else if (c.isSpace()) {
            kind = Token::Blank;
            while (j < n && sql.at(j).isSpace())
                ++j;
        } else if (c.isLetter() || c == u'_') {
            kind = Token::Word;
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'_'))
                ++j;
        } else if (c == u'$') {
            // A dollar-quoted body ($$ ... $$) stays as it is.
            const qsizetype close = sql.indexOf(QLatin1String("$$"), i + 2);
            if (i + 1 < n && sql.at(i + 1) == u'$') {
                kind = Token::Literal;
                j = close < 0 ? n : close + 2;
            }
        }
        tokens.append({ kind, sql.mid(i, j - i) });
        i = j;
    }
    return tokens;
}

// The index of the next token after At that is not blank, or -1.
qsizetype NextSolid(const QList<Token>& tokens, qsizetype at)
{
    for (qsizetype k = at + 1; k < tokens.size(); ++k)
        if (tokens.at(k).kind != Token::Blank)
            return k;
    return -1;
}

bool WordsAt(const QList<Token>& tokens, qsizetype at, std::initializer_list<const char*> words, qsizetype* last)
{
    qsizetype k = at;
    bool first = true;
    for (const char* word : words) {
        if (!first)
            k = NextSolid(tokens, k);
        first = false;
        if (k < 0 || !tokens.at(k).Is(word))
            return false;
    }
    if (last)
        *last = k;
    return true;
}

QString LowerQuoted(const QString& quoted)
{
    return quoted.toLower();
}

// The names listed in the first parenthesis after At (the columns of an INSERT).
QStringList ColumnList(const QList<Token>& tokens, qsizetype at)
{
    QStringList columns;
    qsizetype k = at;
    while (k < tokens.size() && tokens.at(k).text != QLatin1String("("))
        ++k;
    for (++k; k < tokens.size() && tokens.at(k).text != QLatin1String(")"); ++k) {
        const Token& t = tokens.at(k);
        if (t.kind == Token::Word)
            columns << t.text.toLower();
        else if (t.kind == Token::QuotedName)
            columns << LowerQuoted(t.text);
    }
    return columns;
}

} // namespace

bool IsServerLocation(const QString& location)
{
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

bool ParseServerLocation(const QString& location, TServerDatabase& server, QString* error)
{
    if (!IsServerLocation(location)) {
        SetError(error, QStringLiteral("%1 names no PostgreSQL database (postgresql://host[:port]/database)").arg(location));
        return false;
    }
    const QUrl url(location, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.path().size() < 2) {
        SetError(error,
            QStringLiteral("%1 is not a database address of the form postgresql://host[:port]/database").arg(location));
        return false;
    }
    if (!url.password().isEmpty()) {
        SetError(error,
            QStringLiteral("%1 holds a password; the program takes passwords only from ~/.pgpass or the service file")
                .arg(url.host()));
        return false;
    }
    server = TServerDatabase {};
    server.Host = url.host();
    server.Port = url.port(5432);
    server.Database = url.path().mid(1);
    server.User = url.userName();
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("user")))
        server.User = query.queryItemValue(QStringLiteral("user"));
    if (query.hasQueryItem(QStringLiteral("service")))
        server.Service = query.queryItemValue(QStringLiteral("service"));
    return true;
}

QString ServerDisplayName(const TServerDatabase& server)
{
    return (server.User.isEmpty() ? QString() : server.User + QLatin1Char('@')) + server.Host + QLatin1Char(':')
        + QString::number(server.Port) + QLatin1Char('/') + server.Database;
}

TSqlEngine EngineOf(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL") ? TSqlEngine::Postgres : TSqlEngine::Sqlite;
}

QString EngineName(const QSqlDatabase& db, const QString& name)
{
    return IsPostgres(db) ? name.toLower() : name;
}

QString EngineSql(const QSqlDatabase& db, const QString& sql)
{
    return IsPostgres(db) ? PostgresSql(sql) : sql;
}

QString PostgresSql(const QString& sql)
{
    QList<Token> tokens = Tokenize(sql);
    const qsizetype first = tokens.isEmpty() ? -1 : (tokens.first().kind == Token::Blank ? NextSolid(tokens, 0) : 0);
    const bool ddl = first >= 0
        && ((WordsAt(tokens, first, { "CREATE", "TABLE" }, nullptr))
            || WordsAt(tokens, first, { "ALTER", "TABLE" }, nullptr));
    QString tail;
    for (qsizetype k = 0; k < tokens.size(); ++k) {
        Token& t = tokens[k];
        if (t.kind == Token::QuotedName) {
            t.text = LowerQuoted(t.text);
            continue;
        }
        if (t.kind != Token::Word)
            continue;
        qsizetype last = -1;
        const qsizetype next = NextSolid(tokens, k);
        if (WordsAt(tokens, k, { "INTEGER", "PRIMARY", "KEY", "AUTOINCREMENT" }, &last)) {
            t.text = QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
            for (qsizetype d = k + 1; d <= last; ++d)
                tokens[d].text.clear();
            k = last;
        } else if (ddl && t.Is("REAL")) {
            t.text = QStringLiteral("DOUBLE PRECISION");
        } else if (ddl && t.Is("BLOB")) {
            t.text = QStringLiteral("BYTEA");
        } else if (t.Is("COLLATE") && next >= 0 && tokens.at(next).Is("NOCASE")) {
            t.text.clear();
            tokens[next].text.clear();
            k = next;
        } else if (t.Is("COLLATE") && next >= 0 && tokens.at(next).Is("SKCZ")) {
            tokens[next].text = QStringLiteral("\"%1\"").arg(QLatin1String(kPostgresSlovakCollation));
            k = next;
        } else if (t.Is("INSERT") && WordsAt(tokens, k, { "INSERT", "OR", "IGNORE" }, &last)) {
            t.text = QStringLiteral("INSERT");
            for (qsizetype d = k + 1; d <= last; ++d)
                tokens[d].text.clear();
            tail = QStringLiteral(" ON CONFLICT DO NOTHING");
            k = last;
        } else if (t.Is("INSERT") && WordsAt(tokens, k, { "INSERT", "OR", "REPLACE" }, &last)) {
            t.text = QStringLiteral("INSERT");
            for (qsizetype d = k + 1; d <= last; ++d)
                tokens[d].text.clear();
            const QStringList columns = ColumnList(tokens, last);
            if (!columns.isEmpty()) {
                QStringList sets;
                for (qsizetype c = 1; c < columns.size(); ++c)
                    sets << columns.at(c) + QStringLiteral(" = EXCLUDED.") + columns.at(c);
                tail = QStringLiteral(" ON CONFLICT (") + columns.first() + QLatin1Char(')')
                    + (sets.isEmpty() ? QStringLiteral(" DO NOTHING") : QStringLiteral(" DO UPDATE SET ") + sets.join(QStringLiteral(", ")));
            }
            k = last;
        } else if ((t.Is("upper") || t.Is("lower")) && next >= 0 && tokens.at(next).text == QLatin1String("(")) {
            t.text = QStringLiteral("orvek_") + t.text.toLower();
        } else if (t.Is("ifnull") && next >= 0 && tokens.at(next).text == QLatin1String("(")) {
            t.text = QStringLiteral("coalesce");
        } else if (t.Is("LIKE")) {
            t.text = QStringLiteral("ILIKE");
            // SQLite's LIKE knows no escape character unless one is named; PostgreSQL's
            // takes the backslash.
            const qsizetype after = next >= 0 ? NextSolid(tokens, next) : -1;
            if (next >= 0 && (tokens.at(next).text == QLatin1String("?") || tokens.at(next).kind == Token::Literal)
                && (after < 0 || !tokens.at(after).Is("ESCAPE")))
                tokens[next].text += QStringLiteral(" ESCAPE ''");
        }
    }
    QString out;
    for (const Token& t : std::as_const(tokens))
        out += t.text;
    if (!tail.isEmpty()) {
        while (out.endsWith(QLatin1Char(';')) || (!out.isEmpty() && out.back().isSpace()))
            out.chop(1);
        out += tail;
    }
    return out;
}

QStringList BeginWriteStatements(const QSqlDatabase& db)
{
    if (!IsPostgres(db))
        return { QStringLiteral("BEGIN IMMEDIATE") };
    return { QStringLiteral("BEGIN ISOLATION LEVEL READ COMMITTED"),
        QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kPostgresWriteLock) };
}

bool EnsurePostgresFunctions(QSqlDatabase& db, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT to_regprocedure('orvek_upper(text)') IS NOT NULL AND "
                                  "to_regprocedure('orvek_count_change()') IS NOT NULL"))
        && query.next() && query.value(0).toBool())
        return true;
    const QString collation = QStringLiteral("\"%1\"").arg(QLatin1String(kPostgresSlovakCollation));
    const QStringList statements {
        QStringLiteral("BEGIN"),
        QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kPostgresWriteLock),
        QStringLiteral("CREATE OR REPLACE FUNCTION orvek_upper(t text) RETURNS text LANGUAGE sql IMMUTABLE "
                       "AS $$ SELECT upper(t COLLATE %1) $$")
            .arg(collation),
        QStringLiteral("CREATE OR REPLACE FUNCTION orvek_lower(t text) RETURNS text LANGUAGE sql IMMUTABLE "
                       "AS $$ SELECT lower(t COLLATE %1) $$")
            .arg(collation),
        // The counter of the table named by the trigger's argument, one step per row.
        QStringLiteral("CREATE OR REPLACE FUNCTION orvek_count_change() RETURNS trigger LANGUAGE plpgsql AS $$ "
                       "BEGIN UPDATE tablechangecounters SET counter = counter + 1 WHERE tablename = TG_ARGV[0]; "
                       "RETURN NULL; END $$"),
        QStringLiteral("COMMIT"),
    };
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            SetError(error,
                QStringLiteral("Cannot create the functions of the program on the database server: %1")
                    .arg(query.lastError().text()));
            query.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    return true;
}

} // namespace orvek
