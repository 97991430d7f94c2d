#include "model/clocktexts.h"

#include <QDateTime>
#include <QStringList>

namespace lumitakt {

namespace {

void putTwoDigits(QChar *out, int value)
{
    out[0] = QChar(u'0' + value / 10 % 10);
    out[1] = QChar(u'0' + value % 10);
}

// A month abbreviation that ends in a dot of its own ("дек.") would give a
// doubled dot before the caption's literal one.
QString shortMonthName(const QLocale &locale, int month)
{
    QString name = locale.standaloneMonthName(month, QLocale::ShortFormat);
    if (name.endsWith(u'.'))
        name.chop(1);
    return name;
}

} // namespace

QString twoDigits(int value)
{
    QString text(2, Qt::Uninitialized);
    putTwoDigits(text.data(), value);
    return text;
}

QString hoursMinutes(QTime time)
{
    QString text(5, Qt::Uninitialized);
    QChar *out = text.data();
    putTwoDigits(out, time.hour());
    out[2] = u':';
    putTwoDigits(out + 3, time.minute());
    return text;
}

QString hoursMinutesSeconds(QTime time)
{
    return hoursMinutes(time) + u':' + twoDigits(time.second());
}

std::optional<int> parseTwoDigits(QStringView text, int maximum)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > maximum)
        return std::nullopt;
    return value;
}

QString normalCaption(const QDate &date, const QLocale &locale)
{
    return QStringLiteral("  ") + twoDigits(date.day()) + QStringLiteral(". ") + locale.monthName(date.month(), QLocale::LongFormat) + u' '
           + QString::number(date.year()).rightJustified(4, u'0');
}

QString minimisedCaption(const QDate &date, QTime time, const QLocale &locale)
{
    return QStringLiteral("  ") + twoDigits(date.day()) + QStringLiteral(". ") + shortMonthName(locale, date.month()) + QStringLiteral(". ")
           + twoDigits(date.year() % 100) + QStringLiteral("   ") + hoursMinutes(time);
}

QString alarmCaption(const QDateTime &now, const QLocale &locale)
{
    return QStringLiteral(" ") + locale.toString(now.date(), QLocale::LongFormat) + QStringLiteral("     ") + hoursMinutesSeconds(now.time());
}

QString spokenClockName(const QDate &date, QTime time, const QLocale &locale)
{
    return hoursMinutes(time) + QStringLiteral(", ") + locale.dayName(date.dayOfWeek(), QLocale::LongFormat) + QStringLiteral(", ")
           + QString::number(date.day()) + QStringLiteral(". ") + locale.monthName(date.month(), QLocale::LongFormat) + u' '
           + QString::number(date.year());
}

QString spokenClockDescription(const SpokenLabels &labels)
{
    QStringList parts;
    if (labels.appointmentSet)
        parts << QStringLiteral("Termin um ") + labels.appointmentTime + (labels.note.isEmpty() ? QString() : QStringLiteral(": ") + labels.note);
    if (labels.stopwatchShown)
        parts << QStringLiteral("Stopuhr: ") + QString::number(labels.stopwatchMinutes)
                     + (labels.stopwatchMinutes == 1 ? QStringLiteral(" Minute") : QStringLiteral(" Minuten"))
                     + (labels.stopwatchHalted ? QStringLiteral(", angehalten") : QString());
    return parts.join(QStringLiteral(". "));
}

} // namespace lumitakt
