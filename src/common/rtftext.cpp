#include "common/rtftext.h"

#include <QSet>

#include <algorithm>
#include <optional>

#include <vector>

namespace {

// Windows-1252 characters 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar fromCp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(cp1252High[byte - 0x80]);
    return QChar(byte);
}

// Groups whose content is never text shown to the reader.
bool isHiddenDestination(const QByteArray& word)
{
    static const QSet<QByteArray> hidden{
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "listtable",
        "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping",
        "latentstyles", "datastore", "filetbl", "revtbl", "pgdsctbl", "annotation", "bkmkstart",
        "bkmkend", "nonshppict", "shppict"};
    return hidden.contains(word);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct GroupState {
    bool hidden = false;
    int fallbackChars = 1; // \ucN: characters that follow a \uN for readers without Unicode
};

class RtfReader {
public:
    explicit RtfReader(const QByteArray& rtf) : m_in(rtf) {}

    std::expected<QString, QString> read()
    {
        m_groups.push_back({});
        while (m_pos < m_in.size()) {
            const char c = m_in.at(m_pos++);
            if (c == '{') {
                m_groups.push_back(m_groups.back());
                m_groupStart = true;
                continue;
            }
            if (c == '}') {
                if (m_groups.size() <= 1)
                    return std::unexpected(QStringLiteral("a group is closed that was never opened"));
                m_groups.pop_back();
                m_groupStart = false;
                continue;
            }
            if (c == '\\') {
                controlSequence();
                m_groupStart = false;
                continue;
            }
            m_groupStart = false;
            if (c == '\r' || c == '\n')
                continue; // line breaks of the file itself are not text
            character(fromCp1252(static_cast<unsigned char>(c)));
        }
        if (m_groups.size() != 1)
            return std::unexpected(QStringLiteral("the document ends inside a group"));
        return m_text;
    }

private:
    GroupState& group() { return m_groups.back(); }

    // A character of the text, unless it is a fallback of the \uN before it.
    void character(QChar c)
    {
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
            return;
        }
        if (!group().hidden)
            m_text.append(c);
    }

    void controlSequence()
    {
        if (m_pos >= m_in.size())
            return;
        const char c = m_in.at(m_pos);
        if (!isLetter(c)) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in.at(m_pos)) && m_pos - start < 32)
            ++m_pos;
        const QByteArray word = m_in.mid(start, m_pos - start);
        bool hasNumber = false;
        long long number = 0;
        bool negative = false;
        if (m_pos < m_in.size() && m_in.at(m_pos) == '-') {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && m_in.at(m_pos) >= '0' && m_in.at(m_pos) <= '9') {
            hasNumber = true;
            if (number < 1'000'000'000)
                number = number * 10 + (m_in.at(m_pos) - '0');
            ++m_pos;
        }
        if (negative)
            number = -number;
        if (m_pos < m_in.size() && m_in.at(m_pos) == ' ')
            ++m_pos; // the blank that ends a control word belongs to it
        controlWord(word, hasNumber ? std::optional<long long>(number) : std::nullopt);
    }

    void controlSymbol(char c)
    {
        switch (c) {
        case '\'': {
            const int high = m_pos < m_in.size() ? hexDigit(m_in.at(m_pos)) : -1;
            const int low = m_pos + 1 < m_in.size() ? hexDigit(m_in.at(m_pos + 1)) : -1;
            if (high < 0 || low < 0)
                return; // a broken escape shows nothing
            m_pos += 2;
            character(fromCp1252(static_cast<unsigned char>(high * 16 + low)));
            return;
        }
        case '*':
            group().hidden = true;
            return;
        case '~':
            character(QLatin1Char(' '));
            return;
        case '_':
            character(QLatin1Char('-'));
            return;
        case '\r':
        case '\n':
            character(QLatin1Char('\n'));
            return;
        case '{':
        case '}':
        case '\\':
            character(QLatin1Char(c));
            return;
        default:
            // \- (optional hyphen), \| and \: (index marks) show nothing, but
            // each counts as one fallback character.
            if (m_fallbackToSkip > 0)
                --m_fallbackToSkip;
            return;
        }
    }

    void controlWord(const QByteArray& word, std::optional<long long> number)
    {
        if (m_groupStart && isHiddenDestination(word)) {
            group().hidden = true;
            return;
        }
        if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row") {
            character(QLatin1Char('\n'));
        } else if (word == "tab" || word == "cell") {
            character(QLatin1Char('\t'));
        } else if (word == "u" && number) {
            long long code = *number;
            if (code < 0)
                code += 65536; // written as a signed 16-bit number
            m_fallbackToSkip = 0;
            if (code >= 0 && code <= 0xFFFF && !group().hidden)
                m_text.append(QChar(static_cast<char16_t>(code)));
            m_fallbackToSkip = group().fallbackChars;
            return;
        } else if (word == "uc" && number) {
            group().fallbackChars = static_cast<int>(std::clamp<long long>(*number, 0, 16));
        } else if (word == "bin" && number && *number > 0) {
            m_pos = std::min<qsizetype>(m_in.size(), m_pos + static_cast<qsizetype>(*number));
        } else if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip; // a formatting word standing as a fallback character
        }
    }

    const QByteArray& m_in;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_groups;
    bool m_groupStart = false;
    int m_fallbackToSkip = 0;
    QString m_text;
};

} // namespace

bool LooksLikeRtf(const QByteArray& bytes)
{
    return bytes.trimmed().startsWith("{\\rtf");
}

std::expected<QString, QString> RtfToText(const QByteArray& rtf)
{
    if (!LooksLikeRtf(rtf))
        return std::unexpected(QStringLiteral("it is not a rich-text document"));
    return RtfReader(rtf).read();
}
