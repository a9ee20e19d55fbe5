#include "core/annotations/RtfReader.h"

#include "core/app/TextCodec.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <memory>

namespace tiradex {

namespace {
constexpr int MaxDepth = 512;
constexpr int MaxColours = 1024;
constexpr int MaxWordLength = 32;
constexpr int MaxDigits = 10;

// Destinations whose text is not part of the document's body.
constexpr std::array SkippedDestinations = {
    "fonttbl",
    "stylesheet",
    "info",
    "pict",
    "object",
    "header",
    "headerl",
    "headerr",
    "headerf",
    "footer",
    "footerl",
    "footerr",
    "footerf",
    "fldinst",
    "footnote",
    "listtable",
    "listoverridetable",
    "revtbl",
    "rsidtbl",
    "xmlnstbl",
    "filetbl",
    "generator",
    "themedata",
    "datastore",
    "latentstyles",
    "colorschememapping",
    "nonshppict",
    "pgdsctbl",
    "bkmkstart",
    "bkmkend",
    "template",
    "docvar",
    "userprops",
    "mmathPr",
};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Control characters other than tab and paragraph end mean nothing in a note.
bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != '\t' && u != '\n') || (u >= 0x7f && u < 0xa0);
}

struct GroupState
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
    int uc = 1;        // fallback characters after \uN
    bool skip = false; // inside a destination without body text
    bool colourTable = false;
};

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_data(bytes) {}
    RichText read();

private:
    void controlWord(QByteArrayView word, bool hasNumber, int number);
    void formatWord(QByteArrayView word, bool hasNumber, int number);
    void controlSymbol(char c);
    void put(QChar c);
    void flushText();
    void emitByte(char byte);
    void flushBytes();
    void setCodePage(int page);
    RichTextRun format() const;

    const QByteArray &m_data;
    qsizetype m_pos = 0;
    GroupState m_state;
    QList<GroupState> m_stack;
    int m_tooDeep = 0;         // groups opened past MaxDepth, skipped whole
    bool m_groupStart = false; // the last token opened a group
    bool m_starred = false;    // the group began with \*
    int m_fallback = 0;        // fallback characters still to skip
    QByteArray m_pending;      // \'hh bytes not yet decoded
    QString m_out;             // text read in the format in force, not yet in m_text
    std::unique_ptr<QStringDecoder> m_decoder; // null: Windows-1252
    QList<QColor> m_colours;                   // entry 0 stands for the automatic colour
    std::array<int, 3> m_rgb{0, 0, 0};
    RichText m_text;
};

RichTextRun Reader::format() const
{
    RichTextRun run;
    run.bold = m_state.bold;
    run.italic = m_state.italic;
    run.underline = m_state.underline;
    if (m_state.colour > 0 && m_state.colour < m_colours.size())
        run.colour = m_colours[m_state.colour];
    return run;
}

void Reader::setCodePage(int page)
{
    m_decoder.reset();
    if (page == 1252 || page <= 0)
        return;
    const QByteArray name =
        page == 65001 ? QByteArray("UTF-8") : "windows-" + QByteArray::number(page);
    auto decoder = std::make_unique<QStringDecoder>(name.constData());
    if (decoder->isValid())
        m_decoder = std::move(decoder);
}

void Reader::flushBytes()
{
    if (m_pending.isEmpty())
        return;
    if (!m_state.skip) {
        QString text;
        if (m_decoder) {
            text = m_decoder->decode(m_pending);
        } else {
            text.resize(m_pending.size());
            QChar *out = text.data();
            for (const char b : std::as_const(m_pending))
                *out++ = Windows1252Char(static_cast<unsigned char>(b));
        }
        for (const QChar c : std::as_const(text)) {
            if (!isControl(c))
                m_out += c;
        }
    }
    m_pending.clear();
}

void Reader::flushText()
{
    flushBytes();
    if (m_out.isEmpty())
        return;
    m_text.append(m_out, format());
    m_out.clear();
}

void Reader::put(QChar c)
{
    flushBytes();
    if (m_fallback > 0) {
        --m_fallback;
        return;
    }
    if (!m_state.skip && !isControl(c))
        m_out += c;
}

void Reader::emitByte(char byte)
{
    if (m_fallback > 0) {
        --m_fallback;
        return;
    }
    if (!m_state.skip)
        m_pending += byte;
}

void Reader::controlSymbol(char c)
{
    switch (c) {
    case '\\':
    case '{':
    case '}':
        put(QLatin1Char(c));
        break;
    case '~':
        put(QChar(0x00a0));
        break;
    case '_':
        put(QChar(0x2011));
        break;
    case '*':
        m_starred = m_groupStart;
        if (m_starred)
            m_state.skip = true;
        break;
    case '\n':
    case '\r':
        put(QLatin1Char('\n')); // "\" before a line end is \par
        break;
    default: // \- (optional hyphen), \: and the unknown ones
        break;
    }
}

void Reader::controlWord(QByteArrayView word, bool hasNumber, int number)
{
    if (m_groupStart) {
        for (const char *skipped : SkippedDestinations) {
            if (word == skipped) {
                m_state.skip = true;
                break;
            }
        }
        if (word == "colortbl") {
            m_state.skip = true;
            m_state.colourTable = true;
            m_rgb = {0, 0, 0};
            m_colours.clear();
        }
    }
    if (m_state.colourTable) {
        const int value = qBound(0, number, 255);
        if (word == "red")
            m_rgb[0] = value;
        else if (word == "green")
            m_rgb[1] = value;
        else if (word == "blue")
            m_rgb[2] = value;
        return;
    }
    if (word == "u" && hasNumber) {
        const QChar unit = number < -32768 || number > 65535
                               ? QChar(QChar::ReplacementCharacter)
                               : QChar(char16_t(number < 0 ? number + 65536 : number));
        put(unit);
        m_fallback = m_state.uc;
        return;
    }
    // A control word inside the fallback of \uN counts as one character.
    if (m_fallback > 0 && word != "uc") {
        --m_fallback;
        return;
    }
    if (word == "par" || word == "line" || word == "row" || word == "page" || word == "sect")
        put(QLatin1Char('\n'));
    else if (word == "tab" || word == "cell")
        put(QLatin1Char('\t'));
    else if (word == "emdash")
        put(QChar(0x2014));
    else if (word == "endash")
        put(QChar(0x2013));
    else if (word == "lquote")
        put(QChar(0x2018));
    else if (word == "rquote")
        put(QChar(0x2019));
    else if (word == "ldblquote")
        put(QChar(0x201c));
    else if (word == "rdblquote")
        put(QChar(0x201d));
    else if (word == "bullet")
        put(QChar(0x2022));
    else if (word == "emspace")
        put(QChar(0x2003));
    else if (word == "enspace")
        put(QChar(0x2002));
    else if (word == "uc")
        m_state.uc = qBound(0, number, 16);
    else if (word == "ansicpg")
        setCodePage(number);
    else
        formatWord(word, hasNumber, number);
}

void Reader::formatWord(QByteArrayView word, bool hasNumber, int number)
{
    const bool on = !hasNumber || number != 0;
    GroupState next = m_state;
    if (word == "b")
        next.bold = on;
    else if (word == "i")
        next.italic = on;
    else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "uldash" ||
             word == "ulth" || word == "ulwave")
        next.underline = on;
    else if (word == "ulnone")
        next.underline = false;
    else if (word == "plain")
        next = GroupState{.uc = m_state.uc, .skip = m_state.skip, .colourTable = false};
    else if (word == "cf")
        next.colour = hasNumber ? number : 0;
    else
        return;
    // The text read so far keeps the format it was read in.
    flushText();
    m_state = next;
}

RichText Reader::read()
{
    const qsizetype size = m_data.size();
    while (m_pos < size) {
        const char c = m_data[m_pos++];
        if (m_tooDeep > 0) {
            // Inside groups past the depth limit: only braces and escapes matter.
            if (c == '\\' && m_pos < size)
                ++m_pos;
            else if (c == '{')
                ++m_tooDeep;
            else if (c == '}')
                --m_tooDeep;
            continue;
        }
        if (c == '{') {
            flushText();
            m_fallback = 0;
            if (m_stack.size() >= MaxDepth) {
                m_tooDeep = 1;
                continue;
            }
            m_stack.append(m_state);
            m_state.colourTable = false;
            m_groupStart = true;
            m_starred = false;
            continue;
        }
        if (c == '}') {
            flushText();
            m_fallback = 0;
            if (m_stack.isEmpty())
                break; // the document's closing brace
            m_state = m_stack.takeLast();
            m_groupStart = false;
            continue;
        }
        if (c == '\r' || c == '\n' || c == '\0')
            continue;
        if (c != '\\') {
            m_groupStart = false;
            if (m_state.colourTable) {
                if (c == ';' && m_colours.size() < MaxColours) {
                    m_colours.append(QColor(m_rgb[0], m_rgb[1], m_rgb[2]));
                    m_rgb = {0, 0, 0};
                }
                continue;
            }
            emitByte(c);
            continue;
        }
        if (m_pos >= size)
            break;
        const char next = m_data[m_pos];
        if (next == '\'') {
            // \'hh: one byte in the document's code page.
            const int high = m_pos + 1 < size ? hexValue(m_data[m_pos + 1]) : -1;
            const int low = m_pos + 2 < size ? hexValue(m_data[m_pos + 2]) : -1;
            m_pos = qMin(m_pos + 3, size);
            m_groupStart = false;
            if (high >= 0 && low >= 0)
                emitByte(char(high * 16 + low));
            continue;
        }
        if (!((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'))) {
            ++m_pos;
            flushBytes();
            controlSymbol(next);
            if (next != '*')
                m_groupStart = false;
            continue;
        }
        // A control word: letters, an optional signed number, an optional space.
        const qsizetype start = m_pos;
        while (m_pos < size && ((m_data[m_pos] >= 'a' && m_data[m_pos] <= 'z') ||
                                (m_data[m_pos] >= 'A' && m_data[m_pos] <= 'Z')))
            ++m_pos;
        const QByteArrayView word =
            QByteArrayView(m_data).sliced(start, qMin<qsizetype>(m_pos - start, MaxWordLength));
        bool negative = false;
        if (m_pos < size && m_data[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        qint64 value = 0;
        int digits = 0;
        while (m_pos < size && m_data[m_pos] >= '0' && m_data[m_pos] <= '9') {
            if (digits++ < MaxDigits)
                value = value * 10 + (m_data[m_pos] - '0');
            ++m_pos;
        }
        value = std::clamp<qint64>(negative ? -value : value, -2147483647, 2147483647);
        if (m_pos < size && m_data[m_pos] == ' ')
            ++m_pos;
        flushBytes();
        if (word == "bin") {
            // Binary data: skipped whole, however large it claims to be.
            m_pos += std::clamp<qint64>(value, 0, size - m_pos);
            m_groupStart = false;
            continue;
        }
        controlWord(word, digits > 0, int(value));
        m_groupStart = false;
    }
    flushText();
    return m_text;
}

// Lone surrogates (from \u escapes that do not pair up) become U+FFFD.
void repairSurrogates(RichText &text)
{
    for (RichTextRun &run : text.runs) {
        QString &s = run.text;
        for (qsizetype k = 0; k < s.size(); ++k) {
            if (s[k].isHighSurrogate() && k + 1 < s.size() && s[k + 1].isLowSurrogate())
                ++k;
            else if (s[k].isSurrogate())
                s[k] = QChar::ReplacementCharacter;
        }
    }
}
} // namespace

std::optional<RichText> ReadRtf(const QByteArray &bytes, QString *error)
{
    qsizetype start = 0;
    while (start < bytes.size() && QChar::isSpace(uchar(bytes[start])))
        ++start;
    if (bytes.mid(start, 5) != "{\\rtf") {
        if (error)
            *error = QStringLiteral("The file is not a Rich Text Format document.");
        return std::nullopt;
    }
    const QByteArray body = bytes.mid(start + 1);
    RichText text = Reader(body).read();
    repairSurrogates(text);
    // A \par that closes the last paragraph starts no new one.
    if (!text.runs.isEmpty() && text.runs.last().text.endsWith(QLatin1Char('\n'))) {
        text.runs.last().text.chop(1);
        if (text.runs.last().text.isEmpty())
            text.runs.removeLast();
    }
    return text;
}

} // namespace tiradex
