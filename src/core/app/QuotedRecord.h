#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// The quoted-record form shared by the characters file, "head.ini",
// "treeview.ini", the reply files, the duration record and "stat.txt":
// records of comma-separated fields, strings in double quotes without any
// escape, numbers in plain decimal, each record ended by CR LF.

// One field to write: a string (written in quotes) or a number (plain).
class RecordField
{
public:
    static RecordField text(const QString &value) { return RecordField(value, true); }
    static RecordField number(qint64 value) { return RecordField(QString::number(value), false); }

    const QString &value() const { return m_value; }
    bool quoted() const { return m_quoted; }

private:
    RecordField(QString value, bool quoted) : m_value(std::move(value)), m_quoted(quoted) {}
    QString m_value;
    bool m_quoted;
};

// One record as UTF-8 bytes, CR LF included. A double quote inside a string
// field is written as it is (the form has no escape).
QByteArray FormatRecord(const QList<RecordField> &fields);

// Reads fields the way list input does: blanks before a field are skipped;
// a field that opens with a double quote runs to the next double quote (line
// breaks included) and anything up to the next comma or line end after it is
// dropped; any other field runs to the next comma or line end and is trimmed
// of blanks. A line end closes the record.
class QuotedRecordReader
{
public:
    explicit QuotedRecordReader(QString text) : m_text(std::move(text)) {}

    bool atEnd() const;
    // The fields of the next record; empty lines are skipped. Returns an
    // empty list at the end of the text.
    QStringList readRecord();
    // The next field wherever it stands (records are not told apart), or
    // std::nullopt at the end of the text.
    std::optional<QString> readField();

private:
    // Reads one field; sets *endOfRecord when a line end (or the end of the
    // text) closed it.
    QString field(bool *endOfRecord);
    void skipBlanks();
    void skipEmptyLines();

    QString m_text;
    qsizetype m_pos = 0;
};

// All records of a text.
QList<QStringList> ParseRecords(const QString &text);

// All records of a file, decoded as DecodeText does. Files larger than
// `maxBytes` are refused. On failure returns std::nullopt and sets *error.
std::optional<QList<QStringList>> ReadRecordFile(const QString &path, QString *error,
                                                 qint64 maxBytes = 16 * 1024 * 1024);

} // namespace tiradex
