#include "core/app/QuotedRecord.h"

#include "core/app/FileIo.h"
#include "core/app/TextCodec.h"

namespace tiradex {

QByteArray FormatRecord(const QList<RecordField> &fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        const RecordField &f = fields.at(i);
        if (f.quoted())
            line += QLatin1Char('"') + f.value() + QLatin1Char('"');
        else
            line += f.value();
    }
    line += QStringLiteral("\r\n");
    return EncodeText(line);
}

namespace {
bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

void QuotedRecordReader::skipBlanks()
{
    while (m_pos < m_text.size() && isBlank(m_text.at(m_pos)))
        ++m_pos;
}

void QuotedRecordReader::skipEmptyLines()
{
    for (;;) {
        qsizetype p = m_pos;
        while (p < m_text.size() && isBlank(m_text.at(p)))
            ++p;
        if (p < m_text.size() && isLineEnd(m_text.at(p))) {
            if (m_text.at(p) == QLatin1Char('\r') && p + 1 < m_text.size() &&
                m_text.at(p + 1) == QLatin1Char('\n'))
                ++p;
            m_pos = p + 1;
            continue;
        }
        if (p >= m_text.size())
            m_pos = p;
        return;
    }
}

bool QuotedRecordReader::atEnd() const
{
    for (qsizetype p = m_pos; p < m_text.size(); ++p) {
        const QChar c = m_text.at(p);
        if (!isBlank(c) && !isLineEnd(c))
            return false;
    }
    return true;
}

QString QuotedRecordReader::field(bool *endOfRecord)
{
    *endOfRecord = false;
    skipBlanks();
    QString value;
    if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('"')) {
        const qsizetype close = m_text.indexOf(QLatin1Char('"'), m_pos + 1);
        const qsizetype end = close < 0 ? m_text.size() : close;
        value = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? m_text.size() : close + 1;
        // Whatever stands between the closing quote and the delimiter is dropped.
        while (m_pos < m_text.size() && m_text.at(m_pos) != QLatin1Char(',') &&
               !isLineEnd(m_text.at(m_pos)))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text.at(m_pos) != QLatin1Char(',') &&
               !isLineEnd(m_text.at(m_pos)))
            ++m_pos;
        value = m_text.mid(start, m_pos - start).trimmed();
    }
    if (m_pos >= m_text.size()) {
        *endOfRecord = true;
    } else if (m_text.at(m_pos) == QLatin1Char(',')) {
        ++m_pos;
    } else {
        if (m_text.at(m_pos) == QLatin1Char('\r') && m_pos + 1 < m_text.size() &&
            m_text.at(m_pos + 1) == QLatin1Char('\n'))
            ++m_pos;
        ++m_pos;
        *endOfRecord = true;
    }
    return value;
}

QStringList QuotedRecordReader::readRecord()
{
    QStringList fields;
    skipEmptyLines();
    if (m_pos >= m_text.size())
        return fields;
    bool end = false;
    while (!end)
        fields.append(field(&end));
    return fields;
}

std::optional<QString> QuotedRecordReader::readField()
{
    skipEmptyLines();
    if (m_pos >= m_text.size())
        return std::nullopt;
    bool end = false;
    return field(&end);
}

QList<QStringList> ParseRecords(const QString &text)
{
    QuotedRecordReader reader(text);
    QList<QStringList> records;
    for (;;) {
        QStringList record = reader.readRecord();
        if (record.isEmpty())
            break;
        records.append(std::move(record));
    }
    return records;
}

std::optional<QList<QStringList>> ReadRecordFile(const QString &path, QString *error,
                                                 qint64 maxBytes)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, maxBytes, error);
    if (!bytes)
        return std::nullopt;
    return ParseRecords(DecodeText(*bytes));
}

} // namespace tiradex
