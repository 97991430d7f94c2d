#include "settings/settingsfile.h"

#include "files/trustedfiles.h"
#include "settings/cp1252.h"

#include <QFile>
#include <QFileInfo>

#include <limits>
#include <tuple>

namespace lumitakt {

namespace {

// Reads the values of the file one after the other. Blanks before a value
// are skipped; a text ends at a comma or the end of its line, or, when it
// begins with a double quote, at the next double quote; a number ends at a
// blank, a comma or the end of the line, and the blanks after it and the
// comma or line end that follows them are skipped.
class ValueReader {
public:
    ValueReader(QStringView text, bool cutShort) : m_text(text), m_cutShort(cutShort) {}

    std::optional<QString> readText()
    {
        skipBlanks();
        if (atEnd())
            return std::nullopt;
        if (current() == u'"') {
            const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
            if (close < 0) {
                m_pos = m_text.size(); // the value runs into the end of the file
                return std::nullopt;
            }
            QString value = m_text.mid(m_pos + 1, close - m_pos - 1).toString();
            m_pos = close + 1;
            // Whatever stands between the closing quote and the delimiter is dropped.
            while (!atEnd() && current() != u',' && !atLineEnd())
                ++m_pos;
            if (!endValue())
                return std::nullopt;
            return value;
        }
        const qsizetype start = m_pos;
        while (!atEnd() && current() != u',' && !atLineEnd())
            ++m_pos;
        QString value = m_text.mid(start, m_pos - start).toString();
        if (!endValue())
            return std::nullopt;
        return value;
    }

    template <typename Int>
    std::optional<Int> readNumber()
    {
        skipBlanks();
        if (atEnd())
            return std::nullopt;
        const qsizetype start = m_pos;
        while (!atEnd() && current() != u' ' && current() != u',' && !atLineEnd())
            ++m_pos;
        const QStringView field = m_text.mid(start, m_pos - start);
        const bool cut = atEnd() && m_cutShort;
        skipBlanks();
        if (!atEnd() && current() == u',')
            ++m_pos;
        else
            skipLineEnd();
        if (cut)
            return std::nullopt;
        return parseNumber<Int>(field);
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar current() const { return m_text[m_pos]; }
    bool atLineEnd() const { return current() == u'\r' || current() == u'\n'; }
    void skipBlanks()
    {
        while (!atEnd() && current() == u' ')
            ++m_pos;
    }
    // CR LF, or a lone LF or CR, ends a line.
    void skipLineEnd()
    {
        if (!atEnd() && current() == u'\r')
            ++m_pos;
        if (!atEnd() && current() == u'\n')
            ++m_pos;
    }
    // Consumes the comma or line end after a text. A value that ran into a
    // read limit rather than the true end of the file is not taken.
    bool endValue()
    {
        if (atEnd())
            return !m_cutShort;
        if (current() == u',')
            ++m_pos;
        else
            skipLineEnd();
        return true;
    }

    // A decimal integer with an optional sign; anything else, or a value out
    // of the type's range, is no reading.
    template <typename Int>
    static std::optional<Int> parseNumber(QStringView field)
    {
        bool negative = false;
        if (!field.isEmpty() && (field.front() == u'-' || field.front() == u'+')) {
            negative = field.front() == u'-';
            field = field.mid(1);
        }
        if (field.isEmpty())
            return std::nullopt;
        const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<Int>::min())
                                            : static_cast<std::int64_t>(std::numeric_limits<Int>::max());
        std::int64_t value = 0;
        for (const QChar c : field) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + (c.unicode() - u'0');
            if (value > limit)
                return std::nullopt;
        }
        return static_cast<Int>(negative ? -value : value);
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    bool m_cutShort;
};

SettingsRead parse(QByteArrayView bytes, bool cutShort)
{
    // A byte-order mark left by an editor that saved the file as UTF-8.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const QString text = fromCp1252(bytes);
    ValueReader reader(text, cutShort);
    SettingsRead read;
    read.look = reader.readText();
    read.place.left = reader.readNumber<std::int32_t>();
    read.place.top = reader.readNumber<std::int32_t>();
    read.timeServer = reader.readText();
    read.signalMode = reader.readNumber<std::int16_t>();
    return read;
}

bool needsQuotes(QStringView value)
{
    return value.startsWith(u' ') || value.startsWith(u'"') || value.contains(u',') || value.contains(u'\r')
           || value.contains(u'\n');
}

// The characters a UTF-8 byte-order mark decodes to. At the very start of
// the file the reader would take them for one and drop them; a blank in
// front, which the reader skips, keeps them.
constexpr char16_t kMarkAsCp1252[] = u"\u00EF\u00BB\u00BF";

// A text goes out as it is where it reads back unchanged. Otherwise (a
// leading blank, a comma, a line break, a leading quote) it is written in
// double quotes, which the reader takes off again; a double quote inside
// such a value cannot be kept and is left out.
QByteArray textLine(const QString &value, bool startsFile = false)
{
    if (!needsQuotes(value)) {
        const bool lookalike = startsFile && value.startsWith(QStringView(kMarkAsCp1252));
        return (lookalike ? QByteArray(" ") : QByteArray()) + toCp1252(value);
    }
    QString inner = value;
    inner.remove(u'"');
    return '"' + toCp1252(inner) + '"';
}

QByteArray numberLine(std::int64_t value)
{
    return (value < 0 ? QByteArray() : QByteArray(" ")) + QByteArray::number(value) + ' ';
}

// A value read goes over to the setting; the place's twips axis by axis.
template <typename T>
void take(T &value, const std::optional<T> &read)
{
    if (read)
        value = *read;
}

void take(QPoint &twips, const PlaceRead &read)
{
    if (read.left)
        twips.setX(*read.left);
    if (read.top)
        twips.setY(*read.top);
}

} // namespace

void applyRead(const SettingsRead &read, ClockSettings &settings)
{
    std::apply([&read](auto &...value) { std::apply([&](const auto &...got) { (take(value, got), ...); }, read.fields()); },
               settings.fields());
}

SettingsRead parseSettings(QByteArrayView bytes)
{
    if (bytes.size() > kMaxSettingsBytes)
        return parse(bytes.first(kMaxSettingsBytes), true);
    return parse(bytes, false);
}

SettingsRead readSettingsFile(const QString &path, QString *why)
{
    // Only a normal file: not a folder, a device or a pipe that never ends,
    // nor one reached through a link another user could have made.
    QFile file(path);
    if (!openForReading(file, Reading::AnyOwner, why))
        return {};
    const QByteArray bytes = file.read(kMaxSettingsBytes + 1);
    return parseSettings(bytes);
}

QByteArray formatSettings(const ClockSettings &settings)
{
    static constexpr char kLineEnd[] = "\r\n";
    return textLine(settings.look, true) + kLineEnd + numberLine(settings.place.x()) + kLineEnd + numberLine(settings.place.y())
           + kLineEnd + textLine(settings.timeServer) + kLineEnd + numberLine(settings.signalMode) + kLineEnd;
}

bool writeSettingsFile(const QString &path, const ClockSettings &settings, Folder folder, QString *why)
{
    const auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (const QString refusal = settingsWriteRefusal(path); !refusal.isEmpty())
        return fail(refusal);
    // The check above allows a missing folder only where this process may make it.
    const QString folderPath = QFileInfo(path).absolutePath();
    if (QString notMade; folder == Folder::MadeIfMissing && !QFileInfo::exists(folderPath) && !makeFolder(folderPath, &notMade))
        return fail(notMade);
    if (!replaceFile(path, formatSettings(settings)))
        return fail(QStringLiteral("the file could not be written whole and put in place"));
    return true;
}

QString settingsWriteRefusal(const QString &path)
{
    return writeRefusal(path);
}

} // namespace lumitakt
