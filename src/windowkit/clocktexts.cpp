#include "windowkit/clocktexts.h"

#include <QStringList>

#include <cmath>

namespace lumitakt {

int twipsToPixels(std::int64_t twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

namespace {

void putTwoDigits(QChar *out, int value)
{
    out[0] = QChar(u'0' + value / 10 % 10);
    out[1] = QChar(u'0' + value % 10);
}

int twoDigitNumber(QStringView text, qsizetype at)
{
    if (text.size() < at + 2)
        return 0;
    const auto digit = [](QChar c) { return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0; };
    return digit(text[at]) * 10 + digit(text[at + 1]);
}

QString twoDigits(int value)
{
    QString text(2, Qt::Uninitialized);
    putTwoDigits(text.data(), value);
    return text;
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

TimeSnapshot TimeSnapshot::of(const QDateTime &now)
{
    const QTime time = now.time();
    TimeSnapshot snapshot;
    snapshot.date = now.date();
    snapshot.minute = time.minute();
    snapshot.second = time.second();
    snapshot.timeText = QString(8, Qt::Uninitialized);
    QChar *out = snapshot.timeText.data();
    putTwoDigits(out, time.hour());
    out[2] = u':';
    putTwoDigits(out + 3, time.minute());
    out[5] = u':';
    putTwoDigits(out + 6, time.second());
    return snapshot;
}

int minuteOfDay(QStringView timeText)
{
    return twoDigitNumber(timeText, 0) * 60 + twoDigitNumber(timeText, 3);
}

QString normalCaption(const QDate &date, const QLocale &locale)
{
    return QStringLiteral("  ") + twoDigits(date.day()) + QStringLiteral(". ") + locale.monthName(date.month(), QLocale::LongFormat) + u' '
           + QString::number(date.year()).rightJustified(4, u'0');
}

QString spokenClockName(const QDate &date, QStringView timeText, const QLocale &locale)
{
    return timeText.left(5).toString() + QStringLiteral(", ") + locale.dayName(date.dayOfWeek(), QLocale::LongFormat)
           + QStringLiteral(", ") + QString::number(date.day()) + QStringLiteral(". ")
           + locale.monthName(date.month(), QLocale::LongFormat) + u' ' + QString::number(date.year());
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

QString minimisedCaption(const QDate &date, QStringView timeText, const QLocale &locale)
{
    return QStringLiteral("  ") + twoDigits(date.day()) + QStringLiteral(". ") + shortMonthName(locale, date.month()) + QStringLiteral(". ")
           + twoDigits(date.year() % 100) + QStringLiteral("   ") + timeText.left(5).toString();
}

QPoint keepOnScreen(QPoint savedTwips, QSize screenTwips, QSize windowTwips)
{
    QPoint p = savedTwips;
    if (p.x() < 0 || p.x() > screenTwips.width() - windowTwips.width())
        p.setX(0);
    if (p.y() < 0 || p.y() > screenTwips.height() - windowTwips.height())
        p.setY(0);
    return p;
}

QPoint keepOnScreens(QPoint savedTwips, const QList<QRect> &screensTwips, QSize windowTwips)
{
    if (screensTwips.isEmpty())
        return keepOnScreen(savedTwips, QSize(), windowTwips);
    const auto within = [](std::int64_t value, std::int64_t start, std::int64_t length, std::int64_t size) {
        return value >= start && value <= start + length - size;
    };
    for (const QRect &screen : screensTwips)
        if (within(savedTwips.x(), screen.x(), screen.width(), windowTwips.width())
            && within(savedTwips.y(), screen.y(), screen.height(), windowTwips.height()))
            return savedTwips;
    return keepOnScreen(savedTwips, screensTwips.first().size(), windowTwips);
}

} // namespace lumitakt
